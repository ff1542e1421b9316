#include "core/AccountStore.h"

#include "core/Keychain.h"
#include "core/SettingsFile.h"

#include <QJsonArray>
#include <QJsonDocument>

AccountStore::AccountStore(QSettings &settings, Keychain &keychain, StoreAccess access,
                           QObject *parent)
    : QObject(parent), m_settings(settings), m_keychain(keychain), m_access(access)
{
    load();
}

void AccountStore::load()
{
    const QVariant stored = m_settings.value(QLatin1String(key));
    if (!stored.isValid())
        return;
    const QJsonDocument doc = QJsonDocument::fromJson(stored.toByteArray());
    QList<Account> accounts;
    bool readable = doc.isArray();
    for (const QJsonValue &value : doc.array()) {
        const auto account = Account::fromJson(value);
        readable = readable && account.has_value();
        if (account)
            accounts.append(*account);
    }
    if (readable) {
        m_accounts = accounts;
        return;
    }
    // Keep the unreadable value under a backup key instead of losing it at
    // the next save; the accounts that could be read are still used.
    if (m_access == StoreAccess::ReadWrite)
        SettingsFile::keepAside(m_settings, QLatin1String(key));
    m_accounts = accounts;
}

std::optional<Account> AccountStore::find(const QUuid &id) const
{
    for (const Account &a : m_accounts)
        if (a.id == id)
            return a;
    return std::nullopt;
}

QCoro::Task<> AccountStore::add(Account account, QString secret)
{
    co_await m_keychain.set(secret, account.id);
    m_accounts.append(account);
    save();
}

void AccountStore::update(const Account &account)
{
    for (Account &a : m_accounts) {
        if (a.id == account.id && a != account) {
            a = account;
            save();
            return;
        }
    }
}

QCoro::Task<> AccountStore::remove(QUuid id)
{
    co_await m_keychain.remove(id);
    const auto removed = m_accounts.removeIf([&](const Account &a) { return a.id == id; });
    if (removed)
        save();
}

void AccountStore::save()
{
    QJsonArray array;
    for (const Account &a : m_accounts)
        array.append(a.toJson());
    m_settings.setValue(QLatin1String(key), QJsonDocument(array).toJson(QJsonDocument::Compact));
    SettingsFile::sync(m_settings);
    Q_EMIT accountsChanged();
}
