#pragma once

#include <QUrl>

class QQmlEngine;

// The views of this library live in the QML module "Korvanta.Ui", linked in
// statically: its types (and the design module's) are registered once per
// process; its files sit under the engine's built-in resource import path.
namespace UiModule {
void prepare(QQmlEngine &engine);
// The address of one of the module's views, e.g. "SettingsWindow".
QUrl url(const QString &view);
}
