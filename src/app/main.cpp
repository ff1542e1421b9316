#include "app/CommandLine.h"
#include "app/Headless.h"
#include "app/RenderTodayCommand.h"
#include "app/Services.h"
#include "app/Usage.h"
#include "share/CardCommand.h"
#include "shell/DataLock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

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

QCoro::Task<int> dispatch(Services &services, const CommandLine &line)
{
    if (line.has(QStringLiteral("--probe")))
        co_return co_await Headless::probe(services.sources, services.context());
    DataLock lock(QFileInfo(services.events.path()).absolutePath());
    if (!lock.acquire()) {
        QTextStream(stderr) << DataLock::busySentence() << Qt::endl;
        co_return 3;
    }
    if (line.has(QStringLiteral("--connect"))) {
        const QString platform = line.value(QStringLiteral("--connect"));
        co_return co_await Headless::connect(services, platform, readStandardInput());
    }
    if (line.has(QStringLiteral("--accounts")))
        co_return Headless::accounts(services);
    if (line.has(QStringLiteral("--check")))
        co_return co_await Headless::check(services, line.has(QStringLiteral("--moments")));
    co_return Headless::today(services);
}

// Any failure that escapes a command still ends the process with a sentence.
QCoro::Task<int> run(Services &services, const CommandLine &line)
{
    try {
        co_return co_await dispatch(services, line);
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
    QCoreApplication app(argc, argv);
    nameApplication();

    const CommandLine line(QCoreApplication::arguments().mid(1));
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
    Services services(std::move(*endpoints));
    int status = 0;
    QTimer::singleShot(0, &app, [&] {
        run(services, line).then([&](int code) {
            status = code;
            QCoreApplication::exit(code);
        });
    });
    app.exec();
    return status;
}
