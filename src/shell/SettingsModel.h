#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"

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

private:
    AccountStore &m_store;
    Poller &m_poller;
    SourceContext m_context;
};
