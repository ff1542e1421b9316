#include "framer/FramerSource.h"

#include "core/Clock.h"
#include "core/TimeLimit.h"
#include "framer/FramerPage.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSite.h"
#include "framer/FramerTimedOut.h"
#include "framer/LoadWait.h"
#include "framer/PageScript.h"

#include <QCoroSignal>
#include <QTimeZone>

namespace {

// The wire protocol with Framer: run as written, as the body of an
// asynchronous function of `from` and `to`.
constexpr const char *statsLines[] = {
    "const t = () => AbortSignal.timeout(20000);",
    "const a = await fetch('/creators/api/account/', {credentials: 'include', signal: t()});",
    "if (a.status !== 200) return JSON.stringify({signedIn: false, status: a.status});",
    "const acc = await a.json();",
    "const id = acc && acc.user && acc.user.framerUserId;",
    "if (!id) return JSON.stringify({signedIn: false, status: 0});",
    "const r = await fetch(`/creators/api/unified/creator/${id}/resource-stats/"
    "?granularity=day&from=${from}&to=${to}&algorithm=trending`, {credentials: 'include', "
    "signal: t()});",
    "if (r.status !== 200) return JSON.stringify({signedIn: true, status: r.status, rows: []});",
    "const j = await r.json();",
    "const rows = [];",
    "for (const x of (j.resources || [])) {",
    "  for (const s of ((x.stats && x.stats.series) || [])) {",
    "    rows.push({id: String(x.resource.id), title: x.resource.title || x.resource.slug,",
    "               period: s.period, remixes: s.remixes || 0, views: s.views || 0, "
    "conversions: s.conversions || 0});",
    "  }",
    "}",
    "return JSON.stringify({signedIn: true, status: 200, rows});",
};

}

constexpr const char *clearScript =
    "localStorage.clear(); sessionStorage.clear();\n"
    "if (indexedDB.databases) for (const d of await indexedDB.databases()) "
    "indexedDB.deleteDatabase(d.name);\n"
    "if (window.caches) for (const k of await caches.keys()) await caches.delete(k);\n"
    "if (navigator.serviceWorker) for (const r of await navigator.serviceWorker.getRegistrations()) "
    "await r.unregister();\n"
    "return true;";

FramerSource::FramerSource(FramerProfile &profile, Clock &clock, QObject *parent)
    : QObject(parent), m_profile(profile), m_clock(clock)
{
}

FramerSource::~FramerSource()
{
    finishLoad();
}

QString FramerSource::statsScript()
{
    QStringList lines;
    for (const char *line : statsLines)
        lines.append(QString::fromUtf8(line));
    return lines.join(u'\n');
}

std::pair<QString, QString> FramerSource::window(const QDateTime &now)
{
    const QDateTime utc = now.toTimeZone(QTimeZone::utc());
    const QString format = QStringLiteral("yyyy-MM-dd");
    return {utc.addSecs(-86400).toString(format), utc.toString(format)};
}

QCoro::Task<FramerResult> FramerSource::fetch()
{
    auto result = co_await limitedWait(m_clock, limit, fetchOnce());
    if (!result) {
        recycle();
        throw FramerTimedOut(limit);
    }
    co_return std::move(*result);
}

QCoro::Task<FramerResult> FramerSource::fetchOnce()
{
    co_await ensureOnFramer();
    const auto days = window(m_clock.now());
    QList<PageScript::Argument> arguments;
    arguments.append({QStringLiteral("from"), days.first});
    arguments.append({QStringLiteral("to"), days.second});
    const QJsonValue value = co_await m_page->script().run(statsScript(), std::move(arguments));
    if (!value.isString())
        throw Failure(QStringLiteral("Framer returned nothing readable"));
    co_return FramerResult::decode(value.toString().toUtf8());
}

QCoro::Task<> FramerSource::clearSiteData()
{
    try {
        if (!co_await limitedWait(m_clock, limit, clearOnce()))
            recycle();
    } catch (const std::exception &) {
    }
}

QCoro::Task<bool> FramerSource::clearOnce()
{
    co_await ensureOnFramer();
    co_await m_page->script().run(QString::fromUtf8(clearScript));
    co_return true;
}

QCoro::Task<> FramerSource::ensureOnFramer()
{
    if (!m_page)
        makePage();
    // The engine keeps a failed load's address, so a failed load counts as off Framer.
    if (m_ready && m_loadedOk && m_page->url().host() == QLatin1String(FramerSite::webHost))
        co_return;
    const int generation = m_generation;
    finishLoad();
    auto wait = std::make_shared<LoadWait>();
    m_loaded = wait;
    m_page->load(FramerSite::home());
    co_await qCoro(wait.get(), &LoadWait::ended);
    // A recycled page means this read was abandoned; its answer is dropped.
    if (generation != m_generation)
        throw Failure(QStringLiteral("Framer returned nothing readable"));
    m_ready = true;
}

void FramerSource::makePage()
{
    m_page = std::make_unique<FramerPage>(m_profile);
    m_ready = false;
    FramerPage *page = m_page.get();
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_loadedOk = ok;
        finishLoad();
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        finishLoad();
        m_ready = false;
    });
}

void FramerSource::finishLoad()
{
    if (const auto wait = std::exchange(m_loaded, nullptr))
        QMetaObject::invokeMethod(wait.get(), &LoadWait::ended, Qt::QueuedConnection);
}

void FramerSource::recycle()
{
    finishLoad();
    if (m_page) {
        m_page->disconnect(this);
        m_page->triggerAction(QWebEnginePage::Stop);
        m_page.reset();
    }
    ++m_generation;
    m_ready = false;
}
