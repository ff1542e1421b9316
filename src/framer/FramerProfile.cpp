#include "framer/FramerProfile.h"

#include "core/EventStore.h"
#include "framer/FramerSite.h"

#include <QFileInfo>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

FramerProfile::FramerProfile(FramerWebRoutes routes, QString storagePath, QObject *parent)
    : QObject(parent), m_routes(std::move(routes)), m_storagePath(std::move(storagePath))
{
}

FramerProfile::~FramerProfile() = default;

QString FramerProfile::defaultPath()
{
    return QFileInfo(EventStore::defaultPath()).absolutePath() + QStringLiteral("/framer-web");
}

QWebEngineProfile &FramerProfile::profile()
{
    if (m_profile)
        return *m_profile;
    m_profile = std::make_unique<QWebEngineProfile>(QStringLiteral("Framer"));
    m_profile->setPersistentStoragePath(m_storagePath);
    // The HTTP cache stays in memory: nothing of one account's pages outlives
    // the run, and clearing a disk cache stalls the engine's next load here.
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    // Framer's session cookie may have no expiry; the user stays signed in
    // across restarts all the same.
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    m_profile->setHttpUserAgent(QString::fromLatin1(FramerSite::userAgent()));
    QWebEngineCookieStore *store = m_profile->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, this,
            [this](const QNetworkCookie &c) { track(c, true); });
    connect(store, &QWebEngineCookieStore::cookieRemoved, this,
            [this](const QNetworkCookie &c) { track(c, false); });
    return *m_profile;
}

void FramerProfile::track(const QNetworkCookie &cookie, bool added)
{
    QString domain = cookie.domain();
    if (domain.startsWith(u'.'))
        domain.remove(0, 1);
    if (!FramerSite::isInDomain(domain))
        return;
    m_cookies.removeIf([&](const QNetworkCookie &c) { return c.hasSameIdentifier(cookie); });
    if (added)
        m_cookies.append(cookie);
}

QList<QNetworkCookie> FramerProfile::framerCookies() const
{
    return m_cookies;
}

QCoro::Task<> FramerProfile::signOut()
{
    QWebEngineProfile &p = profile();
    p.cookieStore()->deleteAllCookies();
    p.clearAllVisitedLinks();
    m_cookies.clear();
    co_return;
}
