#include "app/CommandLine.h"
#include "app/Desktop.h"
#include "app/EnvironmentEndpoints.h"
#include "app/FramerServices.h"
#include "app/Headless.h"
#include "app/RenderTodayCommand.h"
#include "app/Services.h"
#include "app/SignInCommand.h"
#include "app/Switches.h"
#include "app/Usage.h"
#include "app/WebEngineSetup.h"
#include "share/CardCommand.h"
#include "shell/DataLock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>

namespace {

QString readStandardInput()
{
    QTextStream in(stdin);
    return in.readAll();
}

// What a headless command needs from the platform before the application exists.
enum class Needs { Console, Offscreen, Display };

Needs needsOf(const CommandLine &line)
{
    if (line.has(QStringLiteral("--connect")))
        return line.value(QStringLiteral("--connect")) == u"framer" ? Needs::Display
                                                                    : Needs::Console;
    // A headless check reads Framer in an off-screen page, once signed in.
    QSettings settings;
    if (line.has(QStringLiteral("--check")) && !line.has(QStringLiteral("--probe"))
        && FramerLogin(settings).completed())
        return Needs::Offscreen;
    return Needs::Console;
}

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

std::unique_ptr<QCoreApplication> makeApplication(Needs needs, int &argc, char **argv)
{
    if (needs == Needs::Console)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (needs == Needs::Offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    auto app = std::make_unique<QApplication>(argc, argv);
    // The command ends the run, not the closing of its window.
    QApplication::setQuitOnLastWindowClosed(false);
    return app;
}

// Reading commands take no lock: the running app may own the data folder.
QCoro::Task<int> dispatch(Services &services, FramerWebRoutes routes, CommandLine line)
{
    if (line.has(QStringLiteral("--probe")))
        co_return co_await Headless::probe(services.sources, services.context());
    if (line.has(QStringLiteral("--accounts")))
        co_return Headless::accounts(services);
    if (!line.has(QStringLiteral("--connect")) && !line.has(QStringLiteral("--check")))
        co_return Headless::today(services);
    DataLock lock(QFileInfo(services.events.path()).absolutePath());
    if (!lock.acquire()) {
        QTextStream(stderr) << DataLock::busySentence() << Qt::endl;
        co_return 3;
    }
    const QString connect = line.value(QStringLiteral("--connect"));
    if (line.has(QStringLiteral("--connect")) && connect == u"framer") {
        FramerServices framer(services, std::move(routes));
        co_return co_await Headless::connectFramer(framer);
    }
    if (line.has(QStringLiteral("--connect")))
        co_return co_await Headless::connect(services, connect, readStandardInput());
    std::unique_ptr<FramerServices> framer;
    if (FramerLogin(services.settings).completed())
        framer = std::make_unique<FramerServices>(services, std::move(routes));
    co_return co_await Headless::check(services, framer.get(),
                                       line.has(QStringLiteral("--moments")));
}

// Any failure that escapes a command still ends the process with a sentence.
QCoro::Task<int> run(Services &services, FramerWebRoutes routes, CommandLine line)
{
    try {
        co_return co_await dispatch(services, std::move(routes), std::move(line));
    } catch (const std::exception &e) {
        QTextStream(stderr) << QString::fromUtf8(e.what()) << Qt::endl;
    }
    co_return 1;
}

int runHeadless(int argc, char **argv, const CommandLine &line, const QStringList &given)
{
    auto endpoints = endpointsFromEnvironment();
    if (!endpoints)
        return 2;
    const Needs needs = needsOf(line);
    if (needs == Needs::Display && !hasDisplay()) {
        QTextStream(stderr) << "Connecting Framer opens a sign-in window, which needs a display. "
                               "Run it in your desktop session."
                            << Qt::endl;
        return 1;
    }
    const FramerWebRoutes routes(*endpoints);
    if (needs != Needs::Console)
        WebEngineSetup::prepare(routes);
    const auto app = makeApplication(needs, argc, argv);
    Services services(std::move(*endpoints),
                      Switches::onlyReads(given) ? StoreAccess::ReadOnly : StoreAccess::ReadWrite);
    int status = 0;
    QTimer::singleShot(0, app.get(), [&] {
        run(services, routes, line).then([&](int code) {
            status = code;
            QCoreApplication::exit(code);
        });
    });
    app->exec();
    return status;
}

// --export-card draws with the web engine, which needs a GUI application
// made after the engine is set up.
int exportCard(int argc, char **argv)
{
    CardCommand::prepare();
    QGuiApplication app(argc, argv);
    nameApplication();
    return CardCommand::run(QCoreApplication::arguments());
}

}

int main(int argc, char **argv)
{
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    if (CardCommand::requested(argc, argv))
        return exportCard(argc, argv);
    if (RenderTodayCommand::requested(given))
        return RenderTodayCommand::run(argc, argv);
    if (SignInCommand::requested(given))
        return SignInCommand::run(argc, argv);
    nameApplication();

    const CommandLine line(given.mid(1));
    if (line.has(QStringLiteral("--help"))) {
        QTextStream(stdout) << Usage::text();
        return 0;
    }
    if (!line.error().isEmpty()) {
        QTextStream(stderr) << line.error() << "\n\n" << Usage::text();
        return 2;
    }
    if (Switches::headless(given))
        return runHeadless(argc, argv, line, given);
    return Desktop::run(argc, argv, given);
}
