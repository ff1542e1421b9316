#include "shell/Shell.h"

#include "framer/Watcher.h"
#include "notch/NotchModel.h"
#include "shell/CheckInterval.h"
#include "shell/SettingsModel.h"
#include "shell/TrayIcon.h"
#include "shell/UpdatePrompt.h"
#include "shell/WakeWatcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QUrl>

namespace {
using namespace std::chrono_literals;
constexpr auto afterWake = 8s; // network connections need a moment after sleep
constexpr auto demoDelay = 1500ms;
constexpr auto todayDelay = 4s;
constexpr auto walkthroughDelay = 600ms;

const Moment demoMoment{Platform::Framer, QStringLiteral("New remix on Framer"),
                        QStringLiteral("Larch Folio"), QStringLiteral("+1")};
const Moment secondDemoMoment{Platform::Framer, QStringLiteral("3 new remixes on Framer"),
                              QStringLiteral("Quill + 1 more"), QStringLiteral("+3")};
}

Shell::Shell(Parts parts, QObject *parent)
    : QObject(parent), m_parts(parts),
      m_cycle({parts.poller, parts.accounts, parts.notch, parts.settingsModel, parts.clock}),
      m_timer(parts.clock)
{
    connect(&m_timer, &CheckTimer::fired, this, &Shell::check);
    connect(&m_cycle, &CheckCycle::signInWanted, this, &Shell::framerSignInRequested);
    wireSettings();
}

Shell::~Shell() = default;

void Shell::start(const QStringList &arguments, const QIcon &trayIcon)
{
    m_tray =
        std::make_unique<TrayIcon>(trayIcon, [this] { return StatusMenu::build(menuState()); });
    connect(m_tray.get(), &TrayIcon::commanded, this, &Shell::run);
    m_tray->show();
    schedule();
    // The switches go first: a walkthrough they open keeps the first
    // check from opening the Framer sign-in window over it.
    applySwitches(arguments, true);
    check();
    m_wake = std::make_unique<WakeWatcher>();
    connect(m_wake.get(), &WakeWatcher::woke, this,
            [this] { after(afterWake, [this] { check(); }); });
}

void Shell::wireSettings()
{
    SettingsModel &model = m_parts.settingsModel;
    model.initRestStyle(m_parts.notch.restStyle());
    model.initInterval(CheckInterval::effective(m_parts.settings));
    model.onRestStyle = [this](RestStyle style) { m_parts.notch.setRestStyle(style); };
    model.onInterval = [this](double seconds) { setInterval(seconds); };
    model.playDemo = [this] { playDemo(); };
    model.connectFramer = [this] { Q_EMIT framerSignInRequested(); };
    model.switchFramer = [this] { switchFramerAccount(); };
    model.afterChange = [this] { check(); };
}

void Shell::schedule()
{
    const double seconds = CheckInterval::effective(m_parts.settings);
    m_timer.start(std::chrono::milliseconds(qint64(seconds * 1000)));
}

void Shell::setInterval(double seconds)
{
    if (seconds == CheckInterval::effective(m_parts.settings))
        return;
    CheckInterval::store(m_parts.settings, seconds);
    schedule();
}

void Shell::check()
{
    m_cycle.check();
}

void Shell::playDemo()
{
    m_parts.notch.show(demoMoment);
}

StatusMenu::State Shell::menuState() const
{
    return {m_cycle.framer(), CheckInterval::effective(m_parts.settings), m_parts.notch.restStyle(),
            notchScreen()};
}

void Shell::run(MenuItem::Command command, const QVariant &value)
{
    using C = MenuItem::Command;
    switch (command) {
    case C::OpenSettings:
        Q_EMIT settingsRequested({});
        break;
    case C::CheckForUpdates:
        UpdatePrompt::checkAndTell(m_parts.updates);
        break;
    case C::CheckNow:
        check();
        break;
    case C::PlayDemo:
        playDemo();
        break;
    case C::ConnectFramer:
        Q_EMIT framerSignInRequested();
        break;
    case C::SwitchFramer:
        switchFramerAccount();
        break;
    case C::SetInterval:
        m_parts.settingsModel.setInterval(value.toDouble());
        break;
    case C::SetRestStyle:
        if (const auto style = RestStyles::fromRaw(value.toString()))
            m_parts.settingsModel.setRestStyle(*style);
        break;
    case C::OpenPollLog:
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_parts.watcher.logPath()));
        break;
    case C::Quit:
        QCoreApplication::quit();
        break;
    case C::None:
        break;
    }
}

void Shell::handOver(const QStringList &arguments)
{
    applySwitches(arguments, false);
}

// The first matching switch wins.
void Shell::applySwitches(const QStringList &arguments, bool atLaunch)
{
    const auto has = [&](const char *name) { return arguments.contains(QLatin1String(name)); };
    const auto valueOf = [&](const char *name) {
        const qsizetype at = arguments.indexOf(QLatin1String(name));
        return at >= 0 ? arguments.value(at + 1) : QString();
    };
    if (has("--demo-all")) {
        after(demoDelay, [this] {
            playDemo();
            m_parts.notch.show(secondDemoMoment);
        });
    } else if (has("--settings") || has("--settings-tab")) {
        Q_EMIT settingsRequested(valueOf("--settings-tab"));
    } else if (has("--open-today") || has("--open-share")) {
        after(todayDelay, [this, arguments] { Q_EMIT todayRequested(arguments); });
    } else if (has("--demo")) {
        after(demoDelay, [this] { playDemo(); });
    } else if (has("--first-run") || has("--first-run-step")) {
        showWalkthrough(valueOf("--first-run-step").toInt());
    } else if (atLaunch) {
        if (!m_parts.settings.value(QStringLiteral("onboarded")).toBool())
            showWalkthrough(0);
    } else {
        // Started again from the desktop's app menu: show something.
        Q_EMIT settingsRequested({});
    }
}

void Shell::showWalkthrough(int step)
{
    m_cycle.markSignInPrompted();
    after(walkthroughDelay, [this, step] { Q_EMIT walkthroughRequested(step); });
}

void Shell::after(std::chrono::milliseconds delay, std::function<void()> then)
{
    afterTask(delay, std::move(then));
}

QCoro::Task<> Shell::afterTask(std::chrono::milliseconds delay, std::function<void()> then)
{
    const QPointer<Shell> alive(this);
    co_await m_parts.clock.sleep(delay);
    if (alive)
        then();
}

QCoro::Task<> Shell::switchFramerAccount()
{
    // The check asks for the sign-in window once it has signed out.
    co_await m_cycle.switchFramerAccount();
}
