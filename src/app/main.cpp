#include "app/Desktop.h"
#include "app/EnvironmentEndpoints.h"
#include "app/Headless.h"
#include "app/Services.h"
#include "app/Switches.h"
#include "shell/DataLock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

namespace {

QString readStandardInput()
{
    QTextStream in(stdin);
    return in.readAll();
}

// Reading commands take no lock: the running app may own the data folder.
QCoro::Task<int> dispatch(Services &services, QStringList args)
{
    if (args.contains(u"--probe"))
        co_return co_await Headless::probe(services.sources, services.context());
    if (args.contains(u"--accounts"))
        co_return Headless::accounts(services);
    if (Switches::onlyReads(args))
        co_return Headless::today(services);
    DataLock lock(QFileInfo(services.events.path()).absolutePath());
    if (!lock.acquire()) {
        QTextStream(stderr) << DataLock::busySentence() << Qt::endl;
        co_return 3;
    }
    const qsizetype connectAt = args.indexOf(u"--connect");
    if (connectAt >= 0) {
        const QString platform = args.value(connectAt + 1);
        co_return co_await Headless::connect(services, platform, readStandardInput());
    }
    co_return co_await Headless::check(services, args.contains(u"--moments"));
}

// Any failure that escapes a command still ends the process with a sentence.
QCoro::Task<int> run(Services &services, QStringList args)
{
    try {
        co_return co_await dispatch(services, std::move(args));
    } catch (const std::exception &e) {
        QTextStream(stderr) << QString::fromUtf8(e.what()) << Qt::endl;
    }
    co_return 1;
}

int runHeadless(int argc, char **argv, const QStringList &arguments)
{
    QCoreApplication app(argc, argv);
    nameApplication();
    auto endpoints = endpointsFromEnvironment();
    if (!endpoints)
        return 2;
    Services services(std::move(*endpoints),
                      Switches::onlyReads(arguments) ? StoreAccess::ReadOnly
                                                     : StoreAccess::ReadWrite);
    int status = 0;
    QTimer::singleShot(0, &app, [&] {
        run(services, QCoreApplication::arguments()).then([&](int code) {
            status = code;
            QCoreApplication::exit(code);
        });
    });
    app.exec();
    return status;
}

}

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (Switches::headless(arguments))
        return runHeadless(argc, argv, arguments);
    return Desktop::run(argc, argv, arguments);
}
