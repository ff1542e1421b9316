#include "connectors/lemonsqueezy/LemonSqueezySource.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Hosts, requests, refused keys, damaged answers and renewals that fail
// before they are paid: tests/sources.
namespace {

const QString key = QStringLiteral("eyJ0eXAiOiJKV1QiLCJhbGciOiJSUzI1NiJ9.ls-test");
const QUuid account = QUuid::fromString(QStringLiteral("{6a1c4a52-1b43-4c5e-9a77-0f3f1d1e2b10}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString orders = QStringLiteral("/v1/orders");
const QString invoices = QStringLiteral("/v1/subscription-invoices");
using Query = QList<std::pair<QString, QString>>;
// Attribute changes; an undefined value removes the attribute.
using Changes = QList<std::pair<QString, QJsonValue>>;

QJsonObject recordedPage(const QString &path)
{
    return QJsonDocument::fromJson(fixture("lemonsqueezy" + path.mid(3) + "-page.json")).object();
}

// The recorded order or subscription invoice (by path) with another id, and some attributes
// changed.
QJsonObject element(const QString &path, const QString &id, const Changes &changes = {})
{
    QJsonObject e = recordedPage(path)["data"][0].toObject();
    QJsonObject attributes = e["attributes"].toObject();
    for (const auto &[name, value] : changes)
        attributes.insert(name, value);
    e["id"] = id;
    e["attributes"] = attributes;
    return e;
}

ScriptedResponse page(const QString &path, const QJsonArray &data)
{
    QJsonObject body = recordedPage(path);
    body["data"] = data;
    return ScriptedResponse::json(QJsonDocument(body).toJson());
}

// `count` paid orders, newest first, all after `since`.
QJsonArray newOrders(int count, int firstId = 1)
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(element(
            orders, QString::number(firstId + i),
            {{"created_at", QStringLiteral("2026-12-05T11:%1:00.000000Z").arg(10 + i % 50)}}));
    return list;
}

}

class TestLemonSqueezy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The store's name, else the user's, else the platform's.
    void verifyLabel_data()
    {
        QTest::addColumn<QByteArray>("me");
        QTest::addColumn<int>("storesStatus");
        QTest::addColumn<QByteArray>("stores");
        QTest::addColumn<QString>("label");
        const auto row = [](const char *name, const QByteArray &me, int status,
                            const QByteArray &stores, const char *label) {
            QTest::newRow(name) << me << status << stores << QString(label);
        };
        const QByteArray jane = R"({"data":{"attributes":{"name":"Jane Doe","email":"j@x.com"}}})";
        const QByteArray nameless = R"({"data":{"attributes":{"email":"j@x.com"}}})";
        row("store name wins", jane, 200, R"({"data":[{"attributes":{"name":"Lemonade Stand"}}]})",
            "Lemonade Stand");
        row("stores fail: user name", jane, 500, R"({"errors":[{"detail":"boom"}]})", "Jane Doe");
        row("stores fail, no name", nameless, 403, "", "Lemon Squeezy");
        row("no stores", jane, 200, R"({"data":[]})", "Jane Doe");
        row("store name not text", jane, 200, R"({"data":[{"attributes":{"name":7}}]})",
            "Jane Doe");
        row("stores not JSON", jane, 200, "<html>", "Jane Doe");
        row("store list not a list", nameless, 200, R"({"data":{"attributes":{"name":"X"}}})",
            "Lemon Squeezy");
    }

    void verifyLabel()
    {
        QFETCH(QByteArray, me);
        QFETCH(int, storesStatus);
        QFETCH(QByteArray, stores);
        QFETCH(QString, label);
        TestHttp t;
        t.server.on("GET", "/v1/users/me", ScriptedResponse::json(me));
        t.server.on("GET", "/v1/stores", ScriptedResponse::json(stores, storesStatus));
        QCOMPARE(runTask(LemonSqueezySource::verify(t.context(), key, {})), label);
    }

