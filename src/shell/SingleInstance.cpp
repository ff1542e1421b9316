#include "shell/SingleInstance.h"

#include <QCoroDBus>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>

namespace {
const QString objectPath = QStringLiteral("/app/vexalon/korvanta");
const QString interfaceName = QStringLiteral("app.vexalon.korvanta.Instance");
}

SingleInstance::SingleInstance(QObject *parent) : QObject(parent)
{
}

bool SingleInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return true;
    const auto reply = bus.interface()->registerService(
        QString::fromLatin1(serviceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return false;
    bus.registerObject(objectPath, interfaceName, this, QDBusConnection::ExportScriptableSlots);
    return true;
}

QCoro::Task<bool> SingleInstance::handOver(QStringList switches)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), objectPath,
                                                       interfaceName, QStringLiteral("HandOver"));
    call << switches;
    const QDBusMessage reply = co_await QDBusConnection::sessionBus().asyncCall(call);
    co_return reply.type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::HandOver(const QStringList &switches)
{
    Q_EMIT switchesReceived(switches);
}
