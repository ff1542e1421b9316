#pragma once

#include "ui/GeneralSettingsModel.h"

#include <QObject>
#include <QPointer>

class AccountStore;
class ChimePlayer;
class Poller;
class QQmlEngine;
#include <QQuickWindow>
class SettingsModel;

// Owns the "Korvanta Settings" window: builds it on first show, brings it
// forward when it exists, and drops it when closed so the next show starts
// fresh. Built once by the application.
class SettingsWindow : public QObject {
    Q_OBJECT
public:
    struct Parts {
        SettingsModel &settings;
        AccountStore &store;
        Poller &poller;
        QSettings &preferences;
        ChimePlayer &chime;
        LoginItemAccess login;
    };

    SettingsWindow(QQmlEngine &engine, Parts parts, QObject *parent = nullptr);
    ~SettingsWindow() override;

    // Opens on `tab` (0 General, 1 Celebrations, 2 Accounts) when the window
    // is built; an open window keeps its tab and comes to the front.
    void show(int tab = 0);
    QQuickWindow *window() const { return m_window; }

Q_SIGNALS:
    // The window's first frame is on screen (for start-up measurements).
    void shown();

private:
    void build(int tab);

    QQmlEngine &m_engine;
    Parts m_parts;
    QPointer<QQuickWindow> m_window;
};
