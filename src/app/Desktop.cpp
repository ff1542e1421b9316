#include "app/Desktop.h"

#include "app/DisplayCheck.h"
#include "app/EnvironmentEndpoints.h"
#include "app/Services.h"
#include "app/Switches.h"
#include "app/TrayArt.h"
#include "design/Fonts.h"
#include "framer/Watcher.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"
#include "notch/NotchController.h"
#include "notch/NotchModel.h"
#include "notch/NotchQml.h"
#include "shell/DataLock.h"
#include "shell/Shell.h"
#include "shell/SingleInstance.h"
#include "shell/Updates.h"
#include "shell/WindowShortcuts.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <QtWebEngineQuick>
#include <unistd.h>

namespace {

// What the running app owns beyond the headless services, built in the
// order of the launch sequence.
struct DesktopParts {
    explicit DesktopParts(Services &services)
        : chime(services.settings, sound), notch(services.settings, services.clock, chime),
          watcher(services.settings),
          updates(services.http, QUrl(QStringLiteral(KORVANTA_UPDATE_FEED)),
                  QCoreApplication::applicationVersion()),
          shell({services.settings, services.clock, services.poller, services.accounts, notch,
                 services.settingsModel, watcher, updates})
    {
    }

    WindowShortcuts shortcuts;
    EffectSoundOutput sound;
    ChimePlayer chime;
    NotchModel notch;
    Watcher watcher;
    Updates updates;
    Shell shell;
};

// A second `korvanta` hands its switches over and ends with the answer.
void handOver(const QStringList &arguments)
{
    SingleInstance::handOver(arguments.mid(1)).then([](bool taken) {
        if (!taken)
            QTextStream(stderr) << "Korvanta is already running but didn't answer. Quit it and "
                                   "try again."
                                << Qt::endl;
        QCoreApplication::exit(taken ? 0 : 1);
    });
}

}

namespace Desktop {

int run(int argc, char **argv, const QStringList &arguments)
{
    if (!chooseDisplayPlatform()) {
        QTextStream(stderr) << Switches::noDisplaySentence() << Qt::endl;
        return 1;
    }
    // The notch's ribs are a web page; the engine must know before the app
    // exists, and its sandbox cannot run as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QtWebEngineQuick::initialize();
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.claim()) {
        QTimer::singleShot(0, &app, [&] { handOver(arguments); });
        return app.exec();
    }
    auto endpoints = endpointsFromEnvironment();
    if (!endpoints)
        return 2;
    Services services(std::move(*endpoints), StoreAccess::ReadWrite);
    DataLock lock(QFileInfo(services.events.path()).absolutePath());
    if (!lock.acquire()) {
        QTextStream(stderr) << DataLock::busySentence() << Qt::endl;
        return 3;
    }
    DesktopParts parts(services);
    Fonts::registerAll();
    registerNotchQml();
    NotchController notch(parts.notch, services.settings, services.clock);
    parts.shell.notchScreen = [&notch] { return std::optional(notch.screenDescription()); };
    services.settingsModel.replaceNotch = [&notch] { notch.place(); };
    QObject::connect(&instance, &SingleInstance::switchesReceived, &parts.shell, &Shell::handOver);
    parts.shell.start(arguments, trayArt());
    return app.exec();
}

}
