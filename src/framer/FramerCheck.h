#pragma once

#include "core/FramerRow.h"
#include "moments/Moment.h"
#include "moments/TodaySummary.h"

#include <QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <functional>
#include <optional>

class Clock;
class FramerLogin;
class FramerProfile;
class FramerSource;
class Watcher;
struct FramerResult;

// The Framer part of a check: reads the statistics, hands them to the
// watcher and keeps what the menu, the notch and the settings show about
// Framer. A user who never completed a Framer sign-in is "not signed in"
// without any web page being made.
class FramerCheck : public QObject {
    Q_OBJECT
public:
    // One template remixed in the latest period, for the menu.
    struct TemplateToday {
        QString title;
        qint64 remixes = 0;
        friend bool operator==(const TemplateToday &, const TemplateToday &) = default;
    };

    FramerCheck(FramerProfile &profile, FramerSource &source, Watcher &watcher, FramerLogin &login,
                Clock &clock, QObject *parent = nullptr);

    // Reads Framer once; returns the moment of its news, if any.
    QCoro::Task<std::optional<Moment>> run();
    // Signs out of Framer, forgets the counters and opens the sign-in window.
    QCoro::Task<> switchAccount();

    const QString &status() const { return m_status; }
    std::optional<bool> signedIn() const { return m_signedIn; }
    std::optional<QDateTime> lastChecked() const { return m_lastChecked; }
    const QList<TemplateToday> &today() const { return m_today; }
    const std::optional<TodaySummary> &summary() const { return m_summary; }
    // The failed read's sentence, empty after a good one.
    const QString &lastError() const { return m_lastError; }

    // Whether the sign-in window was already opened by itself this run (the
    // first-run walkthrough sets it too).
    bool promptedSignIn() const { return m_promptedSignIn; }
    void setPromptedSignIn() { m_promptedSignIn = true; }

    // Opens the sign-in window; not set where no window can open.
    std::function<void()> openSignIn;

Q_SIGNALS:
    void changed();

private:
    std::optional<Moment> take(const FramerResult &result);
    std::optional<Moment> watch(const QList<FramerRow> &rows);
    void notSignedIn();
    static QList<TemplateToday> latest(const QList<FramerRow> &rows);

    FramerProfile &m_profile;
    FramerSource &m_source;
    Watcher &m_watcher;
    FramerLogin &m_login;
    Clock &m_clock;
    QString m_status = QStringLiteral("Not checked yet");
    std::optional<bool> m_signedIn;
    std::optional<QDateTime> m_lastChecked;
    QList<TemplateToday> m_today;
    std::optional<TodaySummary> m_summary;
    QString m_lastError;
    bool m_promptedSignIn = false;
};
