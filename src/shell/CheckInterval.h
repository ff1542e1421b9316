#pragma once

#include <QList>
#include <QSettings>
#include <QString>

// Seconds between two checks, stored under "interval". A stored value that
// is missing or not above 0 means two minutes.
namespace CheckInterval {
constexpr double fallback = 120;

struct Choice {
    QString title; // "1 minute", "2 minutes", "5 minutes"
    double seconds = 0;
};
const QList<Choice> &choices();

double effective(const QSettings &settings);
void store(QSettings &settings, double seconds);
}
