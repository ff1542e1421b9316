#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

// Damaged platform answers for fuzz-style tests: a realistic page with values
// swapped for other types, keys dropped, and some bodies cut short.
class JsonFuzz {
public:
    explicit JsonFuzz(quint32 seed) : m_random(seed) {}

    QByteArray damaged(const QJsonObject &page)
    {
        QByteArray body = QJsonDocument(mutate(page, 0).toObject()).toJson(QJsonDocument::Compact);
        if (chance(4))
            body.truncate(m_random.bounded(qMax<qsizetype>(1, body.size())));
        return body;
    }

private:
    bool chance(int oneIn) { return m_random.bounded(oneIn) == 0; }

    QJsonValue anything()
    {
        switch (m_random.bounded(10)) {
        case 0: return QJsonValue::Null;
        case 1: return chance(2);
        case 2: return m_random.bounded(2e6) - 1e6;
        case 3: return 1e300;
        case 4: return QStringLiteral("2026-12-05T10:00:00Z");
        case 5: return QStringLiteral("-12.345");
        case 6: return QString();
        case 7: return QJsonArray{QJsonObject{}, 5};
        case 8: return QJsonObject{{QStringLiteral("amount"), QStringLiteral("1e9")}};
        default: return QStringLiteral("x\u00e9\u2028");
        }
    }

    QJsonValue mutate(const QJsonValue &value, int depth)
    {
        if (depth > 0 && chance(12))
            return anything();
        if (value.isObject()) {
            QJsonObject object = value.toObject();
            for (const QString &key : object.keys()) {
                if (chance(15))
                    object.remove(key);
                else
                    object.insert(key, mutate(object.value(key), depth + 1));
            }
            return object;
        }
        if (value.isArray()) {
            QJsonArray array;
            for (const QJsonValue &element : value.toArray()) {
                array.append(mutate(element, depth + 1));
                if (chance(10))
                    array.append(anything());
            }
            return array;
        }
        return value;
    }

    QRandomGenerator m_random;
};
