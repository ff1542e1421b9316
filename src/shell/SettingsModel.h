#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"
#include "notch/RestStyle.h"

#include <QCoroTask>
#include <QObject>
#include <functional>

class AccountStore;
class Keychain;
class Poller;

// The account operations behind the connect form and the settings: connect
// a platform with a pasted key, remove an account, and each account's
// health line. Views reach the shell only through the callbacks.
class SettingsModel : public QObject {
    Q_OBJECT
public:
    struct Health {
        bool ok = true;
        QString text;
    };

    SettingsModel(AccountStore &store, Poller &poller, SourceContext context,
                  QObject *parent = nullptr);

    // Verifies the key with the platform and stores the account and its key.
    // Throws SourceError with the sentence the form shows; nothing is stored then.
    QCoro::Task<Account> connectPlatform(Platform platform, QMap<QString, QString> values);
    QCoro::Task<> remove(Account account);
    Health health(const Account &account) const;

    std::function<void()> afterChange = [] {};

    // The Framer login is valid; set by the shell after each check.
    bool framerSignedIn() const { return m_framerSignedIn; }
    void setFramerSignedIn(bool on);
    // Incremented after each check so that views re-read the poller's lines.
    int refresh() const { return m_refresh; }
    void bumpRefresh();
    RestStyle restStyle() const { return m_restStyle; }
    // Stores the choice, then hands it to the shell through onRestStyle.
    void setRestStyle(RestStyle style);
    double interval() const { return m_interval; }
    // Stores the seconds, then hands them to the shell through onInterval.
    void setInterval(double seconds);
    // The shell's launch values, stored without calling back.
    void initialise(RestStyle style, double seconds);

    std::function<void(RestStyle)> onRestStyle = [](RestStyle) {};
    std::function<void(double)> onInterval = [](double) {};
    std::function<void()> replaceNotch = [] {};
    std::function<void()> playDemo = [] {};
    std::function<void()> connectFramer = [] {};
    std::function<void()> switchFramer = [] {};

Q_SIGNALS:
    void framerSignedInChanged();
    void refreshChanged();
    void restStyleChanged();
    void intervalChanged();

private:
    AccountStore &m_store;
    Poller &m_poller;
    SourceContext m_context;
    bool m_framerSignedIn = false;
    int m_refresh = 0;
    RestStyle m_restStyle = RestStyle::Total;
    double m_interval = 120;
};
