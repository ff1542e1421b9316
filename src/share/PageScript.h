#pragma once

#include <QString>
#include <QVariant>

// The script texts that call our share page's functions. A value that has
// no faithful JSON form becomes "{}", so the page is still called and never
// receives half-converted data.
namespace PageScript {
QString json(const QVariant &value);
QString load(const QVariantMap &data, const QVariantMap &state);
QString exportCard(const QVariantMap &data, const QVariantMap &state);
QString toast(const QString &message);
}
