#include "../tests/notch/ManualAnimationDriver.h"
#include "../tests/support/IslandSetup.h"
#include "ProcessMemory.h"
#include "design/Fonts.h"
#include "notch/NotchQml.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QQuickItem>
#include <QQuickView>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

// What the island costs on screen: frame times of a moment's growth on the
// software renderer, frames and CPU at rest, and memory with and without the
// ribs page.

namespace {

using namespace std::chrono_literals;

struct Island {
    IslandSetup setup;
    QQuickView window;
    int frames = 0;

    Island()
    {
        registerNotchQml();
        Fonts::registerAll();
        window.setColor(Qt::transparent);
        window.setInitialProperties({{"model", QVariant::fromValue<QObject *>(&setup.model)}});
        window.setSource(QUrl("qrc:/qt-project.org/imports/Korvanta/Notch/IslandView.qml"));
        window.resize(900, 500);
        QObject::connect(&window, &QQuickWindow::afterRendering, [this] { ++frames; });
        window.show();
    }
};

// This process and its web engine helpers: {total PSS in KiB, helper count}.
std::pair<qint64, int> memory()
{
    const qint64 self = QCoreApplication::applicationPid();
    return {ProcessMemory::treePssKiB(self), int(ProcessMemory::descendants(self).size())};
}

// The web engine's processes anywhere below this one, by their --type
// (zygote, renderer, gpu-process, utility).
QMap<QString, int> webProcesses()
{
    QMap<QString, int> found;
    for (const qint64 pid : ProcessMemory::descendants(QCoreApplication::applicationPid())) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        // Helpers rewrite their title: arguments may be joined by spaces.
        for (const QByteArray &arg : cmdline.readAll().replace('\0', ' ').split(' '))
            if (arg.startsWith("--type="))
                ++found[QString::fromUtf8(arg.mid(7))];
    }
    return found;
}

void waitReal(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

// One frame rendered per 16 ms of a moment's grow (spring 0.5 / 0.74), first second.
void BM_MomentGrowFrames(benchmark::State &state)
{
    for (auto _ : state) {
        Island island;
        ManualAnimationDriver driver;
        driver.install();
        island.window.grabWindow();
        island.setup.model.show({Platform::Gumroad, "New sale on Gumroad", "Icon pack", "+$29"});
        std::vector<double> ms;
        for (int i = 0; i < 60; ++i) {
            driver.advance(16);
            QElapsedTimer timer;
            timer.start();
            island.window.grabWindow();
            ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["worst_ms"] = ms.back();
    }
}
BENCHMARK(BM_MomentGrowFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

// Frames rendered at rest, ribs hidden, over two minutes of animation time:
// goal 0 (the first minute may still hold the last frames of start-up).
void BM_RestFrames(benchmark::State &state)
{
    for (auto _ : state) {
        Island island;
        ManualAnimationDriver driver;
        driver.install();
        driver.advance(3000); // the first frames and any fades
        QCoreApplication::processEvents();
        island.frames = 0;
        driver.advance(60000);
        state.counters["frames_60s"] = island.frames;
        driver.advance(60000);
        state.counters["frames_120s"] = island.frames;
    }
}
BENCHMARK(BM_RestFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

// CPU of the resting island over real time (KORVANTA_IDLE_SECONDS, default
// 10; 300 for the five-minute figure), as % of one core.
void BM_RestCpu(benchmark::State &state)
{
    const int seconds = qEnvironmentVariableIntValue("KORVANTA_IDLE_SECONDS");
    for (auto _ : state) {
        Island island;
        waitReal(2s);
        const double before = cpuSeconds();
        waitReal(std::chrono::seconds(seconds > 0 ? seconds : 10));
        state.counters["cpu_percent"] =
            100 * (cpuSeconds() - before) / (seconds > 0 ? seconds : 10);
    }
}
BENCHMARK(BM_RestCpu)->Iterations(1)->Unit(benchmark::kSecond);

// Memory at rest, while the ribs page is shown, and once it is gone again.
void BM_RibsMemory(benchmark::State &state)
{
    for (auto _ : state) {
        Island island;
        waitReal(2s);
        auto [rest, restHelpers] = memory();
        island.setup.model.show({Platform::Gumroad, "New sale on Gumroad", "Icon pack", "+$29"});
        waitReal(4s);
        auto [shown, shownHelpers] = memory();
        island.setup.clock.advance(12s); // the moment ends; the island rests
        waitReal(6s);
        auto [after, afterHelpers] = memory();
        state.counters["rest_MiB"] = rest / 1024.0;
        state.counters["rest_helpers"] = restHelpers;
        state.counters["ribs_MiB"] = shown / 1024.0;
        state.counters["ribs_helpers"] = shownHelpers;
        state.counters["after_MiB"] = after / 1024.0;
        state.counters["after_helpers"] = afterHelpers;
        const QMap<QString, int> left = webProcesses();
        for (auto it = left.cbegin(); it != left.cend(); ++it)
            state.counters["after_" + it.key().toStdString()] = it.value();
    }
}
BENCHMARK(BM_RibsMemory)->Iterations(1)->Unit(benchmark::kSecond);
