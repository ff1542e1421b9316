// How StripeSource names a successful charge: from its invoice, else from
// the invoice paid by its payment intent, else from the checkout session of
// its payment intent.
#include "connectors/stripe/StripeSource.h"

#include "connectors/JsonFields.h"
#include "core/Clock.h"
#include "core/MoreTitle.h"
#include "core/SourceError.h"

namespace {

// Time left until `until`, or nothing once it has passed.
std::optional<std::chrono::milliseconds> timeLeft(const Clock &clock, const QDateTime &until)
{
    const qint64 ms = clock.now().msecsTo(until);
    return ms > 0 ? std::optional(std::chrono::milliseconds(ms)) : std::nullopt;
}

StripeDescription fromInvoiceBody(const QJsonValue &invoice)
{
    const QJsonValue first =
        Json::array(Json::at(invoice, {QLatin1String("lines"), QLatin1String("data")})).at(0);
    return {Json::string(Json::at(first, {QLatin1String("description")})),
            Json::string(Json::at(invoice, {QLatin1String("billing_reason")}))
                == QLatin1String("subscription_cycle")};
}

StripeDescription fromSessions(const QJsonObject &body)
{
    const QJsonValue session = Json::array(body.value(QLatin1String("data"))).at(0);
    const QJsonArray items =
        Json::array(Json::at(session, {QLatin1String("line_items"), QLatin1String("data")}));
    const auto first = Json::string(Json::at(items.at(0), {QLatin1String("description")}));
    if (!first)
        return {};
    return {moreTitle(*first, items.size()), false};
}

}

QCoro::Task<StripeDescription> StripeSource::describe(SourceContext ctx, QJsonObject charge,
                                                      QString secret, QDateTime until)
{
    if (const auto invoice = Json::string(charge.value(QLatin1String("invoice")))) {
        if (auto described = co_await fromInvoice(ctx, *invoice, secret, until))
            co_return *described;
    }
    if (const auto intent = Json::string(charge.value(QLatin1String("payment_intent")))) {
        // Since API version 2025-03-31 a charge no longer names its invoice,
        // and events keep the version they were created in: the invoice is
        // found through the payment intent that paid it.
        if (auto described = co_await fromInvoicePayment(ctx, *intent, secret, until))
            co_return *described;
        co_return co_await fromCheckout(ctx, *intent, secret, until);
    }
    co_return StripeDescription{};
}

QCoro::Task<std::optional<StripeDescription>>
StripeSource::fromInvoicePayment(SourceContext ctx, QString paymentIntent, QString secret,
                                 QDateTime until)
{
    const auto left = timeLeft(ctx.clock, until);
    if (!left)
        co_return StripeDescription{};
    const QueryItems query{{QStringLiteral("payment[type]"), QStringLiteral("payment_intent")},
                           {QStringLiteral("payment[payment_intent]"), paymentIntent},
                           {QStringLiteral("expand[]"), QStringLiteral("data.invoice")}};
    QJsonObject body;
    try {
        body = co_await get(ctx, QStringLiteral("invoice_payments"), query, secret, *left);
    } catch (const Failure &) {
        co_return std::nullopt; // the checkout session may still name it
    }
    const QJsonValue invoice =
        Json::at(Json::array(body.value(QLatin1String("data"))).at(0), {QLatin1String("invoice")});
    if (!invoice.isObject())
        co_return std::nullopt; // paid outside an invoice: a checkout or a plain payment
    co_return fromInvoiceBody(invoice);
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
    co_return fromInvoiceBody(body);
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
