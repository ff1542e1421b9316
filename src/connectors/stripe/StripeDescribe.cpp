// How StripeSource names a successful charge: from its invoice, else from
// the checkout session of its payment intent.
#include "connectors/stripe/StripeSource.h"

#include "connectors/JsonFields.h"
#include "core/Clock.h"
#include "core/SourceError.h"

namespace {

// Time left until `until`, or nothing once it has passed.
std::optional<std::chrono::milliseconds> timeLeft(const Clock &clock, const QDateTime &until)
{
    const qint64 ms = clock.now().msecsTo(until);
    return ms > 0 ? std::optional(std::chrono::milliseconds(ms)) : std::nullopt;
}

StripeDescription fromSessions(const QJsonObject &body)
{
    const QJsonValue session = Json::array(body.value(QLatin1String("data"))).at(0);
    const QJsonArray items =
        Json::array(Json::at(session, {QLatin1String("line_items"), QLatin1String("data")}));
    const auto first = Json::string(Json::at(items.at(0), {QLatin1String("description")}));
    if (!first)
        return {};
    if (items.size() < 2)
        return {*first, false};
    return {*first + QStringLiteral(" + %1 more").arg(items.size() - 1), false};
}

}

QCoro::Task<StripeDescription> StripeSource::describe(SourceContext ctx, QJsonObject charge,
                                                      QString secret, QDateTime until)
{
    if (const auto invoice = Json::string(charge.value(QLatin1String("invoice")))) {
        if (auto described = co_await fromInvoice(ctx, *invoice, secret, until))
            co_return *described;
    }
    if (const auto intent = Json::string(charge.value(QLatin1String("payment_intent"))))
        co_return co_await fromCheckout(ctx, *intent, secret, until);
    co_return StripeDescription{};
}

QCoro::Task<std::optional<StripeDescription>>
StripeSource::fromInvoice(SourceContext ctx, QString invoice, QString secret, QDateTime until)
{
    const auto left = timeLeft(ctx.clock, until);
    if (!left)
        co_return StripeDescription{};
    QJsonObject body;
    try {
        body = co_await get(ctx, QStringLiteral("invoices/") + invoice, {}, secret, *left);
    } catch (const Failure &) {
        co_return std::nullopt; // the checkout session may still name it
    }
    const QJsonValue first =
        Json::array(Json::at(body, {QLatin1String("lines"), QLatin1String("data")})).at(0);
    co_return StripeDescription{Json::string(Json::at(first, {QLatin1String("description")})),
                                Json::string(body.value(QLatin1String("billing_reason")))
                                    == QLatin1String("subscription_cycle")};
}

QCoro::Task<StripeDescription> StripeSource::fromCheckout(SourceContext ctx, QString paymentIntent,
                                                          QString secret, QDateTime until)
{
    const auto left = timeLeft(ctx.clock, until);
    if (!left)
        co_return StripeDescription{};
    const QueryItems query{{QStringLiteral("payment_intent"), paymentIntent},
                           {QStringLiteral("expand[]"), QStringLiteral("data.line_items")}};
    try {
        co_return fromSessions(
            co_await get(ctx, QStringLiteral("checkout/sessions"), query, secret, *left));
    } catch (const Failure &) {
        co_return StripeDescription{};
    }
}
