#include "app/CommandLine.h"
#include "app/FramerServices.h"
#include "app/Headless.h"
#include "app/RenderTodayCommand.h"
#include "app/Services.h"
#include "app/Usage.h"
#include "share/CardCommand.h"
#include "shell/DataLock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// Reads KORVANTA_ENDPOINTS; refuses anything but loopback origins.
std::optional<Endpoints> endpointsFromEnvironment()
{
    const QString text = qEnvironmentVariable("KORVANTA_ENDPOINTS");
    if (text.trimmed().isEmpty())
        return Endpoints();
    auto parsed = Endpoints::parse(text);
    QTextStream err(stderr);
    if (auto *why = std::get_if<QString>(&parsed)) {
        err << *why << Qt::endl;
        return std::nullopt;
    }
    err << "Warning: KORVANTA_ENDPOINTS is set, so platform requests go to local test servers."
        << Qt::endl;
    return std::get<Endpoints>(parsed);
}

QString readStandardInput()
{
    QTextStream in(stdin);
    return in.readAll();
}

// What a command needs from the platform before the application exists.
enum class Needs { Console, Offscreen, Display };

Needs needsOf(const CommandLine &line)
{
    if (line.has(QStringLiteral("--connect")))
        return line.value(QStringLiteral("--connect")) == u"framer" ? Needs::Display : Needs::Console;
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

// The web engine reads these when it starts, on first use.
void prepareWebEngine(const FramerWebRoutes &routes)
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            routes.chromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
    // Chromium's sandbox refuses to run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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

QCoro::Task<int> dispatch(Services &services, FramerWebRoutes routes, CommandLine line)
{
    if (line.has(QStringLiteral("--probe")))
        co_return co_await Headless::probe(services.sources, services.context());
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
    if (line.has(QStringLiteral("--connect"))) {
        const QString platform = connect;
        co_return co_await Headless::connect(services, platform, readStandardInput());
    }
    if (line.has(QStringLiteral("--accounts")))
        co_return Headless::accounts(services);
    if (line.has(QStringLiteral("--check"))) {
        std::unique_ptr<FramerServices> framer;
        if (FramerLogin(services.settings).completed())
            framer = std::make_unique<FramerServices>(services, std::move(routes));
        co_return co_await Headless::check(services, framer.get(),
                                           line.has(QStringLiteral("--moments")));
    }
    co_return Headless::today(services);
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

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvanta"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("vexalon.app"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvanta"));
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
        prepareWebEngine(routes);
    const auto app = makeApplication(needs, argc, argv);

    Services services(std::move(*endpoints));
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
