#include "core/EventStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QDateTime now(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC);

QList<SaleEvent> batch(const QUuid &account, int count, const QString &prefix)
{
    QList<SaleEvent> events;
    for (int i = 0; i < count; ++i)
        events.append({prefix + QString::number(i), account, Platform::Stripe,
                       SaleEvent::Kind::Sale, QStringLiteral("Pro plan, yearly"),
                       Money{4900 + i, QStringLiteral("USD")}, now.addSecs(-i)});
    return events;
}

// A store holding `size` recent events over ten accounts.
void fill(EventStore &store, int size)
{
    for (int a = 0; a < 10; ++a) {
        const QUuid account = QUuid::createUuid();
        store.ingest(batch(account, size / 10, QStringLiteral("ch_3Nv%1_").arg(a)), account, now);
    }
}

void writeAndRename(const QString &path, const QByteArray &bytes, bool sync)
{
    const QByteArray temp = (path + QStringLiteral(".tmp")).toLocal8Bit();
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (::write(fd, bytes.constData(), bytes.size()) != bytes.size())
        std::abort();
    if (sync)
        ::fdatasync(fd);
    ::close(fd);
    ::rename(temp.constData(), path.toLocal8Bit().constData());
}

// Ingest of a 100-event batch of new sales, including the atomic save.
void EventStoreIngest(benchmark::State &state)
{
    QTemporaryDir dir;
    EventStore store(dir.filePath(QStringLiteral("events.json")));
    fill(store, int(state.range(0)));
    const QUuid account = QUuid::createUuid();
    const QList<SaleEvent> fresh = batch(account, 100, QStringLiteral("ch_new_"));
    store.ingest({}, account, now);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.ingest(fresh, account, now));
        state.PauseTiming();
        store.forget(account);
        store.ingest({}, account, now);
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(QFile(store.path()).size());
}

// The floor: writing the same number of bytes and renaming, with and without
// the flush to disk that an atomic save makes.
void PlainWriteRename(benchmark::State &state)
{
    QTemporaryDir dir;
    EventStore store(dir.filePath(QStringLiteral("events.json")));
    fill(store, int(state.range(0)) + 100);
    QFile file(store.path());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const QString path = dir.filePath(QStringLiteral("plain.json"));
    for (auto _ : state)
        writeAndRename(path, bytes, state.range(1) != 0);
    state.counters["bytes"] = double(bytes.size());
}

}

BENCHMARK(EventStoreIngest)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PlainWriteRename)
    ->ArgsProduct({{1000, 10000, 50000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
