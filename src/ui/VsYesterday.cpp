#include "ui/TodayFigures.h"

#include "core/Revenue.h"

namespace {

QList<SaleEvent> withoutFailed(const QList<SaleEvent> &events)
{
    QList<SaleEvent> kept;
    for (const SaleEvent &e : events)
        if (e.kind != SaleEvent::Kind::Failed)
            kept.append(e);
    return kept;
}

// (t − y) / y × 100 rounded half away from zero, in integers so that exact
// halves are never lost to floating point.
qint64 percentChange(qint64 t, qint64 y)
{
    const __int128 num = (__int128(t) - y) * 100;
    __int128 q = num / y;
    const __int128 r = num % y;
    const __int128 absR = r < 0 ? -r : r;
    const __int128 absY = y < 0 ? -__int128(y) : __int128(y);
    if (r != 0 && 2 * absR >= absY)
        q += ((num < 0) != (y < 0)) ? -1 : 1;
    const __int128 limit = std::numeric_limits<qint64>::max();
    return qint64(std::clamp(q, -limit, limit));
}

}

namespace TodayFigures {

QString vsYesterday(const QList<SaleEvent> &today, const QList<SaleEvent> &yesterday,
                    const QDateTime &now)
{
    const std::optional<Money> t = Revenue::sum(withoutFailed(today));
    if (!t)
        return QStringLiteral("–");
    const QDateTime sameMoment = now.addSecs(-86400);
    qint64 y = 0;
    for (const SaleEvent &e : withoutFailed(yesterday))
        if (e.amount && e.amount->currency == t->currency && e.at <= sameMoment)
            y = Revenue::addSaturating(y, e.amount->minor);
    if (y == 0)
        return t->minor > 0 ? QStringLiteral("New") : QStringLiteral("–");
    const qint64 p = percentChange(t->minor, y);
    if (p >= 0)
        return u'+' + QString::number(p) + u'%';
    return QChar(0x2212) + QString::number(-p) + u'%';
}

}
