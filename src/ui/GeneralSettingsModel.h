#pragma once

#include <QObject>
#include <QSettings>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

class SettingsModel;

// Opening at login as the settings see it: whether it is on, and turning it
// on or off (an error sentence when the desktop refused).
struct LoginItemAccess {
    std::function<bool()> enabled = [] { return false; };
    std::function<std::optional<QString>(bool)> setEnabled = [](bool) {
        return std::optional<QString>();
    };
};

// The General tab: opening at login, the screen that carries the notch,
// what the notch shows at rest and how often platforms are checked.
class GeneralSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the settings window")
    Q_PROPERTY(bool openAtLogin READ openAtLogin WRITE setOpenAtLogin NOTIFY openAtLoginChanged)
    Q_PROPERTY(QString loginError READ loginError NOTIFY openAtLoginChanged)
    Q_PROPERTY(bool builtIn READ builtIn WRITE setBuiltIn NOTIFY builtInChanged)
    Q_PROPERTY(QString restStyle READ restStyle WRITE setRestStyle NOTIFY restStyleChanged)
    Q_PROPERTY(int interval READ interval WRITE setInterval NOTIFY intervalChanged)
    Q_PROPERTY(QVariantList screens READ screens CONSTANT)
    Q_PROPERTY(QVariantList restStyles READ restStyles CONSTANT)
    Q_PROPERTY(QVariantList intervals READ intervals CONSTANT)
    Q_PROPERTY(QVariantMap texts READ texts CONSTANT)

public:
    GeneralSettingsModel(SettingsModel &settings, QSettings &preferences, LoginItemAccess login,
                         QObject *parent = nullptr);

    bool openAtLogin() const { return m_openAtLogin; }
    // Registers or unregisters; on refusal shows why and reads the real state back.
    void setOpenAtLogin(bool on);
    QString loginError() const { return m_loginError; }
    bool builtIn() const { return m_builtIn; }
    void setBuiltIn(bool on);
    QString restStyle() const;
    void setRestStyle(const QString &raw);
    int interval() const;
    void setInterval(int seconds);
    static QVariantList screens();
    static QVariantList restStyles();
    static QVariantList intervals();
    static QVariantMap texts();

Q_SIGNALS:
    void openAtLoginChanged();
    void builtInChanged();
    void restStyleChanged();
    void intervalChanged();

private:
    SettingsModel &m_settings;
    QSettings &m_preferences;
    LoginItemAccess m_login;
    bool m_openAtLogin;
    QString m_loginError;
    bool m_builtIn;
};
