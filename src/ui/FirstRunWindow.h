#pragma once

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QStringList>

class ChimePlayer;
class QQmlEngine;
#include <QQuickWindow>
class SettingsModel;
class SourceRegistry;

// Owns the "Welcome to Korvanta" window. However it closes, "onboarded" is
// set, so an abandoned walkthrough is not shown again at the next start.
class FirstRunWindow : public QObject {
    Q_OBJECT
public:
    struct Parts {
        SettingsModel &settings;
        const SourceRegistry &sources;
        QSettings &preferences;
        ChimePlayer &chime;
    };

    // `arguments` may carry "--first-run-step N".
    FirstRunWindow(QQmlEngine &engine, Parts parts, QStringList arguments,
                   QObject *parent = nullptr);
    ~FirstRunWindow() override;

    void show();
    QQuickWindow *window() const { return m_window; }

Q_SIGNALS:
    void signInFramerRequested();
    // "Finish" with the login switch on; a refusal is reported by the settings, not here.
    void registerAtLoginRequested();

private:
    void build();

    QQmlEngine &m_engine;
    Parts m_parts;
    QStringList m_arguments;
    QPointer<QQuickWindow> m_window;
};
