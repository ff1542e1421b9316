#pragma once

#include "core/SaleEvent.h"
#include "moments/TodaySummary.h"
#include "ui/TodayTab.h"

#include <QLocale>
#include <optional>

// What the dashboard shows for one tab, computed from the notch model's
// state. Everything here is a plain function of its inputs, so the view
// does no arithmetic and every figure is tested in C++.
struct TodayInput {
    TodayTab tab;
    qsizetype tabCount = 1;
    QList<SaleEvent> sales;     // today
    QList<SaleEvent> yesterday; // yesterday, the whole day
    std::optional<TodaySummary> summary;
    QDateTime now;
    QLocale locale;
};

struct TodayStat {
    QString label;
    QString value;
    friend bool operator==(const TodayStat &, const TodayStat &) = default;
};

struct TopRow {
    QString title;
    QString detail;
    QString amount;
    std::optional<Platform> platform; // shown as a logo on the "all" tab
    friend bool operator==(const TopRow &, const TopRow &) = default;
};

namespace TodayFigures {
QString title(const TodayInput &in);
QString subtitle(const TodayInput &in);
QList<TodayStat> stats(const TodayInput &in);
// Today's revenue against yesterday's up to the same moment: "+12%", "−3%", "New", "–".
QString vsYesterday(const QList<SaleEvent> &today, const QList<SaleEvent> &yesterday,
                    const QDateTime &now);
QList<TopRow> topRows(const TodayInput &in);
// "Checking…" before the first check, then how long ago it was.
QString statusLine(const std::optional<QDateTime> &lastCheck, const QDateTime &now);
QString updatedText(qint64 seconds);
// 1st, 2nd, 3rd… in the locale's own ordinal spelling.
QString ordinal(qint64 n, const QLocale &locale);

// The tab's events: one account's, or all of them.
QList<SaleEvent> ofTab(const QList<SaleEvent> &events, const TodayTab &tab);
}
