#include "core/Account.h"

#include "core/AccountKey.h"
#include "core/Sandbox.h"

bool Account::isSandbox() const
{
    return Sandbox::isTestAccount(extra, label);
}

QJsonObject Account::toJson() const
{
    QJsonObject extras;
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        extras.insert(it.key(), it.value());
    return {
        {QStringLiteral("id"), accountKey(id)},
        {QStringLiteral("platform"), Platforms::rawValue(platform)},
        {QStringLiteral("label"), label},
        {QStringLiteral("extra"), extras},
        {QStringLiteral("paused"), paused},
    };
}

std::optional<Account> Account::fromJson(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    const QUuid id = QUuid::fromString(o.value(QLatin1String("id")).toString());
    const auto platform = Platforms::fromRaw(o.value(QLatin1String("platform")).toString());
    const QJsonValue label = o.value(QLatin1String("label"));
    const QJsonValue extra = o.value(QLatin1String("extra"));
    const QJsonValue paused = o.value(QLatin1String("paused"));
    if (id.isNull() || !platform || !label.isString() || !extra.isObject() || !paused.isBool())
        return std::nullopt;
    Account account{id, *platform, label.toString(), {}, paused.toBool()};
    const QJsonObject extras = extra.toObject();
    for (auto it = extras.begin(); it != extras.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        account.extra.insert(it.key(), it.value().toString());
    }
    return account;
}
