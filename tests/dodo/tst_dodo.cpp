#include "connectors/dodo/DodoSource.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Hosts, labels, requests and damaged answers: tests/sources.
namespace {

const QUuid account = QUuid::fromString(QStringLiteral("{9a8b7c6d-5e4f-4a3b-8c2d-1e0f9a8b7c6d}"));
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
using Changes = QList<std::pair<QString, QJsonValue>>; // an undefined value removes the field

// The recorded succeeded one-off payment with some fields changed.
QJsonObject payment(const Changes &changes = {}, const QString &id = QStringLiteral("p"))
{
    QJsonObject p = QJsonDocument::fromJson(fixture("dodo/payments.json"))["items"][0].toObject();
    p["payment_id"] = id;
    for (const auto &[name, value] : changes)
        p.insert(name, value);
    return p;
}

}

class TestDodo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paymentMapping_data()
    {
        QTest::addColumn<QJsonObject>("element");
        QTest::addColumn<QString>("expected"); // kind title | minor currency; empty: not reported
        const auto row = [](const char *name, const Changes &changes, const char *expected) {
            QTest::newRow(name) << payment(changes) << QString(expected);
        };
        const QJsonValue none(QJsonValue::Undefined);
        row("sale", {}, "sale Payment | 2900 USD");
        row("renewal", {{"subscription_id", "sub_9K"}}, "renewal Subscription payment | 2900 USD");
        row("failed", {{"status", "failed"}}, "failed Payment | 2900 USD");
        row("failed renewal", {{"status", "failed"}, {"subscription_id", "sub_1"}},
            "failed Subscription payment | 2900 USD");
        for (const char *status :
             {"processing", "cancelled", "requires_customer_action", "partially_captured"})
            row(status, {{"status", status}}, "");
        row("no status", {{"status", none}}, "");
        row("no payment id", {{"payment_id", none}}, "");
        row("numeric payment id", {{"payment_id", 5}}, "");
        row("no time", {{"created_at", none}}, "");
        row("unreadable time", {{"created_at", 1764925502}}, "");
        row("no currency", {{"currency", none}}, "sale Payment | 2900 USD");
        // "inr" and "INR" must count as one currency in the totals.
        row("currency upper-cased", {{"currency", "inr"}}, "sale Payment | 2900 INR");
        row("amount as text", {{"total_amount", "2900"}}, "sale Payment | 0 USD");
        row("subscription id not text", {{"subscription_id", 77}}, "sale Payment | 2900 USD");
    }

    void paymentMapping()
    {
        QFETCH(QJsonObject, element);
        QFETCH(QString, expected);
        TestHttp t;
        const QJsonArray items{element, payment({{"status", "processing"}}, "pay_other")};
        t.server.on("GET", "/payments",
                    ScriptedResponse::json(QJsonDocument(QJsonObject{{"items", items}}).toJson()));
        const QList<SaleEvent> events =
            runTask(DodoSource::fetch(t.context(), "k", {}, account, since));
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
};

QTEST_GUILESS_MAIN(TestDodo)
#include "tst_dodo.moc"
