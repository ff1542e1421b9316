#include "shell/FramerReadHandler.h"

#include "framer/Watcher.h"
#include "moments/Summary.h"
#include "notch/NotchModel.h"

#include <QSet>
#include <algorithm>

namespace {

const QString notSignedIn = QStringLiteral("Not signed in to Framer");

// The rows of the latest period, most remixed first.
QList<FramerStatus::Remixed> latestRemixed(const QList<FramerRow> &rows)
{
    QString latest;
    for (const FramerRow &row : rows)
        latest = std::max(latest, row.period);
    QList<FramerStatus::Remixed> list;
    for (const FramerRow &row : rows)
        if (row.period == latest)
            list.append({row.title, row.remixes});
    std::stable_sort(list.begin(), list.end(),
                     [](const auto &a, const auto &b) { return a.remixes > b.remixes; });
    return list;
}

qsizetype templateCount(const QList<FramerRow> &rows)
{
    QSet<QString> ids;
    for (const FramerRow &row : rows)
        ids.insert(row.id);
    return ids.size();
}

}

bool FramerReadHandler::apply(FramerStatus &state, const FramerReading &reading, const QDateTime &now)
{
    state.lastChecked = now;
    state.signedIn = reading.signedIn;
    m_notch.setSignedIn(reading.signedIn);
    if (!reading.signedIn) {
        state.status = notSignedIn;
        if (state.promptedSignIn)
            return false;
        state.promptedSignIn = true;
        return true;
    }
    if (reading.status == 200 && reading.rows)
        applyRows(state, *reading.rows, now);
    else
        state.status = QStringLiteral("Framer answered %1, will retry").arg(reading.status);
    return false;
}

void FramerReadHandler::applyRows(FramerStatus &state, const QList<FramerRow> &rows, const QDateTime &now)
{
    m_watcher.log(rows, now);
    const bool hadBaseline = m_watcher.hasBaseline();
    const QList<Watcher::Change> changes = m_watcher.diff(rows);
    m_notch.setToday(summary(rows, now));
    state.today = latestRemixed(rows);
    state.status = QStringLiteral("Watching %1 templates").arg(templateCount(rows))
        + (hadBaseline ? QString() : QStringLiteral(", baseline saved"));
    if (const auto moment = Watcher::momentFor(changes))
        m_notch.show(*moment);
    m_notch.setLastError(std::nullopt);
}

void FramerReadHandler::fail(FramerStatus &state, const QString &description)
{
    // The sentence goes inside another; its own full stop would double up.
    QString reason = description;
    while (reason.endsWith(u'.'))
        reason.chop(1);
    state.status = QStringLiteral("Check failed: ") + reason + QStringLiteral(". Retrying");
    m_notch.setLastError(description);
}

void FramerReadHandler::signOut(FramerStatus &state)
{
    m_watcher.reset();
    state.signedIn = false;
    m_notch.setSignedIn(false);
    m_notch.setToday(std::nullopt);
    state.today.clear();
    state.status = notSignedIn;
}
