#include <QGuiApplication>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <benchmark/benchmark.h>

// Benchmarks that talk to the fake server over loopback need an event loop;
// each one drives it itself, so main only provides the application object.
// The island's benchmarks render offscreen unless a display is chosen.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QtWebEngineQuick::initialize();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
