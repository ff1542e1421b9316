#pragma once

#include "support/FakePlatformServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

// Answers for fuzzing a connector, made from one valid answer: cut short,
// with bytes overwritten, or with values swapped for JSON of other types;
// now and then with an error status. Deterministic for a seed.
class FuzzBodies {
public:
    FuzzBodies(QByteArray valid, quint32 seed) : m_valid(std::move(valid)), m_random(seed) {}

    ScriptedResponse next()
    {
        static const int errors[] = {400, 401, 404, 429, 500};
        const int status = m_random.bounded(10) == 0 ? errors[m_random.bounded(5)] : 200;
        switch (m_random.bounded(3)) {
        case 0:
            return ScriptedResponse::json(m_valid.left(m_random.bounded(m_valid.size() + 1)), status);
        case 1:
            return ScriptedResponse::json(overwritten(), status);
        default:
            return ScriptedResponse::json(text(mutate(parsed(), 0)), status);
        }
    }

private:
    static QByteArray text(const QJsonValue &value)
    {
        if (value.isObject())
            return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
        if (value.isArray())
            return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
        const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        return wrapped.mid(1, wrapped.size() - 2);
    }

    QJsonValue parsed() const
    {
        const QJsonDocument doc = QJsonDocument::fromJson(m_valid);
        return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    }

    QByteArray overwritten()
    {
        static const QByteArray alphabet = "{}[],:\"0123456789.-eEtfn \\";
        QByteArray body = m_valid;
        for (int i = m_random.bounded(1, 6); i > 0 && !body.isEmpty(); --i)
            body[m_random.bounded(body.size())] = alphabet.at(m_random.bounded(alphabet.size()));
        return body;
    }

    QJsonValue other(int depth)
    {
        static const QJsonValue scalars[] = {
            QJsonValue(QJsonValue::Null), QJsonValue(true), QJsonValue(-1), QJsonValue(1e308), QJsonValue(12.5),
            QJsonValue(""), QJsonValue("12.50"), QJsonValue("abc"), QJsonValue("2026-02-30T25:61:61Z"),
            QJsonValue("../x?y#z"), QJsonValue(QString(3000, u'x')),
        };
        if (depth < 3 && m_random.bounded(4) == 0)
            return QJsonArray{other(depth + 1), other(depth + 1)};
        if (depth < 3 && m_random.bounded(4) == 0)
            return QJsonObject{{QStringLiteral("id"), other(depth + 1)}, {QStringLiteral("name"), other(depth + 1)}};
        return scalars[m_random.bounded(int(std::size(scalars)))];
    }

    // Each value is kept, replaced by JSON of another shape, or (in objects) dropped.
    QJsonValue mutate(const QJsonValue &value, int depth)
    {
        if (m_random.bounded(8) == 0)
            return other(depth);
        if (value.isObject()) {
            QJsonObject o = value.toObject();
            for (const QString &key : o.keys()) {
                if (m_random.bounded(10) == 0)
                    o.remove(key);
                else
                    o.insert(key, mutate(o.value(key), depth + 1));
            }
            return o;
        }
        if (!value.isArray())
            return value;
        QJsonArray a;
        for (const QJsonValue &element : value.toArray())
            a.append(mutate(element, depth + 1));
        return a;
    }

    QByteArray m_valid;
    QRandomGenerator m_random;
};
