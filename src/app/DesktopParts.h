#pragma once

#include "app/FramerServices.h"
#include "app/Services.h"
#include "app/SignInProcess.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"
#include "notch/NotchController.h"
#include "notch/NotchModel.h"
#include "share/ShareActions.h"
#include "share/ShareExporter.h"
#include "share/ShareSheet.h"
#include "shell/Shell.h"
#include "shell/Updates.h"
#include "shell/WindowShortcuts.h"
#include "ui/FirstRunWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/TodayModel.h"

#include <memory>

// Fonts and the island's QML types exist before any view is made.
struct ViewsPrepared {
    ViewsPrepared();
};

// What the running app owns beyond the headless services, built in the
// order of the launch sequence and wired together once. Members go in
// reverse order of use at exit: windows and views first, the models they
// show after them.
class DesktopParts {
public:
    DesktopParts(Services &services, FramerWebRoutes routes);

    // The tray icon, the first check and the switches of this launch.
    void start(const QStringList &arguments);
    Shell &shell() { return m_shell; }

private:
    void wireNotch();
    void wireShell();
    void openSettings(const QString &tab);
    void openWalkthrough(int step);
    void openToday(const QStringList &arguments);
    void openSignIn();
    void signInClosed(bool signedIn);
    void openShare();

    Services &m_services;
    WindowShortcuts m_shortcuts;
    EffectSoundOutput m_sound;
    ChimePlayer m_chime;
    NotchModel m_notch;
    FramerServices m_framer;
    SignInProcess m_signInProcess;
    Updates m_updates;
    Shell m_shell;
    ShareExporter m_exporter;
    ShareActions m_share;
    ShareSheet m_sheet;
    TodayModel m_today;
    ViewsPrepared m_prepared;
    NotchController m_notchView;
    SettingsWindow m_settingsWindow;
    std::unique_ptr<FirstRunWindow> m_walkthrough;
};
