#include "app/Desktop.h"

#include "app/DesktopParts.h"
#include "app/DisplayCheck.h"
#include "app/EnvironmentEndpoints.h"
#include "app/Services.h"
#include "app/Switches.h"
#include "app/WebEngineSetup.h"
#include "framer/FramerWebRoutes.h"
#include "shell/DataLock.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <QtWebEngineQuick>

namespace {

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
    auto endpoints = endpointsFromEnvironment();
    if (!endpoints)
        return 2;
    // The ribs, the share cards and Framer are web pages; the engine reads
    // its set-up before the application exists.
    FramerWebRoutes routes(*endpoints);
    WebEngineSetup::prepare(routes);
    QtWebEngineQuick::initialize();
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.claim()) {
        QTimer::singleShot(0, &app, [&] { handOver(arguments); });
        return app.exec();
    }
    Services services(std::move(*endpoints), StoreAccess::ReadWrite);
    DataLock lock(QFileInfo(services.events.path()).absolutePath());
    if (!lock.acquire()) {
        QTextStream(stderr) << DataLock::busySentence() << Qt::endl;
        return 3;
    }
    DesktopParts parts(services, std::move(routes));
    QObject::connect(&instance, &SingleInstance::switchesReceived, &parts.shell(),
                     &Shell::handOver);
    parts.start(arguments);
    return app.exec();
}

}
