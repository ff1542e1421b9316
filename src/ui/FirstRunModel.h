#pragma once

#include "core/Platform.h"
#include "design/ColorTokens.h"
#include "ui/FirstRunStep.h"

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>

class ChimePlayer;
#include "ui/ConnectFormModel.h"
class SettingsModel;
class SourceRegistry;

// The first-run walkthrough: seven screens that introduce Korvanta, play a
// demonstration moment, connect a first platform, pick a sound and a rest
// display, and offer opening at login. Every text of every screen is here.
class FirstRunModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the walkthrough window")
    Q_PROPERTY(int step READ stepNumber NOTIFY stepChanged)
    Q_PROPERTY(int stepCount READ stepCount CONSTANT)
    Q_PROPERTY(QString title READ title NOTIFY stepChanged)
    Q_PROPERTY(QString body READ body NOTIFY stepChanged)
    Q_PROPERTY(QString primaryLabel READ primaryLabel NOTIFY stepChanged)
    Q_PROPERTY(QString secondaryLabel READ secondaryLabel NOTIFY stepChanged)
    Q_PROPERTY(bool framerKey READ framerKey NOTIFY stepChanged)
    Q_PROPERTY(ConnectFormModel *form READ form NOTIFY stepChanged)
    Q_PROPERTY(bool played READ played NOTIFY playedChanged)
    Q_PROPERTY(QString demoLabel READ demoLabel NOTIFY playedChanged)
    Q_PROPERTY(QVariantList platforms READ platforms CONSTANT)
    Q_PROPERTY(QVariantList pickable READ pickable CONSTANT)
    Q_PROPERTY(QVariantList chimes READ chimes NOTIFY tuneChanged)
    Q_PROPERTY(QVariantList restStyles READ restStyles NOTIFY tuneChanged)
    Q_PROPERTY(bool openAtLogin READ openAtLogin WRITE setOpenAtLogin NOTIFY openAtLoginChanged)
    Q_PROPERTY(QString laterLabel READ laterLabel CONSTANT)
    Q_PROPERTY(QString soundLabel READ soundLabel CONSTANT)
    Q_PROPERTY(QString restLabel READ restLabel CONSTANT)
    Q_PROPERTY(QString loginLabel READ loginLabel CONSTANT)
    // The glowing ribs behind the walkthrough: always shown, wider and
    // taller than the island's, on the page's own dark base.
    Q_PROPERTY(QString ribsColor READ ribsColor CONSTANT)
    Q_PROPERTY(double ribsReach READ ribsReach CONSTANT)
    Q_PROPERTY(double ribsVreach READ ribsVreach CONSTANT)
    Q_PROPERTY(QString ribsExtra READ ribsExtra CONSTANT)

public:
    FirstRunModel(SettingsModel &settings, const SourceRegistry &sources, QSettings &preferences,
                  ChimePlayer &chime, const QStringList &arguments, QObject *parent = nullptr);

    Q_INVOKABLE void go(int step);
    Q_INVOKABLE void primary();
    Q_INVOKABLE void secondary();
    Q_INVOKABLE void pick(const QString &platform);
    Q_INVOKABLE void later() { go(int(FirstRunStep::Tune)); }
    Q_INVOKABLE void backToPick() { go(int(FirstRunStep::Pick)); }
    Q_INVOKABLE void playDemo();
    Q_INVOKABLE void chooseChime(const QString &chime);
    Q_INVOKABLE void chooseRestStyle(const QString &style);
    // Sets "onboarded"; the window calls it however it closes.
    Q_INVOKABLE void markOnboarded();

    FirstRunStep step() const { return m_step; }
    int stepNumber() const { return int(m_step); }
    static int stepCount() { return FirstRunSteps::count; }
    QString title() const;
    QString body() const;
    QString primaryLabel() const;
    QString secondaryLabel() const;
    bool framerKey() const;
    ConnectFormModel *form() const { return m_form; }
    std::optional<Platform> picked() const { return m_picked; }
    QString connectedName() const { return m_connectedName; }
    bool played() const { return m_played; }
    QString demoLabel() const;
    QVariantList platforms() const;
    QVariantList pickable() const;
    QVariantList chimes() const;
    QVariantList restStyles() const;
    bool openAtLogin() const { return m_openAtLogin; }
    void setOpenAtLogin(bool on);
    static QString laterLabel() { return QStringLiteral("I'll do this later"); }
    static QString soundLabel() { return QStringLiteral("Sound"); }
    static QString ribsColor() { return ColorTokens::yellow().name(); }
    static double ribsReach() { return 0.42; }
    static double ribsVreach() { return 1.0; }
    static QString ribsExtra()
    {
        return QStringLiteral(
            "base:'#10100e',peakX:1,edgeFall:1,floor:0,haze:.16,gain:1,veil:false");
    }
    static QString restLabel() { return QStringLiteral("Between sales, the notch shows"); }
    static QString loginLabel() { return QStringLiteral("Open Korvanta when I log in"); }

Q_SIGNALS:
    void stepChanged();
    void playedChanged();
    void tuneChanged();
    void openAtLoginChanged();
    // What the application does for the walkthrough.
    void signInFramerRequested();
    void registerAtLoginRequested();
    void finished();

private:
    void finish();
    void makeForm();

    SettingsModel &m_settings;
    const SourceRegistry &m_sources;
    QSettings &m_preferences;
    ChimePlayer &m_chime;
    FirstRunStep m_step;
    std::optional<Platform> m_picked;
    QString m_connectedName;
    bool m_played = false;
    bool m_openAtLogin = true;
    QPointer<ConnectFormModel> m_form;
};
