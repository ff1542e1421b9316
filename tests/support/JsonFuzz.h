#pragma once

#include "core/SaleEvent.h"
#include "core/SourceError.h"
#include "support/RunTask.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QRandomGenerator>
#include <algorithm>
#include <limits>
#include <stdexcept>

// Damaged versions of a realistic answer body, the same for a given seed:
// the body cut short, values swapped for values of other types, bytes
// flipped, and odd whole bodies. Connector tests feed them through `fetch`.
namespace JsonFuzz {

inline QJsonValue oddValue(QRandomGenerator &random)
{
    static const QList<QJsonValue> values{
        QJsonValue::Null,
        true,
        0,
        -1,
        12.5,
        1e300,
        qint64(9007199254740993),
        QString(),
        QStringLiteral("x"),
        QStringLiteral("2026-12-05T12:30:00Z"),
        QStringLiteral("2026-13-45T99:99:99Z"),
        QStringLiteral("+12x"),
        QJsonArray(),
        QJsonObject(),
        QJsonArray{1, QStringLiteral("a"), QJsonObject{{QStringLiteral("id"), 5}}},
        QJsonObject{{QStringLiteral("id"), QStringLiteral("x")}, {QStringLiteral("name"), 3}}};
    return values[random.bounded(values.size())];
}

// Replaces the node at pre-order position `index` (counted down as nodes pass).
inline QJsonValue replaceNode(const QJsonValue &value, int &index, const QJsonValue &with)
{
    if (index-- == 0)
        return with;
    if (value.isObject()) {
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end() && index >= 0; ++it)
            *it = replaceNode(*it, index, with);
        return object;
    }
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size() && index >= 0; ++i)
            array[i] = replaceNode(array[i], index, with);
        return array;
    }
    return value;
}

inline QByteArray swapped(const QJsonValue &root, QRandomGenerator &random)
{
    QJsonValue value = root;
    for (int n = 1 + random.bounded(3); n > 0; --n) {
        // The nodes are counted by the same walk, looking for one past them all.
        int past = std::numeric_limits<int>::max();
        replaceNode(value, past, {});
        int index = random.bounded(std::numeric_limits<int>::max() - past);
        value = replaceNode(value, index, oddValue(random));
    }
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return doc.toJson(QJsonDocument::Compact);
}

inline QByteArray flipped(QByteArray body, QRandomGenerator &random)
{
    static const QByteArray pieces("{}[]\",:0a\\ \x01\xff-.e");
    for (int n = 1 + random.bounded(4); n > 0 && !body.isEmpty(); --n)
        body[random.bounded(body.size())] = pieces[random.bounded(pieces.size())];
    return body;
}

inline QByteArray oddBody(QRandomGenerator &random)
{
    static const QList<QByteArray> bodies{"",
                                          "null",
                                          "[]",
                                          "42",
                                          "\"x\"",
                                          "{}",
                                          "[{}]",
                                          "{\"data\":",
                                          "\xef\xbb\xbf{}",
                                          "{\"data\":[],\"items\":{}}"};
    if (random.bounded(2) == 0)
        return bodies[random.bounded(bodies.size())];
    QByteArray noise(random.bounded(64), '\0');
    for (char &c : noise)
        c = char(random.bounded(256));
    return noise;
}

inline QList<QByteArray> variants(const QByteArray &sample, int count, quint32 seed)
{
    QRandomGenerator random(seed);
    const QJsonDocument doc = QJsonDocument::fromJson(sample);
    const QJsonValue root = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    QList<QByteArray> out;
    // Cut short, values swapped (twice as often), bytes flipped, odd bodies.
    for (int i = 0; i < count; ++i)
        out.append(i % 5 == 0       ? sample.left(random.bounded(sample.size()))
                       : i % 5 < 3  ? swapped(root, random)
                       : i % 5 == 3 ? flipped(sample, random)
                                    : oddBody(random));
    return out;
}

// How a run of fetches over damaged bodies ended.
struct Outcomes {
    int events = 0;   // fetches that returned well-formed events (or none)
    int failures = 0; // fetches that threw a Failure
    int faults = 0;   // anything else: another exception or a malformed event
};

inline bool wellFormed(const SaleEvent &event, const QUuid &account)
{
    return !event.id.isEmpty() && event.account == account && event.at.isValid()
        && (!event.amount || !event.amount->currency.isEmpty());
}

// Runs one fetch per body; `serve` puts the body on the fake server first.
template <typename Serve, typename Fetch>
Outcomes feed(const QList<QByteArray> &bodies, const QUuid &account, Serve serve, Fetch fetch)
{
    Outcomes outcomes;
    for (const QByteArray &body : bodies) {
        serve(body);
        try {
            const QList<SaleEvent> events = runTask(fetch());
            const bool ok = std::all_of(events.begin(), events.end(),
                                        [&](const SaleEvent &e) { return wellFormed(e, account); });
            ++(ok ? outcomes.events : outcomes.faults);
        } catch (const Failure &) {
            ++outcomes.failures;
        } catch (...) {
            ++outcomes.faults;
        }
    }
    return outcomes;
}

// A fetch whose events must also pass a connector's own `check` (say, every
// event has a title); an event that fails it counts as a fault in `feed`.
template <typename Events, typename Check>
QCoro::Task<Events> checked(QCoro::Task<Events> fetch, Check check)
{
    Events events = co_await std::move(fetch);
    if (!std::all_of(events.begin(), events.end(), check))
        throw std::logic_error("An event failed the connector's own check.");
    co_return events;
}

}
