#pragma once

#include "core/EventStore.h"
#include "support/RunTask.h"

#include <QStringList>
#include <QTemporaryDir>

// What a real event store announces over `checks` successive checks of one
// account, after the account's first poll: "kind id" for every announced
// event, in order. `fetch(i)` is the connector's fetch at the i-th check.
template <typename Fetch>
QStringList announcedOverChecks(const QUuid &account, const QDateTime &at, int checks, Fetch fetch)
{
    QTemporaryDir dir;
    EventStore store(dir.filePath(QStringLiteral("events.json")));
    store.ingest({}, account, at);
    QStringList announced;
    for (int i = 0; i < checks; ++i)
        for (const SaleEvent &e : store.ingest(runTask(fetch(i)), account, at))
            announced.append(SaleEvent::kindName(e.kind) + u' ' + e.id);
    return announced;
}
