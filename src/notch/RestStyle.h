#pragma once

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>
#include <optional>

// What the island shows between moments, stored under "restStyle".
namespace RestStyles {
Q_NAMESPACE

enum class RestStyle { Hidden, Dot, Total };
Q_ENUM_NS(RestStyle)

const QList<RestStyle> &all();
QString rawValue(RestStyle style);
// "Hidden", "Dot", "Today's total": the menu's and walkthrough's labels.
QString label(RestStyle style);
std::optional<RestStyle> fromRaw(const QString &raw);

// A missing or unrecognised stored value means Total.
RestStyle stored(const QSettings &settings);
void store(QSettings &settings, RestStyle style);
}

using RestStyle = RestStyles::RestStyle;
