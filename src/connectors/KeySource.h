#pragma once

#include "core/KeyHelp.h"
#include "core/SaleEvent.h"

#include <QCoroTask>
#include <QMap>

class Clock;
class Http;
struct SourceCaches;

// The form values besides the key: shop address, client ID, sandbox = "1"...
using Extra = QMap<QString, QString>;

// What a connector works with: the shared HTTP client, the clock and the
// process's caches (Shopify tokens, Whop product names). Built once in main.
struct SourceContext {
    Http &http;
    Clock &clock;
    SourceCaches &caches;
};

// A key-based connector is a type without instances that provides:
//   static KeyHelp help();
//   static constexpr double minInterval;   // seconds between two polls of one account
//   static QCoro::Task<QString> verify(SourceContext, QString secret, Extra extra);
//   static QCoro::Task<QList<SaleEvent>> fetch(SourceContext, QString secret, Extra extra,
//                                              QUuid account, QDateTime since);
// verify returns the account's label; both throw SourceError (or let HTTP's
// errors pass) with a sentence for the user.
template <typename S>
concept KeySource = requires(SourceContext ctx, QString s, Extra e, QUuid a, QDateTime d)
{
    {
        S::help()
        } -> std::same_as<KeyHelp>;
    {
        S::minInterval
        } -> std::convertible_to<double>;
    {
        S::verify(ctx, s, e)
        } -> std::same_as<QCoro::Task<QString>>;
    {
        S::fetch(ctx, s, e, a, d)
        } -> std::same_as<QCoro::Task<QList<SaleEvent>>>;
};

// A connector as the registry holds it.
struct SourceEntry {
    KeyHelp (*help)() = nullptr;
    double minInterval = 0;
    QCoro::Task<QString> (*verify)(SourceContext, QString, Extra) = nullptr;
    QCoro::Task<QList<SaleEvent>> (*fetch)(SourceContext, QString, Extra, QUuid,
                                           QDateTime) = nullptr;

    template <KeySource S>
    static SourceEntry of()
    {
        return {&S::help, S::minInterval, &S::verify, &S::fetch};
    }
};
