#pragma once

#include "notch/NotchModel.h"
#include "notch/RestStyle.h"

#include <QtQml/qqmlregistration.h>

// The model's enumerations for QML: NotchModel.Moment, RestStyle.Dot.
struct NotchModelForeign {
    Q_GADGET
    QML_FOREIGN(NotchModel)
    QML_NAMED_ELEMENT(NotchModel)
    QML_UNCREATABLE("Owned by the shell")
};

namespace RestStyleForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(RestStyles)
QML_NAMED_ELEMENT(RestStyle)
}
