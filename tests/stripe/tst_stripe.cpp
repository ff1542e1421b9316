#include "connectors/WithTimeout.h"
#include "connectors/stripe/StripeSource.h"
#include "core/EventStore.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Hosts, headers, the first request, test mode, labels, what it reads from a
// recorded answer, where paging stops and damaged answers:
// tests/sources.
namespace {

const QString liveKey = QStringLiteral("rk_live_51Korvanta");
const QUuid account = QUuid::fromString(QStringLiteral("{6f1c2a4e-3b7d-4c1e-9a55-0d2f8e7b1c10}"));
const QDateTime since(QDate(2026, 12, 5), QTime(10, 0, 0, 900), Qt::UTC);

// The recorded charge event as evt_<n> for charge ch_<n>, naming an invoice
// and a description when given.
QByteArray chargeEvent(const QString &n, const QString &invoice = {},
                       const QString &description = {})
{
    const auto quoted = [](const QString &text) {
        return text.isEmpty() ? QByteArray("null") : QByteArray('"' + text.toUtf8() + '"');
    };
    const QByteArray id = n.toUtf8();
    return fixture("stripe/charge-event.json")
        .replace("evt_1", QByteArray("evt_" + id))
        .replace("ch_1", QByteArray("ch_" + id))
        .replace("\"invoice\": null", QByteArray("\"invoice\": " + quoted(invoice)))
        .replace("\"description\": null", QByteArray("\"description\": " + quoted(description)));
}

ScriptedResponse page(const QByteArrayList &events, bool hasMore = false)
{
    return ScriptedResponse::json(R"({"object":"list","has_more":)"
                                  + QByteArray(hasMore ? "true" : "false") + R"(,"data":[)"
                                  + events.join(',') + "]}");
}

// The recorded invoice with another billing reason and these line descriptions.
ScriptedResponse invoice(const QString &reason, const QStringList &lines)
{
    QJsonObject body = QJsonDocument::fromJson(fixture("stripe/invoice.json")).object();
    QJsonArray data;
    for (const QString &line : lines)
        data.append(QJsonObject{{"object", "line_item"}, {"description", line}});
    body["billing_reason"] = reason;
    body["lines"] = QJsonObject{{"object", "list"}, {"data", data}};
    return ScriptedResponse::json(QJsonDocument(body).toJson());
}

QList<SaleEvent> fetch(TestHttp &t)
{
    return runTask(StripeSource::fetch(t.context(), liveKey, {}, account, since));
}

}

