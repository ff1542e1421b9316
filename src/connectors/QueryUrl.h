#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <utility>

using QueryItems = QList<std::pair<QString, QString>>;

// Builds "base/path?name=value&..." with the items in the given order, a
// repeated name giving one item per value, and every value fully
// percent-encoded ("+" and ":" in dates survive as themselves).
QUrl queryUrl(const QUrl &base, const QString &path, const QueryItems &items = {});
