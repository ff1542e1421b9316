#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The three button looks: `ButtonKind.Primary`, `.Light`, `.Ghost` in QML.
namespace ButtonKind {
Q_NAMESPACE
QML_ELEMENT

enum Kind { Primary, Light, Ghost };
Q_ENUM_NS(Kind)
}
