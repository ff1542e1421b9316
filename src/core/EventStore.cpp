#include "core/EventStore.h"

#include "core/AccountKey.h"
#include "core/JsonText.h"
#include "core/PrivateFile.h"
#include "core/StoredDate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>

EventStore::EventStore(QString path) : m_path(std::move(path))
{
    PrivateFile::makeFolder(QFileInfo(m_path).absolutePath());
    load();
}

QString EventStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Korvanta/events.json");
}

QString EventStore::accountKeyOf(const QUuid &account)
{
    return accountKey(account);
}

void EventStore::load()
{
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        return keepAside();
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    file.close();
    if (!doc.isObject())
        return keepAside();
    const QJsonObject root = doc.object();

    const QJsonObject seen = root.value(QLatin1String("seen")).toObject();
    for (auto it = seen.begin(); it != seen.end(); ++it) {
        QSet<QString> ids;
        for (const QJsonValue &id : it.value().toArray())
            if (id.isString())
                ids.insert(id.toString());
        setSeen(it.key(), ids);
    }
    bool damaged = false;
    for (const QJsonValue &value : root.value(QLatin1String("recent")).toArray()) {
        if (auto event = SaleEvent::fromJson(value))
            m_recent.append({*event, event->toCompactJson()});
        else
            damaged = true;
    }
    // What could be read is used; the original stays beside it, since the
    // next save would drop what could not.
    if (damaged)
        PrivateFile::keepCopy(m_path);
    const QJsonObject lastPoll = root.value(QLatin1String("lastPoll")).toObject();
    for (auto it = lastPoll.begin(); it != lastPoll.end(); ++it)
        if (auto at = StoredDate::fromJson(it.value()))
            m_lastPoll.insert(it.key(), *at);
    loadBacklogs(root.value(QLatin1String("backlog")).toObject());
}

void EventStore::loadBacklogs(const QJsonObject &backlogs)
{
    for (auto it = backlogs.begin(); it != backlogs.end(); ++it) {
        const QJsonObject run = it.value().toObject();
        const auto began = StoredDate::fromJson(run.value(QLatin1String("began")));
        if (began)
            m_backlogs.insert(it.key(), {run.value(QLatin1String("resume")).toString(), *began});
    }
}

void EventStore::keepAside()
{
    PrivateFile::keepAside(m_path);
}

QList<SaleEvent> EventStore::ingest(const QList<SaleEvent> &events, const QUuid &account,
                                    const QDateTime &at, const QString &resume)
{
    const QString key = accountKeyOf(account);
    const bool first = !m_lastPoll.contains(key);
    const std::optional<Backlog> run = backlog(account);
    QSet<QString> known = m_seen.value(key);
    QList<SaleEvent> fresh = admit(events, account, at, known);
    settleFailures(fresh, account);

    const QDateTime cutOff = at.addSecs(-keepSeconds);
    for (const SaleEvent &event : fresh)
        m_recent.append({event, event.toCompactJson()});
    m_recent.removeIf([&](const Entry &e) { return e.event.at < cutOff; });

    // Keep only ids that can still come back: this batch's, or still recent.
    QSet<QString> keep;
    for (const SaleEvent &event : events)
        keep.insert(event.id);
    for (const Entry &e : m_recent)
        if (e.event.account == account)
            keep.insert(e.event.id);
    known.intersect(keep);
    setSeen(key, known);

    // A run that began under a clock running ahead still ends no later than now.
    const QDateTime began = run ? std::min(run->began, at) : at;
    if (resume.isEmpty()) {
        m_backlogs.remove(key);
        m_lastPoll.insert(key, began);
    } else {
        m_backlogs.insert(key, {resume, began});
    }
    save();
    if (!first)
        return fresh;
    // The first run only marks what was there; what arrived while it read on is new.
    if (run)
        fresh.removeIf([&](const SaleEvent &e) { return e.at <= run->began; });
    else
        fresh.clear();
    return fresh;
}

QList<SaleEvent> EventStore::admit(const QList<SaleEvent> &events, const QUuid &account,
                                   const QDateTime &at, QSet<QString> &known)
{
    // A payment once stored as failed is new again when it arrives paid
    // (stores written before failures had ids of their own keep the same id).
    QSet<QString> failed;
    for (const Entry &e : m_recent)
        if (e.event.account == account && e.event.kind == SaleEvent::Kind::Failed)
            failed.insert(e.event.id);
    const QDateTime cutOff = at.addSecs(-keepSeconds);
    QList<SaleEvent> fresh;
    for (const SaleEvent &event : events) {
        // Older than what is kept: it may have been announced and forgotten.
        if (event.at < cutOff)
            continue;
        const bool paidAfterFailing =
            event.kind != SaleEvent::Kind::Failed && failed.contains(event.id);
        if (known.contains(event.id) && !paidAfterFailing)
            continue;
        known.insert(event.id);
        failed.remove(event.id);
        fresh.append(event);
    }
    return fresh;
}

