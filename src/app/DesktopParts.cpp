#include "app/DesktopParts.h"

#include "app/TrayArt.h"
#include "design/Fonts.h"
#include "notch/NotchQml.h"
#include "share/ShareCards.h"
#include "ui/Dashboard.h"
#include "ui/SettingsTab.h"
#include "ui/UiModule.h"

#include <QDesktopServices>
#include <QQmlEngine>

ViewsPrepared::ViewsPrepared()
{
    Fonts::registerAll();
    registerNotchQml();
}

DesktopParts::DesktopParts(Services &services, FramerWebRoutes routes)
    : m_services(services), m_chime(services.settings, m_sound),
      m_notch(services.settings, services.clock, m_chime), m_framer(services, std::move(routes)),
      m_signInProcess(QCoreApplication::applicationFilePath()),
      m_updates(services.http, QUrl(QStringLiteral(KORVANTA_UPDATE_FEED)),
                QCoreApplication::applicationVersion()),
      m_shell({services.settings, services.clock, services.poller, services.accounts, m_notch,
               services.settingsModel, m_framer.watcher, m_updates}),
      m_exporter(services.clock),
      m_share(services.settings, services.clock, m_notch, m_exporter, ShareCards::logoFolder),
      m_sheet(services.settings, m_notch, m_share), m_today(m_notch, services.clock),
      m_notchView(m_notch, services.settings, services.clock),
      m_settingsWindow(
          *m_notchView.window().engine(),
          {services.settingsModel, services.accounts, services.poller, services.settings, m_chime,
           LoginItemAccess{[&services] { return services.autostart.enabled(); },
                           [&services](bool on) { return services.autostart.setEnabled(on); }}})
{
    UiModule::prepare(*m_notchView.window().engine());
    m_notchView.setDashboard(UiModule::url(QStringLiteral("TodayView")), &m_today);
    m_notchView.setShareSheet(ShareSheet::view(), &m_sheet);
    m_shell.cycle().setFramer(&m_framer.check);
    wireNotch();
    wireShell();
}

void DesktopParts::start(const QStringList &arguments)
{
    m_shell.start(arguments, trayArt());
}

void DesktopParts::wireNotch()
{
    m_notch.onOpenDashboard = [] { QDesktopServices::openUrl(Dashboard::framer()); };
    m_notch.onConnect = [this] {
        m_notch.collapse();
        openSignIn();
    };
    m_notch.onOpenSettings = [this] {
        m_notch.collapse();
        openSettings({});
    };
    m_notch.onShare = [this] { openShare(); };
    m_notch.onShareAction = [this](const QString &action, const QVariantMap &data) {
        m_share.handle(action, data);
    };
}

void DesktopParts::wireShell()
{
    m_shell.notchScreen = [this] { return std::optional(m_notchView.screenDescription()); };
    m_services.settingsModel.replaceNotch = [this] { m_notchView.place(); };
    QObject::connect(&m_shell, &Shell::settingsRequested, &m_shell,
                     [this](const QString &tab) { openSettings(tab); });
    QObject::connect(&m_shell, &Shell::walkthroughRequested, &m_shell,
                     [this](int step) { openWalkthrough(step); });
    QObject::connect(&m_shell, &Shell::todayRequested, &m_shell,
                     [this](const QStringList &arguments) { openToday(arguments); });
    QObject::connect(&m_shell, &Shell::framerSignInRequested, &m_shell, [this] { openSignIn(); });
    m_framer.signIn.onClose = [this] { signInClosed(false); };
    m_signInProcess.onClose = [this](bool signedIn) { signInClosed(signedIn); };
    m_signInProcess.onQuit = [] { QCoreApplication::quit(); };
    m_signInProcess.onFailedToStart = [this] { m_framer.signIn.show(); };
}

// A closed sign-in window, signed in or not: the page reloads and a check
// shows what changed. The window of another process leaves remembering the
// sign-in to the app.
void DesktopParts::signInClosed(bool signedIn)
{
    if (signedIn)
        m_framer.login.remember();
    m_framer.source.markNotReady();
    m_shell.check();
}

void DesktopParts::openSettings(const QString &tab)
{
    m_settingsWindow.show(SettingsTab::fromArguments({QStringLiteral("--settings-tab"), tab}));
}

void DesktopParts::openWalkthrough(int step)
{
    m_walkthrough = std::make_unique<FirstRunWindow>(
        *m_notchView.window().engine(),
        FirstRunWindow::Parts{m_services.settingsModel, m_services.sources, m_services.settings,
                              m_chime},
        QStringList{QStringLiteral("--first-run-step"), QString::number(step)});
    QObject::connect(m_walkthrough.get(), &FirstRunWindow::signInFramerRequested, &m_shell,
                     [this] { openSignIn(); });
    // Refusal is reported in the settings, where the switch reads the entry back.
    QObject::connect(m_walkthrough.get(), &FirstRunWindow::registerAtLoginRequested, &m_shell,
                     [this] { m_services.autostart.setEnabled(true); });
    m_walkthrough->show();
}

// The dashboard pinned open, with what the switches choose to show.
void DesktopParts::openToday(const QStringList &arguments)
{
    const qsizetype tab = arguments.indexOf(QStringLiteral("--today-tab"));
    if (tab >= 0 && tab + 1 < arguments.size())
        m_today.select(arguments.at(tab + 1));
    m_notch.pinned = true;
    m_notch.expand();
    if (arguments.contains(QStringLiteral("--show-top")))
        m_notch.setShowTop(true);
    if (arguments.contains(QStringLiteral("--open-share")))
        openShare();
}

// Until a sign-in was completed this process never opens the web profile,
// and the window runs in a process of its own. Two processes never hold the
// profile at once: the app reads Framer only once it remembers a sign-in,
// which it learns when that process has ended.
void DesktopParts::openSignIn()
{
    if (m_framer.login.completed() || m_framer.profile.exists() || m_framer.signIn.isOpen())
        m_framer.signIn.show();
    else
        m_signInProcess.show();
}

// The island takes the keyboard itself once its share phase opens.
void DesktopParts::openShare()
{
    m_share.open();
}
