#include "core/Keychain.h"

#include "core/AccountKey.h"
#include "core/SourceError.h"
#include "core/SystemTexts.h"

#include <QCoroSignal>
#include <qt6keychain/keychain.h>

namespace {

// Starts a job and waits for it at most `limit`. An unanswered job (a locked
// keyring waiting on an unlock prompt) is left to finish or die on its own.
template <typename Job>
QCoro::Task<std::optional<QKeychain::Error>> run(Job *job, std::chrono::milliseconds limit,
                                                 QString *errorText = nullptr,
                                                 QString *text = nullptr)
{
    job->setAutoDelete(true);
    job->start();
    const auto finished = co_await qCoro(job, &QKeychain::Job::finished, limit);
    if (!finished)
        co_return std::nullopt;
    if (errorText)
        *errorText = job->errorString();
    if constexpr (std::is_same_v<Job, QKeychain::ReadPasswordJob>) {
        if (text && job->error() == QKeychain::NoError)
            *text = job->textData();
    }
    co_return job->error();
}

}

Keychain::Keychain(QString serviceName, Limits limits)
    : m_service(std::move(serviceName)), m_limits(limits)
{
}

QCoro::Task<Keychain::Read> Keychain::get(const QUuid &id)
{
    const QString name = accountKey(id);
    if (const auto it = m_cache.constFind(name); it != m_cache.cend())
        co_return Read{*it, std::nullopt};
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(name);
    QString errorText, text;
    const auto error = co_await run(job, m_limits.read, &errorText, &text);
    if (!error)
        co_return Read{std::nullopt, SystemTexts::get(SystemTexts::Text::KeyringNoAnswer)};
    if (*error == QKeychain::EntryNotFound)
        co_return Read{};
    if (*error != QKeychain::NoError)
        co_return Read{std::nullopt, errorText};
    m_cache.insert(name, text);
    co_return Read{text, std::nullopt};
}

QCoro::Task<> Keychain::set(const QString &secret, const QUuid &id)
{
    const QString name = accountKey(id);
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(name);
    job->setTextData(secret);
    QString errorText;
    const auto error = co_await run(job, m_limits.write, &errorText);
    if (!error)
        throw SourceError(SystemTexts::get(SystemTexts::Text::KeyringNoAnswer));
    if (*error != QKeychain::NoError)
        throw SourceError(SystemTexts::get(SystemTexts::Text::KeyringRefused) + errorText);
    m_cache.insert(name, secret);
}

QCoro::Task<> Keychain::remove(const QUuid &id)
{
    const QString name = accountKey(id);
    m_cache.remove(name);
    auto *job = new QKeychain::DeletePasswordJob(m_service);
    job->setKey(name);
    co_await run(job, m_limits.write);
}
