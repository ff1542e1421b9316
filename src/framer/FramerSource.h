#pragma once

#include "framer/FramerResult.h"

#include <QCoroTask>
#include <QDateTime>
#include <QObject>
#include <chrono>
#include <memory>

class Clock;
class FramerPage;
class FramerProfile;
class LoadWait;

// Reads the signed-in user's template statistics through Framer's own
// creator endpoints, from inside an off-screen page on Framer's origin, so
// the requests carry the session the sign-in window left in the profile.
// The page is made on the first read and reused; it is on Framer once a home
// load has ended, and then a read costs two small requests.
class FramerSource : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds limit{45};

    FramerSource(FramerProfile &profile, Clock &clock, QObject *parent = nullptr);
    ~FramerSource() override;

    // One reading within the time limit. On time-out the page is recycled and
    // FramerTimedOut thrown; other failures come through unchanged.
    QCoro::Task<FramerResult> fetch();

    // Removes what Framer's origin stored in the profile (local and session
    // storage, databases, caches, service workers), within the time limit.
    // A failure is silent: signing out is the cookies' going.
    QCoro::Task<> clearSiteData();

    // Ends a load wait in progress and drops the page; the next read makes a
    // new one.
    void recycle();
    // The next read loads the home page again (after the sign-in window closed,
    // or the account switch).
    void markNotReady() { m_ready = false; }

    bool isReady() const { return m_ready; }
    bool hasPage() const { return m_page != nullptr; }
    FramerPage *page() const { return m_page.get(); }
    // The yesterday-and-today window in UTC, "yyyy-MM-dd".
    static std::pair<QString, QString> window(const QDateTime &now);
    static QString statsScript();

private:
    QCoro::Task<FramerResult> fetchOnce();
    QCoro::Task<bool> clearOnce();
    QCoro::Task<> ensureOnFramer();
    void makePage();
    void finishLoad();

    FramerProfile &m_profile;
    Clock &m_clock;
    std::unique_ptr<FramerPage> m_page;
    std::shared_ptr<LoadWait> m_loaded;
    bool m_ready = false;
    bool m_loadedOk = false; // the last load of the page succeeded
    int m_generation = 0;    // pages made so far; a recycled page ends its reads
};
