#include "app/FramerServices.h"
#include "app/Headless.h"
#include "app/Services.h"
#include "shell/DataLock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
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

Needs needsOf(const QStringList &args)
{
    const qsizetype connectAt = args.indexOf(u"--connect");
    if (connectAt >= 0)
        return args.value(connectAt + 1) == u"framer" ? Needs::Display : Needs::Console;
    // A headless check reads Framer in an off-screen page, once signed in.
    QSettings settings;
    if (args.contains(u"--check") && !args.contains(u"--probe")
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

QCoro::Task<int> dispatch(Services &services, FramerWebRoutes routes, QStringList args)
{
    if (args.contains(u"--probe"))
        co_return co_await Headless::probe(services.sources, services.context());
    DataLock lock(QFileInfo(services.events.path()).absolutePath());
    if (!lock.acquire()) {
        QTextStream(stderr) << DataLock::busySentence() << Qt::endl;
        co_return 3;
    }
    const qsizetype connectAt = args.indexOf(u"--connect");
    if (connectAt >= 0 && args.value(connectAt + 1) == u"framer") {
        FramerServices framer(services, std::move(routes));
        co_return co_await Headless::connectFramer(framer);
    }
    if (connectAt >= 0) {
        const QString platform = args.value(connectAt + 1);
        co_return co_await Headless::connect(services, platform, readStandardInput());
    }
    if (args.contains(u"--accounts"))
        co_return Headless::accounts(services);
    if (args.contains(u"--check")) {
        std::unique_ptr<FramerServices> framer;
        if (FramerLogin(services.settings).completed())
            framer = std::make_unique<FramerServices>(services, std::move(routes));
        co_return co_await Headless::check(services, framer.get(), args.contains(u"--moments"));
    }
    co_return Headless::today(services);
}

// Any failure that escapes a command still ends the process with a sentence.
QCoro::Task<int> run(Services &services, FramerWebRoutes routes, QStringList args)
{
    try {
        co_return co_await dispatch(services, std::move(routes), std::move(args));
    } catch (const std::exception &e) {
        QTextStream(stderr) << QString::fromUtf8(e.what()) << Qt::endl;
    }
    co_return 1;
}

}

int main(int argc, char **argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvanta"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("vexalon.app"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvanta"));

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    auto endpoints = endpointsFromEnvironment();
    if (!endpoints)
        return 2;
    const Needs needs = needsOf(args);
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
        run(services, routes, QCoreApplication::arguments()).then([&](int code) {
            status = code;
            QCoreApplication::exit(code);
        });
    });
    app->exec();
    return status;
}
