#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"
#include "notch/RestStyle.h"

#include <QCoroTask>
#include <QObject>
#include <functional>

class AccountStore;
class Autostart;
class Keychain;
class Poller;

// The state behind the settings window, the connect form and the
// walkthrough: the check interval and the rest display, opening at login,
// and the account operations (connect with a pasted key, remove, each
// account's health line). Views reach the shell only through the callbacks.
class SettingsModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool framerSignedIn READ framerSignedIn NOTIFY framerSignedInChanged)
    Q_PROPERTY(int refresh READ refresh NOTIFY refreshChanged)
    Q_PROPERTY(
        RestStyles::RestStyle restStyle READ restStyle WRITE setRestStyle NOTIFY restStyleChanged)
    Q_PROPERTY(double interval READ interval WRITE setInterval NOTIFY intervalChanged)
    Q_PROPERTY(bool openAtLogin READ openAtLogin WRITE setOpenAtLogin NOTIFY openAtLoginChanged)
    Q_PROPERTY(QString loginMessage READ loginMessage NOTIFY loginMessageChanged)

public:
    struct Health {
        bool ok = true;
        QString text;
    };

    SettingsModel(AccountStore &store, Poller &poller, SourceContext context, Autostart &autostart,
                  QObject *parent = nullptr);

    // Verifies the key with the platform and stores the account and its key.
    // Throws SourceError with the sentence the form shows; nothing is stored then.
    QCoro::Task<Account> connectPlatform(Platform platform, QMap<QString, QString> values);
    QCoro::Task<> remove(Account account);
    Health health(const Account &account) const;

    bool framerSignedIn() const { return m_framerSignedIn; }
    void setFramerSignedIn(bool on);
    int refresh() const { return m_refresh; }
    // Views re-read the poller's status and error lines.
    void bumpRefresh();

    RestStyle restStyle() const { return m_restStyle; }
    // Stores the style, then tells the shell through onRestStyle.
    void setRestStyle(RestStyle style);
    // The shell's start-up value; no callback.
    void initRestStyle(RestStyle style);
    double interval() const { return m_interval; }
    void setInterval(double seconds);
    void initInterval(double seconds);

    // Read back from the autostart entry every time.
    bool openAtLogin() const;
    void setOpenAtLogin(bool on);
    QString loginMessage() const { return m_loginMessage; }

    Q_INVOKABLE void requestReplaceNotch() { replaceNotch(); }
    Q_INVOKABLE void requestDemo() { playDemo(); }
    Q_INVOKABLE void requestConnectFramer() { connectFramer(); }
    Q_INVOKABLE void requestSwitchFramer() { switchFramer(); }

    // Installed by the shell; each does nothing until then.
    std::function<void(RestStyle)> onRestStyle = [](RestStyle) {};
    std::function<void(double)> onInterval = [](double) {};
    std::function<void()> replaceNotch = [] {};
    std::function<void()> playDemo = [] {};
    std::function<void()> connectFramer = [] {};
    std::function<void()> switchFramer = [] {};
    std::function<void()> afterChange = [] {};

Q_SIGNALS:
    void framerSignedInChanged();
    void refreshChanged();
    void restStyleChanged();
    void intervalChanged();
    void openAtLoginChanged();
    void loginMessageChanged();

private:
    void setLoginMessage(const QString &message);

    AccountStore &m_store;
    Poller &m_poller;
    SourceContext m_context;
    Autostart &m_autostart;
    bool m_framerSignedIn = false;
    int m_refresh = 0;
    RestStyle m_restStyle = RestStyle::Total;
    double m_interval = 120;
    QString m_loginMessage;
};
