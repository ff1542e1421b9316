#include "moments/Summary.h"

#include "core/Revenue.h"

#include <QSet>
#include <algorithm>

namespace {

constexpr qsizetype topLength = 4;

// Periods sorted as plain text, so ISO days come out oldest first.
QStringList periodsAscending(const QList<FramerRow> &rows)
{
    QSet<QString> distinct;
    for (const FramerRow &row : rows)
        distinct.insert(row.period);
    QStringList periods(distinct.begin(), distinct.end());
    std::sort(periods.begin(), periods.end());
    return periods;
}

QList<FramerRow> rowsOf(const QList<FramerRow> &rows, const QString &period)
{
    QList<FramerRow> of;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(of),
                 [&](const FramerRow &row) { return row.period == period; });
    return of;
}

qint64 sum(const QList<FramerRow> &rows, qint64 FramerRow::*count)
{
    qint64 total = 0;
    for (const FramerRow &row : rows)
        total = Revenue::addSaturating(total, row.*count);
    return total;
}

QList<TodaySummary::Template> topTemplates(const QList<FramerRow> &current)
{
    QList<FramerRow> active;
    std::copy_if(current.begin(), current.end(), std::back_inserter(active),
                 [](const FramerRow &row) { return row.remixes > 0 || row.views > 0; });
    std::stable_sort(active.begin(), active.end(), [](const FramerRow &a, const FramerRow &b) {
        return a.remixes != b.remixes ? a.remixes > b.remixes : a.views > b.views;
    });
    QList<TodaySummary::Template> top;
    for (const FramerRow &row : active.first(std::min(topLength, active.size())))
        top.append({row.title, row.remixes, row.views});
    return top;
}

}

TodaySummary summary(const QList<FramerRow> &rows, const QDateTime &now)
{
    const QStringList periods = periodsAscending(rows);
    TodaySummary s;
    s.updated = now;
    if (periods.isEmpty())
        return s;
    const QList<FramerRow> current = rowsOf(rows, periods.last());
    s.remixes = sum(current, &FramerRow::remixes);
    s.views = sum(current, &FramerRow::views);
    s.top = topTemplates(current);
    if (periods.size() >= 2)
        s.yesterdayRemixes = sum(rowsOf(rows, periods.at(periods.size() - 2)), &FramerRow::remixes);
    return s;
}
