#pragma once

#include "connectors/KeySource.h"
#include "connectors/QueryUrl.h"
#include "connectors/stripe/StripeDescription.h"

#include <QJsonObject>
#include <chrono>

// Reads a Stripe account's event log, filtered to charges, and names each
// successful charge from its invoice or checkout session.
struct StripeSource {
    // Stripe's free read allowance is comfortable at one fetch in five minutes.
    static constexpr double minInterval = 300;
    static constexpr int pageSize = 100;
    static constexpr int pageLimit = 5;
    // Naming charges costs one or two requests each; a large backlog would
    // not fit the poller's limit, and a fetch that never finishes never moves
    // the cut-off. So naming stops this long after the fetch began and the
    // remaining charges are titled from the charge itself.
    static constexpr std::chrono::seconds describeBudget{30};

    static QUrl base();
    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});

    // The payments list, or its test-mode twin for a test-mode account.
    static QUrl dashboard(const QString &label);

    // One GET below `base`; a top level that is not an object reads as empty.
    static QCoro::Task<QJsonObject> get(SourceContext ctx, QString path, QueryItems query,
                                        QString secret,
                                        std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Title and renewal flag of a successful charge; never fails. Makes no
    // request once `until` has passed on the context's clock.
    static QCoro::Task<StripeDescription> describe(SourceContext ctx, QJsonObject charge,
                                                   QString secret, QDateTime until);

private:
    struct Log {
        QList<QJsonObject> events;
        QString resume; // the id to start after next time; empty when read to the end
    };
    static QCoro::Task<Log> readEvents(SourceContext ctx, QString secret, QDateTime since,
                                       QString resume);
    static QCoro::Task<std::optional<StripeDescription>>
    fromInvoice(SourceContext ctx, QString invoice, QString secret, QDateTime until);
    static QCoro::Task<std::optional<StripeDescription>>
    fromInvoicePayment(SourceContext ctx, QString paymentIntent, QString secret, QDateTime until);
    static QCoro::Task<StripeDescription> fromCheckout(SourceContext ctx, QString paymentIntent,
                                                       QString secret, QDateTime until);
};
