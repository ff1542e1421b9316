#include "core/Revenue.h"

#include <QHash>
#include <limits>

namespace Revenue {

qint64 addSaturating(qint64 a, qint64 b)
{
    qint64 result;
    if (!__builtin_add_overflow(a, b, &result))
        return result;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

std::optional<Money> sum(const QList<SaleEvent> &events)
{
    QHash<QString, int> counts;
    QStringList order; // currencies in the order they are met
    for (const SaleEvent &e : events) {
        if (!e.amount)
            continue;
        if (counts[e.amount->currency]++ == 0)
            order.append(e.amount->currency);
    }
    if (order.isEmpty())
        return std::nullopt;
    QString best = order.first();
    for (const QString &currency : order)
        if (counts[currency] > counts[best])
            best = currency;
    qint64 total = 0;
    for (const SaleEvent &e : events)
        if (e.amount && e.amount->currency == best)
            total = addSaturating(total, e.amount->minor);
    return Money{total, best};
}

}
