#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

// The resume token of a connector that reads several lists in one fetch:
// each unfinished list's own token under its name. A list missing from a
// token was read to the end in that run and need not be read again.
namespace ResumeParts {

// "orders=3&invoices=2"; lists with an empty token are left out, and the
// whole is empty when every list was read to the end.
QString join(const QList<std::pair<QString, QString>> &parts);
// A list's token, or nothing when the token does not name the list.
std::optional<QString> part(const QString &token, const QString &name);

}
