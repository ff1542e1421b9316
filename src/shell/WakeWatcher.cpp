#include "shell/WakeWatcher.h"

WakeWatcher::WakeWatcher(QDBusConnection bus, QObject *parent) : QObject(parent)
{
    if (!bus.isConnected())
        return;
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                this, SLOT(prepareForSleep(bool)));
}

void WakeWatcher::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        Q_EMIT woke();
}
