#include "app/DisplayCheck.h"

#include <QByteArray>
#include <QtGlobal>

bool chooseDisplayPlatform()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!chosen.isEmpty())
        return !chosen.startsWith("xcb") || x11;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || x11) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return x11;
    }
    return false;
}
