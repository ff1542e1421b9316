#pragma once

#include <QDBusConnection>
#include <QObject>

// Tells when the machine wakes from sleep, from logind's PrepareForSleep
// signal on the system bus. Without logind it never fires and says nothing.
class WakeWatcher : public QObject {
    Q_OBJECT
public:
    explicit WakeWatcher(QDBusConnection bus = QDBusConnection::systemBus(),
                         QObject *parent = nullptr);

Q_SIGNALS:
    void woke();

private Q_SLOTS:
    void prepareForSleep(bool sleeping);
};
