#include "framer/FramerResult.h"

#include "core/SourceError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

[[noreturn]] void unreadable(const QString &what)
{
    throw ParseError(QStringLiteral("Framer's answer ") + what);
}

QJsonValue required(const QJsonObject &o, const char *key, const QString &where)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        unreadable(QStringLiteral("has no \"%1\"%2").arg(QLatin1String(key), where));
    return v;
}

qint64 integer(const QJsonValue &v, const char *key, const QString &where)
{
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || d != std::floor(d) || std::abs(d) > 9.0e15)
        unreadable(QStringLiteral("has a \"%1\" that is not a whole number%2")
                       .arg(QLatin1String(key), where));
    return qint64(d);
}

QString text(const QJsonValue &v, const char *key, const QString &where)
{
    if (!v.isString())
        unreadable(
            QStringLiteral("has a \"%1\" that is not text%2").arg(QLatin1String(key), where));
    return v.toString();
}

FramerRow row(const QJsonValue &value, qsizetype index)
{
    const QString where = QStringLiteral(" in row %1").arg(index + 1);
    if (!value.isObject())
        unreadable(QStringLiteral("has a row that is not an object"));
    const QJsonObject o = value.toObject();
    FramerRow r;
    r.id = text(required(o, "id", where), "id", where);
    r.title = text(required(o, "title", where), "title", where);
    r.period = text(required(o, "period", where), "period", where);
    r.remixes = integer(required(o, "remixes", where), "remixes", where);
    r.views = integer(required(o, "views", where), "views", where);
    r.conversions = integer(required(o, "conversions", where), "conversions", where);
    return r;
}

}

FramerResult FramerResult::decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        unreadable(QStringLiteral("is not a JSON object"));
    const QJsonObject o = doc.object();
    const QJsonValue signedIn = required(o, "signedIn", {});
    if (!signedIn.isBool())
        unreadable(QStringLiteral("has a \"signedIn\" that is not true or false"));
    FramerResult result;
    result.signedIn = signedIn.toBool();
    const QJsonValue status = o.value(QLatin1String("status"));
    if (!status.isUndefined() && !status.isNull())
        result.status = int(integer(status, "status", {}));
    const QJsonValue rows = o.value(QLatin1String("rows"));
    if (!rows.isUndefined() && !rows.isNull()) {
        if (!rows.isArray())
            unreadable(QStringLiteral("has \"rows\" that are not a list"));
        QList<FramerRow> list;
        const QJsonArray array = rows.toArray();
        for (qsizetype i = 0; i < array.size(); ++i)
            list.append(row(array.at(i), i));
        result.rows = std::move(list);
    }
    return result;
}
