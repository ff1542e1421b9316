#include "notch/QmlValues.h"

#include "core/AccountKey.h"

namespace QmlValues {

QVariantMap of(const Moment &moment)
{
    return {{QStringLiteral("platform"), Platforms::rawValue(moment.platform)},
            {QStringLiteral("kicker"), moment.kicker},
            {QStringLiteral("title"), moment.title},
            {QStringLiteral("amount"), moment.amount},
            {QStringLiteral("accentHex"), Platforms::brandHex(moment.platform)}};
}

QVariantMap of(const TodaySummary &summary)
{
    QVariantList top;
    for (const TodaySummary::Template &t : summary.top)
        top.append(QVariantMap{{QStringLiteral("title"), t.title},
                               {QStringLiteral("remixes"), t.remixes},
                               {QStringLiteral("views"), t.views}});
    return {{QStringLiteral("remixes"), summary.remixes},
            {QStringLiteral("views"), summary.views},
            {QStringLiteral("yesterdayRemixes"), optional(summary.yesterdayRemixes)},
            {QStringLiteral("top"), top},
            {QStringLiteral("updated"), summary.updated},
            {QStringLiteral("highlight"), summary.highlight()}};
}

QVariantMap of(const Money &money)
{
    return {{QStringLiteral("minor"), money.minor},
            {QStringLiteral("currency"), money.currency},
            {QStringLiteral("text"), money.formatted()}};
}

QVariantMap of(const SaleEvent &event)
{
    return {{QStringLiteral("id"), event.id},
            {QStringLiteral("account"), accountKey(event.account)},
            {QStringLiteral("platform"), Platforms::rawValue(event.platform)},
            {QStringLiteral("kind"), SaleEvent::kindName(event.kind)},
            {QStringLiteral("title"), event.title},
            {QStringLiteral("amount"), optional(event.amount)},
            {QStringLiteral("at"), event.at}};
}

QVariantMap of(const Account &account)
{
    QVariantMap extra;
    for (auto it = account.extra.begin(); it != account.extra.end(); ++it)
        extra.insert(it.key(), it.value());
    return {{QStringLiteral("id"), accountKey(account.id)},
            {QStringLiteral("platform"), Platforms::rawValue(account.platform)},
            {QStringLiteral("label"), account.label},
            {QStringLiteral("extra"), extra},
            {QStringLiteral("paused"), account.paused}};
}

QVariantList list(const QList<SaleEvent> &events)
{
    QVariantList items;
    for (const SaleEvent &e : events)
        items.append(of(e));
    return items;
}

QVariantList list(const QList<Account> &accounts)
{
    QVariantList items;
    for (const Account &a : accounts)
        items.append(of(a));
    return items;
}

}
