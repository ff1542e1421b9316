#pragma once

#include "core/SaleEvent.h"

#include <QStringList>

// One line per event, "id kind title | minor CURRENCY @ MM-dd hh:mm:ss.zzz" (UTC;
// "no amount" when it has none), so a whole fetch is compared at once. An
// event of another platform or account says so.
inline QStringList eventLines(const QList<SaleEvent> &events, Platform platform,
                              const QUuid &account)
{
    QStringList lines;
    for (const SaleEvent &e : events) {
        const QString amount = e.amount
            ? QStringLiteral("%1 %2").arg(e.amount->minor).arg(e.amount->currency)
            : QStringLiteral("no amount");
        QString line = QStringLiteral("%1 %2 %3 | %4 @ %5")
                           .arg(e.id, SaleEvent::kindName(e.kind), e.title, amount,
                                e.at.toUTC().toString(QStringLiteral("MM-dd hh:mm:ss.zzz")));
        if (e.platform != platform || e.account != account)
            line += QStringLiteral(" (another account)");
        lines.append(line);
    }
    return lines;
}
