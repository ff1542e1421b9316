#pragma once

#include <QStringList>

// The desktop app: a tray icon and the notch, with no taskbar entry and no
// main window. Returns the process's exit status.
namespace Desktop {
int run(int argc, char **argv, const QStringList &arguments);
}
