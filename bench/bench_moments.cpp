#include "core/Revenue.h"
#include "framer/Watcher.h"
#include "moments/MomentBuilder.h"

#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Moments, revenue and Framer diffs run once per check on everything new or
// everything of the day; each must stay linear in its input.

namespace {

QList<SaleEvent> events(int64_t n)
{
    const QDateTime start(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
    QList<SaleEvent> list;
    list.reserve(n);
    for (int64_t i = 0; i < n; ++i) {
        SaleEvent e;
        e.id = QString::number(i);
        e.platform = i % 3 ? Platform::Stripe : Platform::Gumroad;
        e.kind = i % 10 == 9 ? SaleEvent::Kind::Refund : SaleEvent::Kind::Sale;
        e.title = QStringLiteral("Product ") + QString::number(i % 50);
        e.amount = Money{1999 + i % 7, QStringLiteral("USD")};
        e.at = start.addSecs((i * 7919) % 86400); // not in time order
        list.append(e);
    }
    return list;
}

QList<FramerRow> rows(int64_t templates, qint64 growth)
{
    QList<FramerRow> list;
    list.reserve(templates * 2);
    for (int64_t i = 0; i < templates; ++i) {
        const QString id = QString::number(100000 + i);
        const QString title = QStringLiteral("Template ") + id;
        list.append({id, title, QStringLiteral("2026-12-04"), i % 13, i % 97, i % 5});
        list.append({id, title, QStringLiteral("2026-12-05"), i % 11 + growth, i % 89, i % 3});
    }
    return list;
}

void momentBuilder(benchmark::State &state)
{
    const QList<SaleEvent> list = events(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(MomentBuilder::momentFor(list));
    state.SetComplexityN(state.range(0));
}

void revenueSum(benchmark::State &state)
{
    const QList<SaleEvent> list = events(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(Revenue::sum(list));
    state.SetComplexityN(state.range(0));
}

// One reading of yesterday and today against the stored counters, with one
// new remix per template; includes storing the counters in the settings file.
void watcherDiff(benchmark::State &state)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
    Watcher watcher(settings, dir.filePath("framer-polls.csv"));
    qint64 growth = 0;
    watcher.diff(rows(state.range(0), growth));
    for (auto _ : state) {
        state.PauseTiming();
        const QList<FramerRow> reading = rows(state.range(0), ++growth);
        state.ResumeTiming();
        benchmark::DoNotOptimize(watcher.diff(reading));
    }
    state.SetComplexityN(state.range(0));
}

}

BENCHMARK(momentBuilder)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(revenueSum)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(watcherDiff)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
