#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Keychain.h"
#include "design/Fonts.h"
#include "notch/ChimePlayer.h"
#include "notch/NotchModel.h"
#include "shell/Autostart.h"
#include "shell/SettingsModel.h"
#include "sources/StandardSources.h"
#include "support/TestHttp.h"
#include "ui/SettingsWindow.h"
#include "ui/TodayModel.h"
#include "ui/UiModule.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QQmlEngine>
#include <QQuickView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// From the request to open a window to its first frame on screen. Each
// repetition opens a fresh window on an engine that is already warm, as the
// running application's is after start-up.

namespace {

struct Quiet : SoundOutput {
    void play(const QUrl &, float) override {}
};

template <typename Window>
double untilFirstFrame(Window *window, const std::function<void()> &open)
{
    QElapsedTimer timer;
    timer.start();
    QEventLoop loop;
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit,
                     Qt::SingleShotConnection);
    open();
    loop.exec();
    return timer.nsecsElapsed() / 1e9;
}

void BM_DashboardFirstFrame(benchmark::State &state)
{
    Fonts::registerAll();
    QTemporaryDir dir;
    QSettings settings(dir.filePath("k.conf"), QSettings::IniFormat);
    ManualClock clock;
    Quiet quiet;
    ChimePlayer chime(settings, quiet);
    NotchModel notch(settings, clock, chime);
    const Account account{QUuid::createUuid(), Platform::Stripe, "Acme", {}, false};
    notch.setAccounts({account});
    QList<SaleEvent> sales;
    for (int i = 0; i < 40; ++i)
        sales.append({QString::number(i), account.id, Platform::Stripe, SaleEvent::Kind::Sale,
                      QStringLiteral("Plan %1").arg(i % 6), Money{1900 + i, "USD"}, clock.now()});
    notch.setSales(sales);
    notch.setShowTop(true);
    TodayModel model(notch, clock);
    QQmlEngine engine;
    UiModule::prepare(engine);
    for (auto _ : state) {
        QQuickView view(&engine, nullptr);
        const double seconds = untilFirstFrame(&view, [&] {
            view.setInitialProperties({{"model", QVariant::fromValue(&model)}});
            view.setSource(UiModule::url("TodayCard"));
            view.show();
        });
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_DashboardFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_SettingsWindowFirstFrame(benchmark::State &state)
{
    Fonts::registerAll();
    QTemporaryDir dir;
    TestHttp t;
    QSettings settings(dir.filePath("k.conf"), QSettings::IniFormat);
    Keychain keychain(QStringLiteral("app.vexalon.korvanta.bench"));
    AccountStore store(settings, keychain);
    EventStore events(dir.filePath("events.json"));
    SourceRegistry sources = standardSources();
    Poller poller(store, events, keychain, sources, t.context());
    Autostart autostart(dir.filePath("autostart/korvanta.desktop"), QStringLiteral("korvanta"));
    SettingsModel model(store, poller, t.context(), autostart);
    Quiet quiet;
    ChimePlayer chime(settings, quiet);
    QQmlEngine engine;
    SettingsWindow windows(engine, {model, store, poller, settings, chime, {}});
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QEventLoop loop;
        QObject::connect(&windows, &SettingsWindow::shown, &loop, &QEventLoop::quit,
                         Qt::SingleShotConnection);
        windows.show(2);
        loop.exec();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        windows.window()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_SettingsWindowFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}
