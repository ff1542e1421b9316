#include "../ProcessMemory.h"
#include "core/Clock.h"
#include "share/ShareCards.h"
#include "share/ShareExporter.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <benchmark/benchmark.h>

// The share exporter's cost: one export on a page already loaded, a first
// export that makes the page, and the memory of the machine's web-engine
// processes while the page exists and after it is released.
namespace {

QVariantMap cardData()
{
    SaleEvent e;
    e.id = QStringLiteral("1");
    e.title = QStringLiteral("Icon Pack");
    e.amount = Money{98000, QStringLiteral("USD")};
    e.at = QDateTime::currentDateTimeUtc();
    return ShareCards::data({e.at, {e}, {}, {}}, QString::fromLatin1(ShareCards::logoFolder));
}

// Waits in the event loop for the exporter's answer.
bool exportOnce(ShareExporter &exporter, const QVariantMap &data, bool hide)
{
    QEventLoop loop;
    bool ok = false;
    exporter.exportCard(data, {{"k", "day"}, {"hide", hide}}, [&](std::optional<QImage> image) {
        ok = image && image->width() == ShareExporter::width;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    return ok;
}

// Proportional set size of this process and all its descendants, in MiB.
double pssMiB(qint64 pid)
{
    return double(ProcessMemory::treePssKiB(pid)) / 1024;
}

void settle()
{
    for (int i = 0; i < 50; ++i) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void BM_ExportLoadedPage(benchmark::State &state)
{
    SystemClock clock;
    ShareExporter exporter(clock);
    const QVariantMap data = cardData();
    if (!exportOnce(exporter, data, false)) {
        state.SkipWithError("the web engine cannot render here");
        return;
    }
    bool hide = false;
    for (auto _ : state)
        if (!exportOnce(exporter, data, hide = !hide))
            state.SkipWithError("export failed");
    state.counters["pss_MiB_page_alive"] = pssMiB(QCoreApplication::applicationPid());
}
BENCHMARK(BM_ExportLoadedPage)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_FirstExportWithPageCreation(benchmark::State &state)
{
    SystemClock clock;
    const QVariantMap data = cardData();
    for (auto _ : state) {
        ShareExporter exporter(clock);
        if (!exportOnce(exporter, data, false))
            state.SkipWithError("export failed");
    }
    settle();
    state.counters["pss_MiB_after_release"] = pssMiB(QCoreApplication::applicationPid());
}
BENCHMARK(BM_FirstExportWithPageCreation)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QtWebEngineQuick::initialize();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
