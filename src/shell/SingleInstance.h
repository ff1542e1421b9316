#pragma once

#include <QCoroTask>
#include <QObject>
#include <QStringList>

// One running Korvanta per user session: the first one owns a name on the
// session bus; a later one hands its switches to it and ends.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.vexalon.korvanta.Instance")
public:
    static constexpr const char *serviceName = "app.vexalon.korvanta";

    explicit SingleInstance(QObject *parent = nullptr);

    // True when this process now owns the name. Without a session bus there
    // is nobody to hand over to, so this process runs.
    bool claim();
    // Sends the switches to the running Korvanta; true when it took them.
    static QCoro::Task<bool> handOver(QStringList switches);

public Q_SLOTS:
    Q_SCRIPTABLE void HandOver(const QStringList &switches);

Q_SIGNALS:
    void switchesReceived(const QStringList &switches);
};
