#include <QGuiApplication>
#include <benchmark/benchmark.h>

// Benchmarks that talk to the fake server over loopback need an event loop;
// each one drives it itself, so main only provides the application object
// (a GUI one, for the benchmarks that open windows).
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
