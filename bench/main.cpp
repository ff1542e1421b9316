#include <QApplication>
#include <benchmark/benchmark.h>

// Benchmarks that talk to the fake server over loopback need an event loop;
// each one drives it itself, so main only provides the application object.
// The Framer benchmarks run a web engine, which needs a GUI application
// (off-screen is fine) and, as root, no sandbox.
int main(int argc, char **argv)
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
