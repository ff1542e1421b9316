#include "ui/AccountsModel.h"

#include "connectors/Poller.h"
#include "core/AccountKey.h"
#include "core/AccountStore.h"
#include "core/SystemTexts.h"
#include "shell/SettingsModel.h"
#include "ui/Blurbs.h"
#include "ui/ConnectFormModel.h"

AccountsModel::AccountsModel(SettingsModel &settings, AccountStore &store, Poller &poller,
                             QObject *parent)
    : QObject(parent), m_settings(settings), m_store(store), m_poller(poller)
{
    connect(&m_store, &AccountStore::accountsChanged, this, &AccountsModel::changed);
    connect(&m_poller, &Poller::linesChanged, this, &AccountsModel::changed);
    connect(&m_settings, &SettingsModel::framerSignedInChanged, this, &AccountsModel::changed);
    connect(&m_settings, &SettingsModel::refreshChanged, this, &AccountsModel::changed);
}

void AccountsModel::add(const QString &platform)
{
    const auto p = Platforms::fromRaw(platform);
    if (!p)
        return;
    if (m_form)
        m_form->deleteLater();
    m_form = new ConnectFormModel(*p, m_settings, m_poller.sources(), this);
    connect(m_form, &ConnectFormModel::connected, this, &AccountsModel::closeSheet);
    Q_EMIT formChanged();
}

void AccountsModel::closeSheet()
{
    if (!m_form)
        return;
    m_form->deleteLater();
    m_form = nullptr;
    Q_EMIT formChanged();
}

void AccountsModel::remove(const QString &id)
{
    removeNow(id);
}

// No confirmation: the account can be connected again with its key.
QCoro::Task<> AccountsModel::removeNow(const QString &id)
{
    for (const Account &a : m_store.accounts())
        if (accountKey(a.id) == id) {
            co_await m_settings.remove(a);
            co_return;
        }
}

void AccountsModel::connectFramer()
{
    m_settings.connectFramer();
}

void AccountsModel::switchFramer()
{
    m_settings.switchFramer();
}

QVariantList AccountsModel::connected() const
{
    QVariantList list;
    for (const Account &a : m_store.accounts()) {
        const SettingsModel::Health health = m_settings.health(a);
        list.append(QVariantMap{{QStringLiteral("id"), accountKey(a.id)},
                                {QStringLiteral("platform"), Platforms::rawValue(a.platform)},
                                {QStringLiteral("label"), a.label},
                                {QStringLiteral("ok"), health.ok},
                                {QStringLiteral("health"), health.text}});
    }
    return list;
}

bool AccountsModel::framerSignedIn() const
{
    return m_settings.framerSignedIn();
}

bool AccountsModel::nothingConnected() const
{
    return m_store.accounts().isEmpty() && !m_settings.framerSignedIn();
}

QVariantList AccountsModel::addable() const
{
    QVariantList list;
    for (Platform p : Platforms::all())
        if (p != Platform::Framer && m_poller.sources().find(p))
            list.append(QVariantMap{{QStringLiteral("platform"), Platforms::rawValue(p)},
                                    {QStringLiteral("name"), Platforms::name(p)},
                                    {QStringLiteral("blurb"), Blurbs::of(p)}});
    return list;
}

QString AccountsModel::footer()
{
    return SystemTexts::get(SystemTexts::Text::KeysStayLocal);
}
