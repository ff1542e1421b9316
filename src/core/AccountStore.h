#pragma once

#include "core/Account.h"
#include "core/StoreAccess.h"

#include <QCoroTask>
#include <QObject>
#include <QSettings>

class Keychain;

// The connected accounts, in the order they were added, kept in the settings
// under "accounts.v1" as a JSON blob; their keys go to the keyring.
class AccountStore : public QObject {
    Q_OBJECT
public:
    static constexpr const char *key = "accounts.v1";

    // A read-only store never moves an unreadable list aside.
    AccountStore(QSettings &settings, Keychain &keychain,
                 StoreAccess access = StoreAccess::ReadWrite, QObject *parent = nullptr);

    const QList<Account> &accounts() const { return m_accounts; }
    std::optional<Account> find(const QUuid &id) const;

    // Stores the key first; when the keyring refuses, throws SourceError and
    // nothing is added.
    QCoro::Task<> add(Account account, QString secret);
    // Replaces the account with the same id (pausing, relabelling).
    void update(const Account &account);
    // Deletes the keyring item and removes the account.
    QCoro::Task<> remove(QUuid id);

Q_SIGNALS:
    void accountsChanged();

private:
    void load();
    void save();

    QSettings &m_settings;
    Keychain &m_keychain;
    StoreAccess m_access;
    QList<Account> m_accounts;
};
