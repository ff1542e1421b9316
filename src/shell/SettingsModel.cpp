#include "shell/SettingsModel.h"

#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Sandbox.h"
#include "core/SourceError.h"
#include "core/SystemTexts.h"
#include "shell/Autostart.h"

QCoro::Task<Account> SettingsModel::connectPlatform(Platform platform,
                                                    QMap<QString, QString> values)
{
    const SourceEntry *source = m_poller.sources().find(platform);
    if (!source)
        throw SourceError(Platforms::name(platform) + QStringLiteral(" isn't supported yet"));
    for (QString &value : values)
        value = value.trimmed();
    const QString secret = values.take(QStringLiteral("secret"));
    if (secret.isEmpty())
        throw SourceError(QStringLiteral("Paste the key first"));
    const QString label = co_await source->verify(m_context, secret, values);
    if (Sandbox::labelled(label))
        values = Sandbox::marked(std::move(values));
    Account account{QUuid::createUuid(), platform, label, values, false};
    co_await m_store.add(account, secret);
    afterChange();
    co_return account;
}

SettingsModel::SettingsModel(AccountStore &store, Poller &poller, SourceContext context,
                             Autostart &autostart, QObject *parent)
    : QObject(parent), m_store(store), m_poller(poller), m_context(context), m_autostart(autostart)
{
}

QCoro::Task<> SettingsModel::remove(Account account)
{
    m_poller.events().forget(account.id);
    m_poller.forget(account.id);
    co_await m_store.remove(account.id);
    afterChange();
}

SettingsModel::Health SettingsModel::health(const Account &account) const
{
    if (m_poller.hasError(account.id))
        return {false, m_poller.error(account.id)};
    if (m_poller.hasStatus(account.id))
        return {true, QStringLiteral("Working · ") + m_poller.status(account.id).toLower()};
    return {true, QStringLiteral("Connected · first check soon")};
}

void SettingsModel::setFramerSignedIn(bool on)
{
    if (on == m_framerSignedIn)
        return;
    m_framerSignedIn = on;
    Q_EMIT framerSignedInChanged();
}

void SettingsModel::bumpRefresh()
{
    ++m_refresh;
    Q_EMIT refreshChanged();
}

void SettingsModel::setRestStyle(RestStyle style)
{
    initRestStyle(style);
    onRestStyle(style);
}

void SettingsModel::initRestStyle(RestStyle style)
{
    if (style == m_restStyle)
        return;
    m_restStyle = style;
    Q_EMIT restStyleChanged();
}

void SettingsModel::setInterval(double seconds)
{
    initInterval(seconds);
    onInterval(seconds);
}

void SettingsModel::initInterval(double seconds)
{
    if (seconds == m_interval)
        return;
    m_interval = seconds;
    Q_EMIT intervalChanged();
}

bool SettingsModel::openAtLogin() const
{
    return m_autostart.enabled();
}

void SettingsModel::setOpenAtLogin(bool on)
{
    const auto problem = m_autostart.setEnabled(on);
    setLoginMessage(problem ? SystemTexts::get(SystemTexts::Text::LoginItemRefused) + *problem
                            + SystemTexts::get(SystemTexts::Text::LoginItemAdvice)
                            : QString());
    // The switch shows what the file says, whichever way it went.
    Q_EMIT openAtLoginChanged();
}

void SettingsModel::setLoginMessage(const QString &message)
{
    if (message == m_loginMessage)
        return;
    m_loginMessage = message;
    Q_EMIT loginMessageChanged();
}
