#include "core/SaleEvent.h"

#include "core/AccountKey.h"
#include "core/JsonText.h"
#include "core/StoredDate.h"

#include <QJsonDocument>

namespace {
const char *const kindNames[] = {"sale", "renewal", "refund", "failed"};
}

QString SaleEvent::kindName(Kind kind)
{
    return QString::fromLatin1(kindNames[static_cast<int>(kind)]);
}

std::optional<SaleEvent::Kind> SaleEvent::kindFromName(const QString &name)
{
    for (int i = 0; i < 4; ++i)
        if (name == QLatin1String(kindNames[i]))
            return static_cast<Kind>(i);
    return std::nullopt;
}

QJsonObject SaleEvent::toJson() const
{
    QJsonObject o{
        {QStringLiteral("id"), id},
        {QStringLiteral("account"), accountKey(account)},
        {QStringLiteral("platform"), Platforms::rawValue(platform)},
        {QStringLiteral("kind"), kindName(kind)},
        {QStringLiteral("title"), title},
        {QStringLiteral("at"), StoredDate::toSeconds(at)},
    };
    if (amount)
        o.insert(QStringLiteral("amount"), amount->toJson());
    return o;
}

QByteArray SaleEvent::toCompactJson() const
{
    // Written by hand: the store encodes every event it keeps.
    QByteArray out;
    out.reserve(160 + title.size() + id.size());
    out.append("{\"id\":");
    appendJsonString(out, id);
    out.append(",\"account\":");
    appendJsonString(out, accountKey(account));
    out.append(",\"platform\":");
    appendJsonString(out, Platforms::rawValue(platform));
    out.append(",\"kind\":");
    appendJsonString(out, kindName(kind));
    out.append(",\"title\":");
    appendJsonString(out, title);
    if (amount) {
        out.append(",\"amount\":{\"minor\":").append(QByteArray::number(amount->minor));
        out.append(",\"currency\":");
        appendJsonString(out, amount->currency);
        out.append('}');
    }
    out.append(",\"at\":");
    appendJsonNumber(out, StoredDate::toSeconds(at));
    out.append('}');
    return out;
}

std::optional<SaleEvent> SaleEvent::fromJson(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    const QJsonValue id = o.value(QLatin1String("id"));
    const QJsonValue title = o.value(QLatin1String("title"));
    const QUuid account = QUuid::fromString(o.value(QLatin1String("account")).toString());
    const auto platform = Platforms::fromRaw(o.value(QLatin1String("platform")).toString());
    const auto kind = kindFromName(o.value(QLatin1String("kind")).toString());
    const auto at = StoredDate::fromJson(o.value(QLatin1String("at")));
    if (!id.isString() || !title.isString() || account.isNull() || !platform || !kind || !at)
        return std::nullopt;
    std::optional<Money> amount;
    if (o.contains(QLatin1String("amount"))) {
        amount = Money::fromJson(o.value(QLatin1String("amount")));
        if (!amount)
            return std::nullopt;
    }
    return SaleEvent{id.toString(), account, *platform, *kind, title.toString(), amount, *at};
}
