#include "framer/FramerCheck.h"

#include "core/Clock.h"
#include "core/SourceError.h"
#include "framer/FramerLogin.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSource.h"
#include "framer/Watcher.h"
#include "moments/Summary.h"

#include <QSet>
#include <algorithm>

FramerCheck::FramerCheck(FramerProfile &profile, FramerSource &source, Watcher &watcher,
                         FramerLogin &login, Clock &clock, QObject *parent)
    : QObject(parent), m_profile(profile), m_source(source), m_watcher(watcher), m_login(login),
      m_clock(clock)
{
}

QCoro::Task<std::optional<Moment>> FramerCheck::run()
{
    if (!m_login.completed()) {
        // Same as a read that found no session, without starting a web engine.
        m_lastChecked = m_clock.now();
        m_signedIn = false;
        notSignedIn();
        co_return std::nullopt;
    }
    std::optional<Moment> moment;
    try {
        const FramerResult result = co_await m_source.fetch();
        moment = take(result);
    } catch (const std::exception &e) {
        const auto *failure = dynamic_cast<const Failure *>(&e);
        m_lastError = failure ? failure->description() : QString::fromUtf8(e.what());
        // The sentence goes inside another; its own full stop would double up.
        QString reason = m_lastError;
        while (reason.endsWith(u'.'))
            reason.chop(1);
        m_status = QStringLiteral("Check failed: ") + reason + QStringLiteral(". Retrying");
    }
    Q_EMIT changed();
    co_return moment;
}

std::optional<Moment> FramerCheck::take(const FramerResult &result)
{
    m_lastChecked = m_clock.now();
    m_signedIn = result.signedIn;
    if (!result.signedIn) {
        notSignedIn();
        return std::nullopt;
    }
    if (result.status == 200 && result.rows)
        return watch(*result.rows);
    m_status = QStringLiteral("Framer answered %1, will retry").arg(result.status.value_or(0));
    return std::nullopt;
}

std::optional<Moment> FramerCheck::watch(const QList<FramerRow> &rows)
{
    const QDateTime now = m_clock.now();
    m_watcher.log(rows, now);
    const bool baseline = !m_watcher.hasBaseline();
    const auto changes = m_watcher.diff(rows);
    m_summary = ::summary(rows, now);
    m_today = latest(rows);
    QSet<QString> templates;
    for (const FramerRow &row : rows)
        templates.insert(row.id);
    m_status = QStringLiteral("Watching %1 templates").arg(templates.size())
        + (baseline ? QStringLiteral(", baseline saved") : QString());
    m_lastError.clear();
    return Watcher::momentFor(changes);
}

void FramerCheck::notSignedIn()
{
    m_status = QStringLiteral("Not signed in to Framer");
    if (!m_promptedSignIn && openSignIn) {
        m_promptedSignIn = true;
        openSignIn();
    }
    Q_EMIT changed();
}

QList<FramerCheck::TemplateToday> FramerCheck::latest(const QList<FramerRow> &rows)
{
    QString period;
    for (const FramerRow &row : rows)
        period = std::max(period, row.period);
    QList<TemplateToday> list;
    for (const FramerRow &row : rows)
        if (row.period == period && row.remixes > 0)
            list.append({row.title, row.remixes});
    std::stable_sort(list.begin(), list.end(),
                     [](const auto &a, const auto &b) { return a.remixes > b.remixes; });
    return list;
}

QCoro::Task<> FramerCheck::switchAccount()
{
    co_await m_profile.signOut();
    co_await m_source.clearSiteData();
    m_source.markNotReady();
    m_watcher.reset();
    m_login.forget();
    m_signedIn = false;
    m_summary.reset();
    m_today.clear();
    m_status = QStringLiteral("Not signed in to Framer");
    Q_EMIT changed();
    if (openSignIn)
        openSignIn();
}
