#pragma once

#include "shell/CheckCycle.h"
#include "shell/CheckTimer.h"
#include "shell/MenuItem.h"
#include "shell/StatusMenu.h"

#include <QIcon>
#include <QObject>
#include <QSettings>
#include <functional>
#include <memory>

class TrayIcon;
class Updates;
class Watcher;
class WakeWatcher;

// The running app's spine: the check timer and cycle, the tray menu's
// commands, the command-line switches, and the requests for windows that
// main connects to whatever shows them.
class Shell : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QSettings &settings;
        Clock &clock;
        Poller &poller;
        AccountStore &accounts;
        NotchModel &notch;
        SettingsModel &settingsModel;
        Watcher &watcher;
        Updates &updates;
    };

    explicit Shell(Parts parts, QObject *parent = nullptr);
    ~Shell() override;

    // The launch sequence from the tray icon on: the icon, the settings
    // model's wiring, the timer, a first check, wake checks, the switches.
    void start(const QStringList &arguments, const QIcon &trayIcon);

    // (Re)starts the check timer with the stored interval.
    void schedule();
    void check();
    void playDemo();
    // Switches handed over by a second `korvanta`.
    void handOver(const QStringList &arguments);
    void run(MenuItem::Command command, const QVariant &value = {});

    StatusMenu::State menuState() const;
    CheckCycle &cycle() { return m_cycle; }
    const CheckTimer &timer() const { return m_timer; }
    TrayIcon *tray() const { return m_tray.get(); }

    // Installed by main when the pieces exist; each does nothing until then.
    std::function<std::optional<QString>()> notchScreen = [] { return std::nullopt; };

Q_SIGNALS:
    void settingsRequested(const QString &tab);        // empty: the last tab
    void walkthroughRequested(int step);               // 0: from the start
    void todayRequested(const QStringList &arguments); // pinned dashboard, screenshot aids
    void framerSignInRequested();

private:
    void wireSettings();
    void applySwitches(const QStringList &arguments, bool atLaunch);
    void showWalkthrough(int step);
    void after(std::chrono::milliseconds delay, std::function<void()> then);
    QCoro::Task<> afterTask(std::chrono::milliseconds delay, std::function<void()> then);
    QCoro::Task<> switchFramerAccount();
    void setInterval(double seconds);

    Parts m_parts;
    CheckCycle m_cycle;
    CheckTimer m_timer;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<WakeWatcher> m_wake;
};