    void orderPaging_data()
    {
        // Each page: how many new orders, and where (if anywhere) an old one sits.
        QTest::addColumn<QList<int>>("pageSizes");
        QTest::addColumn<int>("oldAt"); // index on the first page, -1 for none
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("sales");
        QTest::newRow("five full pages, no sixth")
            << QList<int>{50, 50, 50, 50, 50, 50} << -1 << 5 << 250;
        QTest::newRow("short page stops") << QList<int>{3} << -1 << 1 << 3;
        QTest::newRow("full then empty") << QList<int>{50, 0} << -1 << 2 << 50;
        QTest::newRow("old order on a full page stops") << QList<int>{50, 50} << 10 << 1 << 49;
        QTest::newRow("old order last on the page") << QList<int>{50, 50} << 49 << 1 << 49;
    }

    void orderPaging()
    {
        QFETCH(QList<int>, pageSizes);
        QFETCH(int, oldAt);
        QFETCH(int, requests);
        QFETCH(int, sales);
        TestHttp t;
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path != orders)
                return std::nullopt;
            const int number = r.queryValue("page[number]").toInt();
            QJsonArray data = newOrders(pageSizes.value(number - 1), number * 100);
            if (number == 1 && oldAt >= 0)
                data[oldAt] =
                    element(orders, "old", {{"created_at", "2026-12-04T23:59:59.000000Z"}});
            return page(orders, data);
        });
        t.server.on(
            "GET", invoices,
            ScriptedResponse::json(fixture("lemonsqueezy/subscription-invoices-page.json")));

        const QList<SaleEvent> events =
            runTask(LemonSqueezySource::fetch(t.context(), key, {}, account, since));
        QCOMPARE(events.size(), sales + 1);
        QVERIFY(std::none_of(events.begin(), events.end(),
                             [](const SaleEvent &e) { return e.id == u"o_old"; }));
        QCOMPARE(events.last().id, "si_3"); // renewals come after the orders
        const auto asked = t.server.requestsTo(orders);
        QCOMPARE(asked.size(), requests);
        for (int i = 0; i < asked.size(); ++i)
            QCOMPARE(asked[i].query,
                     (Query{{"page[size]", "50"}, {"page[number]", QString::number(i + 1)}}));
        QCOMPARE(t.server.requestsTo(invoices).size(), 1);
    }

    // Each order's and invoice's id says how it differs from the recorded
    // one; those not listed are not reported. Invoices carry no product name:
    // their subscription, included, does.
    void mapping()
    {
        TestHttp t;
        t.server.on("GET", orders,
                    ScriptedResponse::json(fixture("lemonsqueezy/orders-mapping.json")));
        t.server.on(
            "GET", invoices,
            ScriptedResponse::json(fixture("lemonsqueezy/subscription-invoices-mapping.json")));
        const auto line = [](const char *id, const char *rest) -> QString {
            return QString(id) + u' ' + rest + " @ 12-05 09:30:00.000";
        };
        const char *sale = "sale Icon Pack | 1199 USD";
        const char *renewal = "renewal Pro Plan | 1071 EUR";
        QCOMPARE(
            eventLines(runTask(LemonSqueezySource::fetch(t.context(), key, {}, account, since)),
                       Platform::LemonSqueezy, account),
            (QStringList{
                line("o_paid", sale),
                line("o_failed#failed", "failed Icon Pack | 1199 USD"), // keeps its amount
                line("o_order-number-title", "sale Order #1042 | 1199 USD"),
                line("o_product-name-not-text", "sale Order #0 | 1199 USD"),
                line("o_no-currency", sale),
                line("o_currency-lower-case", "sale Icon Pack | 1199 EUR"),
                line("o_total-as-text", "sale Icon Pack | 0 USD"),
                line("o_total-with-fraction", "sale Icon Pack | 0 USD"),
                line("o_time-without-fraction", sale),
                line("si_paid", renewal),
                line("si_failed#failed", "failed Pro Plan | 1071 EUR"),
                line("si_own-product-name", "renewal Legacy | 1071 EUR"),
                line("si_subscription-not-included", "renewal Subscription renewal | 1071 GBP"),
                line("si_currency-not-text", "renewal Pro Plan | 1071 USD"),
            }));
    }
};

QTEST_GUILESS_MAIN(TestLemonSqueezy)
#include "tst_lemonsqueezy.moc"