void EventStore::settleFailures(QList<SaleEvent> &fresh, const QUuid &account)
{
    // A failed payment that is paid no longer counts: the payment does.
    QSet<QString> settled;
    for (const SaleEvent &event : fresh)
        if (event.kind != SaleEvent::Kind::Failed) {
            settled.insert(SaleEvent::failedId(event.id));
            settled.insert(event.id);
        }
    const auto isSettled = [&](const SaleEvent &e) {
        return e.account == account && e.kind == SaleEvent::Kind::Failed && settled.contains(e.id);
    };
    m_recent.removeIf([&](const Entry &e) { return isSettled(e.event); });
    fresh.removeIf(isSettled);
}

void EventStore::forget(const QUuid &account)
{
    const QString key = accountKeyOf(account);
    m_seen.remove(key);
    m_seenJson.remove(key);
    m_lastPoll.remove(key);
    m_backlogs.remove(key);
    m_recent.removeIf([&](const Entry &e) { return e.event.account == account; });
    save();
}

QList<SaleEvent> EventStore::today(const QDateTime &now) const
{
    const QDateTime start = now.toLocalTime().date().startOfDay();
    QList<SaleEvent> result;
    for (const Entry &e : m_recent)
        if (e.event.at >= start)
            result.append(e.event);
    std::stable_sort(result.begin(), result.end(),
                     [](const SaleEvent &a, const SaleEvent &b) { return a.at > b.at; });
    return result;
}

QList<SaleEvent> EventStore::yesterday(const QDateTime &now) const
{
    const QDateTime end = now.toLocalTime().date().startOfDay();
    const QDateTime start = end.addSecs(-86400);
    QList<SaleEvent> result;
    for (const Entry &e : m_recent)
        if (e.event.at >= start && e.event.at < end)
            result.append(e.event);
    return result;
}

void EventStore::restartBacklog(const QUuid &account)
{
    const auto it = m_backlogs.find(accountKeyOf(account));
    if (it == m_backlogs.end() || it->resume.isEmpty())
        return;
    it->resume.clear();
    save();
}

std::optional<Backlog> EventStore::backlog(const QUuid &account) const
{
    const auto it = m_backlogs.constFind(accountKeyOf(account));
    return it == m_backlogs.cend() ? std::nullopt : std::optional(*it);
}

std::optional<QDateTime> EventStore::lastPoll(const QUuid &account) const
{
    const auto it = m_lastPoll.constFind(accountKeyOf(account));
    return it == m_lastPoll.cend() ? std::nullopt : std::optional(*it);
}

QList<SaleEvent> EventStore::recent() const
{
    QList<SaleEvent> result;
    result.reserve(m_recent.size());
    for (const Entry &e : m_recent)
        result.append(e.event);
    return result;
}

void EventStore::setSeen(const QString &key, const QSet<QString> &ids)
{
    m_seen.insert(key, ids);
    QByteArray json = "[";
    for (const QString &id : ids) {
        if (json.size() > 1)
            json.append(',');
        appendJsonString(json, id);
    }
    m_seenJson.insert(key, json + ']');
}

const QByteArray &EventStore::encode() const
{
    // One buffer, sized up front and kept between saves: a save then costs
    // little more than copying the pieces each event was encoded into once.
    qsizetype size = 64;
    for (const QByteArray &seen : m_seenJson)
        size += seen.size() + 48;
    for (const Entry &e : m_recent)
        size += e.json.size() + 1;
    size += m_lastPoll.size() * 72 + m_backlogs.size() * 160;
    QByteArray &out = m_buffer;
    out.resize(0);
    out.reserve(size);
    out.append("{\"seen\":{");
    bool firstKey = true;
    for (auto it = m_seenJson.cbegin(); it != m_seenJson.cend(); ++it) {
        if (!std::exchange(firstKey, false))
            out.append(',');
        appendJsonString(out, it.key());
        out.append(':').append(it.value());
    }
    out.append("},\"recent\":[");
    for (qsizetype i = 0; i < m_recent.size(); ++i) {
        if (i)
            out.append(',');
        out.append(m_recent[i].json);
    }
    out.append("],\"lastPoll\":{");
    firstKey = true;
    for (auto it = m_lastPoll.cbegin(); it != m_lastPoll.cend(); ++it) {
        if (!std::exchange(firstKey, false))
            out.append(',');
        appendJsonString(out, it.key());
        out.append(':');
        appendJsonNumber(out, StoredDate::toSeconds(it.value()));
    }
    out.append('}');
    appendBacklogs(out);
    out.append('}');
    return out;
}

void EventStore::appendBacklogs(QByteArray &out) const
{
    // Written only while a run is unfinished, so other files keep their form.
    if (m_backlogs.isEmpty())
        return;
    out.append(",\"backlog\":{");
    bool firstKey = true;
    for (auto it = m_backlogs.cbegin(); it != m_backlogs.cend(); ++it) {
        if (!std::exchange(firstKey, false))
            out.append(',');
        appendJsonString(out, it.key());
        out.append(":{\"resume\":");
        appendJsonString(out, it->resume);
        out.append(",\"began\":");
        appendJsonNumber(out, StoredDate::toSeconds(it->began));
        out.append('}');
    }
    out.append('}');
}

void EventStore::save() const
{
    // A failed write leaves the previous file whole; the next save writes everything.
    PrivateFile::replace(m_path, encode());
}
