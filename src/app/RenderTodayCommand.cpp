#include "app/RenderTodayCommand.h"

#include "app/Services.h"
#include "core/AccountKey.h"
#include "design/Fonts.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"
#include "notch/NotchModel.h"
#include "ui/TodayModel.h"
#include "ui/TodayRender.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QTextStream>

namespace {

QString valueAfter(const QStringList &args, const QString &name)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 ? args.value(at + 1) : QString();
}

// An account's id in any case, or a platform's raw value for its first account.
QString tabId(const QString &given, const QList<Account> &accounts)
{
    if (given.isEmpty())
        return QStringLiteral("all");
    if (const QUuid id = QUuid::fromString(given); !id.isNull())
        return accountKey(id);
    for (const Account &a : accounts)
        if (Platforms::rawValue(a.platform) == given)
            return accountKey(a.id);
    return given;
}

}

namespace RenderTodayCommand {

bool requested(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--render-today"));
}

int run(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvanta"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("vexalon.app"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvanta"));
    const QStringList args = QCoreApplication::arguments();
    const QString path = valueAfter(args, QStringLiteral("--render-today"));
    QTextStream err(stderr);
    if (path.isEmpty() || path.startsWith(u"--")) {
        err << "--render-today needs the path of the PNG to write." << Qt::endl;
        return 2;
    }
    Fonts::registerAll();
    Services services{Endpoints(), StoreAccess::ReadOnly};
    EffectSoundOutput silent; // nothing plays while rendering
    ChimePlayer chime(services.settings, silent);
    NotchModel notch(services.settings, services.clock, chime);
    TodayRender::loadStored(notch, services.events, services.accounts, services.clock.now());
    notch.setTab(tabId(valueAfter(args, QStringLiteral("--today-tab")), notch.accounts()));
    notch.setShowTop(args.contains(QStringLiteral("--show-top")));
    TodayModel model(notch, services.clock);
    QQmlEngine engine;
    const QString problem = TodayRender::toFile(engine, model, path);
    if (problem.isEmpty())
        return 0;
    err << problem << Qt::endl;
    return 1;
}

}
