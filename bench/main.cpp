#include <QApplication>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <benchmark/benchmark.h>

// Benchmarks that talk to the fake server over loopback need an event loop;
// each one drives it itself, so main only provides the application object.
// The island's and Framer's benchmarks run a web engine, which needs a GUI
// application (off-screen unless a display is chosen) and, as root, no sandbox.
int main(int argc, char **argv)
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QtWebEngineQuick::initialize();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
