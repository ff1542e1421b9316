#include "connectors/square/SquareSource.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// Hosts, labels, headers, the sandbox, requests and damaged answers: tests/sources.
namespace {

const QString batchPath = QStringLiteral("/v2/orders/batch-retrieve");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);

ScriptedResponse recorded(const QString &name)
{
    return ScriptedResponse::json(fixture("square/" + name + ".json"));
}

// By default the recorded answers: payments newest first, as Square sends
// them, with every status the connector must sort out, and their orders.
SourceContext serve(TestHttp &t, const ScriptedResponse &payments = recorded("payments"),
                    const ScriptedResponse &orders = recorded("orders"))
{
    t.server.reset();
    t.server.on("GET", "/v2/payments", payments);
    t.server.on("POST", batchPath, orders);
    return t.context();
}

QList<SaleEvent> fetch(const SourceContext &context)
{
    return runTask(SquareSource::fetch(context, "EAAAtoken", {}, account, since));
}

}

class TestSquare : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fetchReadsPaymentsAndNamesThemAfterOrders()
    {
        TestHttp t;
        QCOMPARE(eventLines(fetch(serve(t)), Platform::Square, account),
                 (QStringList{
                     "pay-two-items sale Flat White + 1 more | 1650 EUR @ 12-05 11:50:12.507",
                     "pay-failed failed Gift Card | 999 GBP @ 12-05 11:10:00.000",
                     "pay-note sale Walk-in sale | 2000 USD @ 12-05 10:00:00.000",
                     "pay-bare sale Square payment | 0 USD @ 12-05 10:00:00.000",
                     // An order whose items have no names gives no title; a fractional amount
                     // counts as zero.
                     "pay-unnamed-order sale Square payment | 0 USD @ 12-05 09:00:00.000",
                 }));

        // Locations unreadable (no route here): the main location's payments, as before.
        QCOMPARE(t.server.requests().size(), 3);
        // Only kept payments' orders are asked for, in payment order.
        const RecordedRequest batch = t.server.requestsTo(batchPath).value(0);
        QCOMPARE(batch.header("Content-Type"), "application/json");
        QCOMPARE(QJsonDocument::fromJson(batch.body).object(),
                 QJsonObject({{"order_ids", QJsonArray({"order-2", "order-1", "order-0"})}}));
    }

    void orderLookupFailureCostsOnlyTitles()
    {
        for (const auto &answer :
             {ScriptedResponse::json(R"({"errors":[{"detail":"Orders are off."}]})", 403),
              ScriptedResponse::json("<html>oops</html>")}) {
            TestHttp t;
            QStringList titles;
            for (const SaleEvent &e : fetch(serve(t, recorded("payments"), answer)))
                titles.append(e.title);
            QCOMPARE(titles,
                     (QStringList{"ignored", "Square payment", "Walk-in sale", "Square payment",
                                  "Square payment"}));
            QCOMPARE(t.server.requestsTo(batchPath).size(), 1);
        }
    }

    void fetchRequestLimitsAndFailures()
    {
        // No order ids: no batch request at all.
        TestHttp t;
        const auto noOrder = ScriptedResponse::json(
            R"({"payments":[{"id":"p","created_at":"2026-12-05T10:00:00Z","status":"COMPLETED","order_id":""}]})");
        QCOMPARE(fetch(serve(t, noOrder)).size(), 1);
        QCOMPARE(t.server.requests().size(), 2);

        // More than 100 kept payments with orders: asked for 100 at a time.
        QByteArrayList many;
        for (int i = 0; i < 120; ++i)
            many.append(QStringLiteral(R"({"id":"p%1","created_at":"2026-12-05T10:00:00Z",)"
                                       R"("status":"COMPLETED","order_id":"o%1"})")
                            .arg(i)
                            .toUtf8());
        const auto manyPayments =
            ScriptedResponse::json(R"({"payments":[)" + many.join(',') + "]}");
        QCOMPARE(fetch(serve(t, manyPayments, ScriptedResponse::json(R"({"orders":[]})"))).size(),
                 120);
        QStringList batches;
        for (const RecordedRequest &r : t.server.requestsTo(batchPath)) {
            const QJsonArray ids = QJsonDocument::fromJson(r.body)["order_ids"].toArray();
            batches.append(QStringLiteral("%1 ids, %2 to %3")
                               .arg(ids.size())
                               .arg(ids.first().toString(), ids.last().toString()));
        }
        QCOMPARE(batches, (QStringList{"100 ids, o0 to o99", "20 ids, o100 to o119"}));
    }

    // The payments list covers only the main location unless it is given
    // one: every active location is read, and codes come in upper case.
    void everyActiveLocationIsRead()
    {
        TestHttp t;
        serve(t);
        t.server.on("GET", "/v2/locations", recorded("locations"));
        // The first location has a second page; the other ends at once.
        t.server.handle([](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path != "/v2/payments")
                return std::nullopt;
            const QString location = r.queryValue("location_id");
            const QString cursor = r.queryValue("cursor");
            const bool more = location == "L88917AVBK2S5" && cursor.isEmpty();
            return ScriptedResponse::json(
                QStringLiteral(
                    R"({"payments":[{"id":"pay-%1%2","created_at":"2026-12-05T10:00:00Z",)"
                    R"("status":"COMPLETED","amount_money":{"amount":450,"currency":"usd"}}]%3})")
                    .arg(location, cursor, more ? QStringLiteral(",\"cursor\":\"c2\"") : QString())
                    .toUtf8());
        });
        const auto fetch = [&](const QString &resume) {
            QStringList got;
            const Fetched events =
                runTask(SquareSource::fetch(t.context(), "k", {}, account, since, resume));
            for (const SaleEvent &e : events)
                got.append(e.id + u' ' + e.amount->currency);
            return std::pair(got, events.resume);
        };
        const auto first = fetch({});
        QCOMPARE(first.first, (QStringList{"pay-L88917AVBK2S5 USD", "pay-LQ6Y3G1ZKTZ9N USD"}));
        QCOMPARE(t.server.requestsTo("/v2/payments")[1].query.last(),
                 (std::pair<QString, QString>{"location_id", "LQ6Y3G1ZKTZ9N"}));
        // The run goes on at the unfinished location only.
        QCOMPARE(first.second, "L88917AVBK2S5=c2");
        QCOMPARE(fetch(first.second),
                 (std::pair(QStringList{"pay-L88917AVBK2S5c2 USD"}, QString())));
        QCOMPARE(t.server.requestsTo("/v2/payments").size(), 3);
    }

    void dashboard()
    {
        // A label from before the sandbox flag existed still tells (the flag: tests/ui).
        QCOMPARE(SquareSource::dashboard({.label = "Corner Café"}).host(), "app.squareup.com");
        QCOMPARE(SquareSource::dashboard({.label = "Corner Café (sandbox)"}).host(),
                 "developer.squareup.com");
    }
};

QTEST_GUILESS_MAIN(TestSquare)
#include "tst_square.moc"
