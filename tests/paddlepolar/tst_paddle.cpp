#include "connectors/paddlepolar/PaddleEvents.h"
#include "connectors/paddlepolar/PaddleSource.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Hosts, what it reads from a recorded answer, labels, requests, damaged answers and renewals that
// fail before they are paid: tests/sources.
namespace {

const QString liveKey =
    QStringLiteral("pdl_live_apikey_01gtgztp8f4kek3yd4g1wrksa3_q6TGTJyvoIz7LDtXT65bX7_AQO");
const QUuid account = QUuid::fromString(QStringLiteral("{0d6e9f4c-3b0a-4a8e-8d1e-5b7f2a9c4e21}"));
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57, 500), Qt::UTC);

// A page of these transactions; `hasMore` as sent.
QByteArray page(const QByteArrayList &data, const QByteArray &hasMore = "false")
{
    return R"({"data":[)" + data.join(',') + R"(],"meta":{"pagination":{"has_more":)" + hasMore
        + "}}}";
}

// The recorded completed transaction with another id.
QByteArray transaction(const char *id)
{
    QJsonObject t =
        QJsonDocument::fromJson(fixture("paddlepolar/paddle-transactions.json"))["data"][0]
            .toObject();
    t["id"] = QLatin1String(id);
    return QJsonDocument(t).toJson(QJsonDocument::Compact);
}

QList<SaleEvent> fetch(TestHttp &t)
{
    return runTask(PaddleSource::fetch(t.context(), liveKey, {}, account, since));
}

}

class TestPaddle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The vendor dashboard follows the account's sandbox flag when it is exactly "1" (the label:
    // tests/ui).
    void dashboard()
    {
        QCOMPARE(PaddleSource::dashboard({}, "Paddle"),
                 QUrl("https://vendors.paddle.com/transactions-v2"));
        QCOMPARE(PaddleSource::dashboard({{"sandbox", "1"}}, "Paddle").host(),
                 "sandbox-vendors.paddle.com");
        QCOMPARE(PaddleSource::dashboard({{"sandbox", "true"}}, "Paddle").host(),
                 "vendors.paddle.com");
    }

    void stopRules_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<int>("requests");
        const QByteArray one = transaction("txn_1");
        QTest::newRow("has_more false") << page({one}) << 1;
        QTest::newRow("has_more as text") << page({one}, "\"true\"") << 1;
        QTest::newRow("no data but more") << page({}, "true") << 1;
        QTest::newRow("last id not text") << page({one, R"({"id":2})"}, "true") << 1;
        QTest::newRow("last element not an object") << page({one, "5"}, "true") << 1;
        QTest::newRow("no meta") << QByteArray(R"({"data":[{"id":"txn_1","status":"paid"}]})") << 1;
        QTest::newRow("one more page") << page({one}, "true") << 2;
    }

    void stopRules()
    {
        QFETCH(QByteArray, first);
        QFETCH(int, requests);
        TestHttp t;
        t.server.on("GET", "/transactions", ScriptedResponse::json(first));
        t.server.on("GET", "/transactions", ScriptedResponse::json(page({transaction("txn_9")})));
        const qsizetype events = fetch(t).size();
        QCOMPARE(t.server.requests().size(), requests);
        QVERIFY(requests == 1 || events == 2); // both pages' transactions
        QCOMPARE(t.server.requests().last().queryValue("after"), requests == 2 ? "txn_1" : "");
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
