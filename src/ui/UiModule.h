#pragma once

#include <QUrl>

class QQmlEngine;

// The views of this library live in the QML module "Korvanta.Ui", linked in
// statically: its types are registered once per process and its files are
// found under the engine's "qrc:/qt/qml" import path.
namespace UiModule {
void prepare(QQmlEngine &engine);
// The address of one of the module's views, e.g. "SettingsWindow".
QUrl url(const QString &view);
}
