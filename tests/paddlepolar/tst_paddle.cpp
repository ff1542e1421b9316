#include "connectors/paddlepolar/PaddleEvents.h"
#include "connectors/paddlepolar/PaddleSource.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Hosts, labels, requests, damaged answers and renewals that fail before they
// are paid: tests/sources.
namespace {

const QString liveKey =
    QStringLiteral("pdl_live_apikey_01gtgztp8f4kek3yd4g1wrksa3_q6TGTJyvoIz7LDtXT65bX7_AQO");
const QUuid account = QUuid::fromString(QStringLiteral("{0d6e9f4c-3b0a-4a8e-8d1e-5b7f2a9c4e21}"));
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57, 500), Qt::UTC);

QJsonObject recordedPage()
{
    return QJsonDocument::fromJson(fixture("paddlepolar/paddle-transactions.json")).object();
}

// The recorded completed transaction with another id.
QJsonObject transaction(const QJsonValue &id)
{
    QJsonObject t = recordedPage()["data"][0].toObject();
    t["id"] = id;
    return t;
}

QByteArray page(const QJsonArray &data, const QJsonValue &hasMore = false)
{
    QJsonObject body = recordedPage();
    body["data"] = data;
    body["meta"] =
        QJsonObject{{"pagination", QJsonObject{{"per_page", 30}, {"has_more", hasMore}}}};
    return QJsonDocument(body).toJson();
}

QList<SaleEvent> fetch(TestHttp &t)
{
    return runTask(PaddleSource::fetch(t.context(), liveKey, {}, account, since));
}

}

class TestPaddle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The vendor dashboard follows the label, or the account's sandbox flag when it is exactly "1".
    void dashboard()
    {
        QCOMPARE(PaddleSource::dashboard({}, "Paddle"),
                 QUrl("https://vendors.paddle.com/transactions-v2"));
        QCOMPARE(PaddleSource::dashboard({}, "Paddle (sandbox)"),
                 QUrl("https://sandbox-vendors.paddle.com/transactions-v2"));
        QCOMPARE(PaddleSource::dashboard({{"sandbox", "1"}}, "Paddle").host(),
                 "sandbox-vendors.paddle.com");
        QCOMPARE(PaddleSource::dashboard({{"sandbox", "true"}}, "Paddle").host(),
                 "vendors.paddle.com");
    }

    void pagesFollowTheCursor()
    {
        TestHttp t;
        int served = 0;
        t.server.handle([&](const RecordedRequest &) {
            QJsonArray data;
            ++served;
            for (int i = 0; i < PaddleSource::pageSize; ++i)
                data.append(transaction(QStringLiteral("txn_%1_%2").arg(served).arg(i)));
            return ScriptedResponse::json(page(data, true));
        });
        const QList<SaleEvent> events = fetch(t);
        QCOMPARE(events.size(), 150);
        QCOMPARE(events.first().id, "txn_1_0");
        QCOMPARE(events.last().id, "txn_5_29");
        const auto &requests = t.server.requests();
        QCOMPARE(requests.size(), PaddleSource::pageLimit);
        for (int i = 1; i < requests.size(); ++i)
            QCOMPARE(requests[i].queryValue("after"), QStringLiteral("txn_%1_29").arg(i));
    }

    void stopRules_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<int>("requests");
        const QJsonObject one = transaction("txn_1");
        QTest::newRow("has_more false") << page({one}, false) << 1;
        QTest::newRow("has_more as text") << page({one}, "true") << 1;
        QTest::newRow("no data but more") << page({}, true) << 1;
        QTest::newRow("last id not text") << page({one, transaction(2)}, true) << 1;
        QTest::newRow("last element not an object") << page({one, 5}, true) << 1;
        QTest::newRow("no meta") << QByteArray(R"({"data":[{"id":"txn_1","status":"paid"}]})") << 1;
        QTest::newRow("one more page") << page({one}, true) << 2;
    }

    void stopRules()
    {
        QFETCH(QByteArray, first);
        QFETCH(int, requests);
        TestHttp t;
        t.server.on("GET", "/transactions", ScriptedResponse::json(first));
        t.server.on("GET", "/transactions",
                    ScriptedResponse::json(page({transaction("txn_9")}, false)));
        fetch(t);
        QCOMPARE(t.server.requests().size(), requests);
        QCOMPARE(t.server.requests().last().queryValue("after"), requests == 2 ? "txn_1" : "");
    }

    // Each transaction's id says how it differs from the recorded completed
    // one; those not listed are not reported.
    void transactionMapping()
    {
        TestHttp t;
        t.server.on("GET", "/transactions",
                    ScriptedResponse::json(fixture("paddlepolar/paddle-mapping.json")));
        const auto line = [](const char *id, const char *rest,
                             const char *at = "10:13:10.584") -> QString {
            return QString(id) + u' ' + rest + " @ 12-05 " + at;
        };
        const char *sale = "sale Analytics addon | 2500 EUR";
        const char *noAmount = "sale Analytics addon | 0 EUR";
        QCOMPARE(eventLines(fetch(t), Platform::Paddle, account),
                 (QStringList{
                     line("completed", sale), line("paid", sale),
                     line("renewal", "renewal Analytics addon | 2500 EUR"),
                     // Past due is a failure whatever the origin.
                     line("past-due-renewal#failed", "failed Analytics addon | 2500 EUR"),
                     line("signed-total", sale), line("decimal-point", noAmount),
                     line("number-total", noAmount), line("no-total", noAmount),
                     line("no-currency", "sale Analytics addon | 2500 USD"),
                     line("currency-lower-case", sale),
                     line("three-items", "sale Analytics addon + 2 more | 2500 EUR"),
                     line("nameless-first", "sale Paddle sale + 1 more | 2500 EUR"),
                     line("no-items", "sale Paddle sale | 2500 EUR"),
                     line("not-billed", sale, "10:12:33.201"), // dated when created
                     line("no-dates", sale, "12:00:00.000"),   // the clock's now
                 }));
    }

    void minorUnitsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("minor"); // -1 for no value; plain and signed: the mapping
        QTest::newRow("minus") << "-300" << qint64(-300);
        QTest::newRow("zero") << "0" << qint64(0);
        QTest::newRow("largest") << "9223372036854775807" << qint64(9223372036854775807LL);
        QTest::newRow("too large") << "9223372036854775808" << qint64(-1);
        for (const char *bad : {"", "-", "+-5", " 25", "25.00", "2e3"})
            QTest::newRow(bad) << bad << qint64(-1);
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٥") << qint64(-1);
    }

    void minorUnitsText()
    {
        QFETCH(QString, text);
        QFETCH(qint64, minor);
        QCOMPARE(PaddleEvents::minorUnits(text).value_or(-1), minor);
    }
};

QTEST_GUILESS_MAIN(TestPaddle)
#include "tst_paddle.moc"