class TestStripe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Test mode has a dashboard of its own (tests/ui); live accounts do not go there.
    void liveDashboard()
    {
        QVERIFY(!StripeSource::dashboard("Acme").toString().contains("/test/"));
    }

    // Only secret keys are sent to Stripe at all.
    void failures()
    {
        TestHttp t;
        for (const QString key : {"pk_live_abc", "", "RK_live_abc", " rk_live_abc", "whsec_abc"})
            QCOMPARE(failureOf(StripeSource::verify(t.context(), key, {})),
                     "That doesn't look like a Stripe secret key. Restricted keys start with rk_");
        QVERIFY(t.server.requests().isEmpty());
    }

    void mapping()
    {
        TestHttp t;
        t.server.on("GET", "/v1/events",
                    ScriptedResponse::json(fixture("stripe/mapping-events.json")));
        QCOMPARE(eventLines(fetch(t), Platform::Stripe, account),
                 (QStringList{
                     "ch_s1 sale Pro licence | 2500 EUR @ 12-05 10:05:23.750",
                     // Empty description, fractional amount: absent.
                     "ch_s2 sale Payment | 0 EUR @ 12-05 10:03:20.000",
                     // No charge id: the event's; no currency: usd.
                     "evt_s3 sale Payment | 300 USD @ 12-05 10:03:20.000",
                     "evt_r1 refund Pro licence | -400 EUR @ 12-05 10:03:20.000",
                     // A second partial refund: only its own part.
                     "evt_r2 refund Refund | -300 EUR @ 12-05 10:03:20.000",
                     "evt_f1 failed Payment failed | 4200 USD @ 12-05 10:03:20.000",
                 }));
        QCOMPARE(t.server.requests().size(), 1); // nothing to describe by: no lookups
    }

    void describePaths()
    {
        TestHttp t;
        t.server.on("GET", "/v1/events",
                    ScriptedResponse::json(fixture("stripe/describe-events.json")));
        t.server.on("GET", "/v1/invoices/in_1",
                    ScriptedResponse::json(fixture("stripe/invoice.json")));
        t.server.on("GET", "/v1/invoices/in_gone",
                    ScriptedResponse::json(R"({"error":{"message":"No such invoice"}})", 404));
        t.server.on("GET", "/v1/invoices/in_3", invoice("subscription_create", {}));
        t.server.handle([](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            // Since API version 2025-03-31 a charge names no invoice: its
            // payment intent leads to it.
            if (r.path == "/v1/invoice_payments")
                return r.queryValue("payment[payment_intent]") == "pi_6"
                    ? ScriptedResponse::json(fixture("stripe/invoice-payments.json"))
                    : ScriptedResponse::json(R"({"object":"list","data":[]})");
            if (r.path != "/v1/checkout/sessions")
                return std::nullopt;
            if (r.queryValue("payment_intent") == "pi_2")
                return ScriptedResponse::json(fixture("stripe/checkout-sessions.json"));
            if (r.queryValue("payment_intent") == "pi_4")
                return ScriptedResponse::json(
                    R"({"data":[{"object":"checkout.session","line_items":{"data":[]}}]})");
            return ScriptedResponse::json(R"({"error":{"message":"boom"}})", 500);
        });

        QStringList described;
        for (const SaleEvent &e : fetch(t))
            described.append(SaleEvent::kindName(e.kind) + u' ' + e.title);
        // An invoice answered without lines ends the search: no session lookup.
        QCOMPARE(described,
                 (QStringList{"renewal 1 × Pro (at $15.00 / month)", "sale T-shirt + 2 more",
                              "sale From charge", "sale Kept", "sale Payment",
                              "renewal 1 × Pro (at $15.00 / month)"}));

        QStringList order;
        for (const RecordedRequest &r : t.server.requests())
            order.append(QString::fromUtf8(r.rawTarget));
        const auto paidBy = [](const char *intent) {
            return QStringLiteral(
                       "/v1/invoice_payments?payment[type]=payment_intent&payment[payment_"
                       "intent]=%1&expand[]=data.invoice")
                .arg(QLatin1String(intent));
        };
        QCOMPARE(order,
                 (QStringList{order[0], "/v1/invoices/in_1", "/v1/invoices/in_gone", paidBy("pi_2"),
                              "/v1/checkout/sessions?payment_intent=pi_2&expand[]=data.line_items",
                              "/v1/invoices/in_3", paidBy("pi_4"),
                              "/v1/checkout/sessions?payment_intent=pi_4&expand[]=data.line_items",
                              paidBy("pi_5"),
                              "/v1/checkout/sessions?payment_intent=pi_5&expand[]=data.line_items",
                              paidBy("pi_6")}));
    }

    // A backlog far larger than the time allows to describe still finishes inside
    // the poller's limit, names the newest charges and titles the rest plainly.
    // Those are the same events the next poll names properly: the store
    // announces each exactly once. Slow event pages use up the budget too.
    void describeBudget()
    {
        TestHttp t;
        QByteArrayList log;
        for (int n = 0; n < 100; ++n)
            log.append(chargeEvent(QString::number(n), QStringLiteral("in_%1").arg(n)));
        t.server.on("GET", "/v1/events", page(log));
        int secondsPerInvoice = 4;
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (!r.path.startsWith("/v1/invoices/"))
                return std::nullopt;
            t.clock.setNow(t.clock.now().addSecs(secondsPerInvoice));
            return invoice("subscription_cycle", {"Named " + r.path.section(u'/', -1)});
        });
        const QList<SaleEvent> events =
            runTask(withTimeout(t.clock, std::chrono::seconds(45),
                                StripeSource::fetch(t.context(), liveKey, {}, account, since)));
        QCOMPARE(events.size(), 100);
        // Invoices asked at 0, 4, ... 28 seconds; the last, 4 s long, is cut at 30.
        QCOMPARE(t.server.requests().size(), 1 + 8);
        for (int n = 0; n < 100; ++n) {
            QCOMPARE(events[n].id, QStringLiteral("ch_%1").arg(n));
            QCOMPARE(events[n].title,
                     n < 7 ? QStringLiteral("Named in_%1").arg(n) : QStringLiteral("Payment"));
            QCOMPARE(events[n].kind, n < 7 ? SaleEvent::Kind::Renewal : SaleEvent::Kind::Sale);
        }

        QTemporaryDir dir;
        EventStore store(dir.filePath("events.json"));
        store.ingest({}, account, t.clock.now()); // the account's first poll
        QCOMPARE(store.ingest(events, account, t.clock.now()).size(), 100);
        secondsPerInvoice = 0;
        const QList<SaleEvent> named = fetch(t);
        QCOMPARE(named.last().title, "Named in_99");
        QVERIFY(store.ingest(named, account, t.clock.now()).isEmpty());

        t.server.reset();
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path != "/v1/events")
                return std::nullopt;
            t.clock.setNow(t.clock.now().addSecs(31));
            return page(log);
        });
        QCOMPARE(fetch(t).size(), 100);
        QCOMPARE(t.server.requests().size(), 1);
    }

    // A describe request that hangs near the end of the budget is cut off when
    // the budget runs out, not at the HTTP client's much longer limits (which
    // would outlast the test's own time limit).
    void slowDescribeIsCutAtTheBudget()
    {
        TestHttp t;
        Http patient(t.clock, std::get<Endpoints>(Endpoints::parse(t.server.endpointsForAll())),
                     HttpLimits{std::chrono::minutes(10), std::chrono::minutes(10)});
        t.server.on("GET", "/v1/events",
                    page({chargeEvent("1", "in_1"), chargeEvent("2", "in_2", "Own words")}));
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path == "/v1/invoices/in_1") {
                t.clock.setNow(
                    t.clock.now().addMSecs(StripeSource::describeBudget.count() * 1000 - 150));
                return invoice("manual", {"First"});
            }
            if (r.path == "/v1/events")
                return std::nullopt;
            QTimer::singleShot(0, &t.clock,
                               [&] { t.clock.advance(std::chrono::milliseconds(150)); });
            return ScriptedResponse::hang();
        });
        const QList<SaleEvent> events =
            runTask(StripeSource::fetch({patient, t.clock, t.caches}, liveKey, {}, account, since));
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].title, "First");
        QCOMPARE(events[1].title, "Own words");
        QCOMPARE(t.server.requestsTo("/v1/invoices/in_2").size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestStripe)
#include "tst_stripe.moc"
