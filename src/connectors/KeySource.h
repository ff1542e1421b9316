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

// What one fetch read, and, when it stopped at its cap with more left to
// read, where the next fetch resumes (empty when it read to the end). The
// token means something only to the connector that made it.
struct Fetched : QList<SaleEvent> {
    using QList<SaleEvent>::QList;
    Fetched() = default;
    Fetched(QList<SaleEvent> events, QString resumeFrom = {})
        : QList<SaleEvent>(std::move(events)), resume(std::move(resumeFrom))
    {
    }

    QString resume;
};

// A key-based connector is a type without instances that provides:
//   static KeyHelp help();
//   static constexpr double minInterval;   // seconds between two polls of one account
//   static QCoro::Task<QString> verify(SourceContext, QString secret, Extra extra);
//   static QCoro::Task<Fetched> fetch(SourceContext, QString secret, Extra extra,
//                                     QUuid account, QDateTime since, QString resume = {});
// verify returns the account's label; both throw SourceError (or let HTTP's
// errors pass) with a sentence for the user. fetch reads from `since` on, or,
// given a token it returned before, goes on from there with the same `since`.
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
        S::fetch(ctx, s, e, a, d, s)
        } -> std::same_as<QCoro::Task<Fetched>>;
};

// A connector as the registry holds it.
struct SourceEntry {
    KeyHelp (*help)() = nullptr;
    double minInterval = 0;
    QCoro::Task<QString> (*verify)(SourceContext, QString, Extra) = nullptr;
    QCoro::Task<Fetched> (*fetch)(SourceContext, QString, Extra, QUuid, QDateTime,
                                  QString) = nullptr;

    template <KeySource S>
    static SourceEntry of()
    {
        return {&S::help, S::minInterval, &S::verify, &S::fetch};
    }
};
