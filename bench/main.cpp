#include <QCoreApplication>
#include <benchmark/benchmark.h>

// Benchmarks that talk to the fake server over loopback need an event loop;
// each one drives it itself, so main only provides the application object.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
