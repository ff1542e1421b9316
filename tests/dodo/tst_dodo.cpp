#include "connectors/dodo/DodoSource.h"
#include "support/Fixture.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString liveKey = QStringLiteral("Xk3Rj9LmQ2.vN8pT4wZ6yB1cD5fG7hJ0kL2mN4pQ6rS8tU0vW2xY4z");
const QString testKey = QStringLiteral("dodo_test_Xk3Rj9LmQ2vN8pT4wZ6yB1cD5fG7hJ0k");
const QUuid account = QUuid::fromString(QStringLiteral("{9a8b7c6d-5e4f-4a3b-8c2d-1e0f9a8b7c6d}"));
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
using Changes = QList<std::pair<QString, QJsonValue>>; // an undefined value removes the field
using Query = QList<std::pair<QString, QString>>;

// The recorded succeeded one-off payment with another id and some fields changed.
QJsonObject payment(const QString &id, const Changes &changes = {})
{
    QJsonObject p = QJsonDocument::fromJson(fixture("dodo/payments.json"))["items"][0].toObject();
    p["payment_id"] = id;
    for (const auto &[name, value] : changes)
        p.insert(name, value);
    return p;
}

QByteArray list(const QJsonArray &items)
{
    return QJsonDocument(QJsonObject{{"items", items}}).toJson();
}

}

class TestDodo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void environments_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("label");
        QTest::newRow("live") << liveKey << "live.dodopayments.com"
                              << "Dodo Payments";
        QTest::newRow("test") << testKey << "test.dodopayments.com"
                              << "Dodo Payments (test mode)";
        QTest::newRow("test prefix only at the start") << "sk_dodo_test_1"
                                                       << "live.dodopayments.com"
                                                       << "Dodo Payments";
        QTest::newRow("prefix is case-sensitive") << "DODO_TEST_1"
                                                  << "live.dodopayments.com"
                                                  << "Dodo Payments";
    }

    void environments()
    {
        QFETCH(QString, key);
        QFETCH(QString, host);
        QFETCH(QString, label);
        TestHttp t;
        t.server.on("GET", "/payments", ScriptedResponse::json(fixture("dodo/payments.json")));
        QCOMPARE(runTask(DodoSource::verify(t.context(), key, {})), label);
        QCOMPARE(runTask(DodoSource::fetch(t.context(), key, {}, account, since)).size(), 1);
        const auto &requests = t.server.requests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].rawTarget, "/payments?page_size=1");
        QCOMPARE(requests[1].path, "/payments");
        QCOMPARE(requests[1].query,
                 (Query{{"created_at_gte", "2026-12-05T06:56:57Z"}, {"page_size", "100"}}));
        for (const RecordedRequest &r : requests) {
            QCOMPARE(r.host(), host);
            QCOMPARE(r.header("Authorization"), "Bearer " + key.toUtf8());
            QCOMPARE(r.header("Accept"), "application/json");
        }
    }

    void paymentMapping_data()
    {
        QTest::addColumn<QJsonObject>("element");
        QTest::addColumn<QString>(
            "expected"); // kind title | minor currency; empty when nothing is reported
        const QJsonValue none(QJsonValue::Undefined);
        QTest::newRow("sale") << payment("p") << "sale Payment | 2900 USD";
        QTest::newRow("renewal") << payment("p", {{"subscription_id", "sub_9Kd2LmP4qR"}})
                                 << "renewal Subscription payment | 2900 USD";
        QTest::newRow("failed") << payment("p", {{"status", "failed"}})
                                << "failed Payment | 2900 USD";
        QTest::newRow("failed renewal")
            << payment("p", {{"status", "failed"}, {"subscription_id", "sub_1"}})
            << "failed Subscription payment | 2900 USD";
        for (const char *status :
             {"processing", "cancelled", "requires_customer_action", "partially_captured"})
            QTest::newRow(status) << payment("p", {{"status", status}}) << "";
        QTest::newRow("no status") << payment("p", {{"status", none}}) << "";
        QTest::newRow("no payment id") << payment("p", {{"payment_id", none}}) << "";
        QTest::newRow("numeric payment id") << payment("p", {{"payment_id", 5}}) << "";
        QTest::newRow("no time") << payment("p", {{"created_at", none}}) << "";
        QTest::newRow("unreadable time") << payment("p", {{"created_at", 1764925502}}) << "";
        QTest::newRow("no currency")
            << payment("p", {{"currency", none}}) << "sale Payment | 2900 USD";
        // "inr" and "INR" must count as one currency in the totals.
        QTest::newRow("currency upper-cased")
            << payment("p", {{"currency", "inr"}}) << "sale Payment | 2900 INR";
        QTest::newRow("amount as text")
            << payment("p", {{"total_amount", "2900"}}) << "sale Payment | 0 USD";
        QTest::newRow("subscription id not text")
            << payment("p", {{"subscription_id", 77}}) << "sale Payment | 2900 USD";
    }

    void paymentMapping()
    {
        QFETCH(QJsonObject, element);
        QFETCH(QString, expected);
        TestHttp t;
        t.server.on("GET", "/payments",
                    ScriptedResponse::json(
                        list({element, payment("pay_other", {{"status", "processing"}})})));
        const QList<SaleEvent> events =
            runTask(DodoSource::fetch(t.context(), liveKey, {}, account, since));
        QCOMPARE(events.size(), expected.isEmpty() ? 0 : 1);
        for (const SaleEvent &e : events) {
            QCOMPARE(QStringLiteral("%1 %2 | %3 %4")
                         .arg(SaleEvent::kindName(e.kind), e.title)
                         .arg(e.amount->minor)
                         .arg(e.amount->currency),
                     expected);
            QCOMPARE(e.id, "p");
            QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(9, 15, 2, 318), Qt::UTC));
            QCOMPARE(e.platform, Platform::Dodo);
            QCOMPARE(e.account, account);
        }
    }

    void damagedBodies()
    {
        const QByteArray sample =
            list({payment("pay_1"), payment("pay_2", {{"subscription_id", "sub_1"}}),
                  payment("pay_3", {{"status", "failed"}, {"currency", "eur"}})});
        TestHttp t;
        const auto outcomes = JsonFuzz::feed(
            JsonFuzz::variants(sample, 300, 91), account,
            [&](const QByteArray &body) {
                t.server.reset();
                t.server.on("GET", "/payments", ScriptedResponse::json(body));
            },
            [&] { return DodoSource::fetch(t.context(), liveKey, {}, account, since); });
        QCOMPARE(outcomes.faults, 0);
        QVERIFY(outcomes.events > 0 && outcomes.failures > 0);
    }
};

QTEST_GUILESS_MAIN(TestDodo)
#include "tst_dodo.moc"
