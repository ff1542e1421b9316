#include "connectors/lemonsqueezy/LemonSqueezySource.h"
#include "support/AnnouncedOverChecks.h"
#include "support/Fixture.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

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
    void verifyLabel_data()
    {
        QTest::addColumn<QByteArray>("me");
        QTest::addColumn<int>("storesStatus");
        QTest::addColumn<QByteArray>("stores");
        QTest::addColumn<QString>("label");
        const QByteArray jane =
            R"({"data":{"type":"users","id":"1","attributes":{"name":"Jane Doe","email":"jane@example.com"}}})";
        const QByteArray nameless =
            R"({"data":{"type":"users","id":"1","attributes":{"email":"jane@example.com"}}})";
        const QByteArray shop =
            R"({"data":[{"type":"stores","id":"1","attributes":{"name":"Lemonade Stand"}}]})";
        QTest::newRow("store name wins") << jane << 200 << shop << "Lemonade Stand";
        QTest::newRow("stores fail: user name")
            << jane << 500 << QByteArray(R"({"errors":[{"detail":"boom"}]})") << "Jane Doe";
        QTest::newRow("stores fail, no name") << nameless << 403 << QByteArray() << "Lemon Squeezy";
        QTest::newRow("no stores") << jane << 200 << QByteArray(R"({"data":[]})") << "Jane Doe";
        QTest::newRow("store name not text")
            << jane << 200 << QByteArray(R"({"data":[{"attributes":{"name":7}}]})") << "Jane Doe";
        QTest::newRow("stores not JSON") << jane << 200 << QByteArray("<html>") << "Jane Doe";
        QTest::newRow("store list not a list")
            << nameless << 200 << QByteArray(R"({"data":{"attributes":{"name":"X"}}})")
            << "Lemon Squeezy";
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
        const auto &requests = t.server.requests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].rawTarget, "/v1/users/me");
        QCOMPARE(requests[1].rawTarget, "/v1/stores");
        for (const RecordedRequest &r : requests) {
            QCOMPARE(r.host(), "api.lemonsqueezy.com");
            QCOMPARE(r.header("Authorization"), "Bearer " + key.toUtf8());
            QCOMPARE(r.header("Accept"), "application/vnd.api+json");
        }
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
        QCOMPARE(t.server.requests().last().rawTarget,
                 "/v1/subscription-invoices?page[size]=50&include=subscription");
        QCOMPARE(t.server.requestsTo(invoices).size(), 1);
        QCOMPARE(t.server.requests().last().header("Accept"), "application/vnd.api+json");
    }

    void mapping_data()
    {
        QTest::addColumn<QJsonObject>("element");
        QTest::addColumn<QString>(
            "expected"); // kind title | minor currency; empty when nothing is reported
        const QJsonValue none(QJsonValue::Undefined);
        const auto order = [](const Changes &changes) { return element(orders, "7", changes); };
        QTest::newRow("paid") << order({}) << "sale Icon Pack | 1199 USD";
        QTest::newRow("failed keeps its amount")
            << order({{"status", "failed"}}) << "failed Icon Pack | 1199 USD";
        QTest::newRow("refunded") << order({{"status", "refunded"}}) << "";
        QTest::newRow("pending") << order({{"status", "pending"}}) << "";
        QTest::newRow("no status") << order({{"status", none}}) << "";
        QTest::newRow("order number title")
            << order({{"first_order_item", none}}) << "sale Order #1042 | 1199 USD";
        QTest::newRow("product name not text") << order(
            {{"first_order_item", QJsonObject{{"product_name", 3}}}, {"order_number", "1042"}})
                                               << "sale Order #0 | 1199 USD";
        QTest::newRow("no currency") << order({{"currency", none}}) << "sale Icon Pack | 1199 USD";
        QTest::newRow("lower-case currency")
            << order({{"currency", "eur"}}) << "sale Icon Pack | 1199 EUR";
        QTest::newRow("total as text") << order({{"total", "1199"}}) << "sale Icon Pack | 0 USD";
        QTest::newRow("total with fraction")
            << order({{"total", 11.99}}) << "sale Icon Pack | 0 USD";
        QTest::newRow("time without fraction")
            << order({{"created_at", "2026-12-05T09:30:00Z"}}) << "sale Icon Pack | 1199 USD";
        QTest::newRow("unreadable time") << order({{"created_at", "2026-12-05"}}) << "";
        QJsonObject numericId = order({});
        numericId.insert("id", 7);
        QTest::newRow("numeric id") << numericId << "";
        QJsonObject textAttributes = order({});
        textAttributes.insert("attributes", "paid");
        QTest::newRow("attributes not an object") << textAttributes << "";

        const auto invoice = [](const Changes &changes) { return element(invoices, "3", changes); };
        // Invoices carry no product name; their subscription, included, does.
        QTest::newRow("paid renewal") << invoice({}) << "renewal Pro Plan | 1071 EUR";
        QTest::newRow("pending renewal waits") << invoice({{"status", "pending"}}) << "";
        QTest::newRow("failed renewal")
            << invoice({{"status", "failed"}}) << "failed Pro Plan | 1071 EUR";
        QTest::newRow("own product name")
            << invoice({{"product_name", "Legacy"}}) << "renewal Legacy | 1071 EUR";
        QTest::newRow("first invoice") << invoice({{"billing_reason", "initial"}}) << "";
        QTest::newRow("no billing reason") << invoice({{"billing_reason", none}}) << "";
        QTest::newRow("refunded renewal") << invoice({{"status", "refunded"}}) << "";
        QTest::newRow("subscription not included")
            << invoice({{"subscription_id", 99}, {"currency", "gbp"}})
            << "renewal Subscription renewal | 1071 GBP";
        QTest::newRow("currency not text")
            << invoice({{"currency", 5}}) << "renewal Pro Plan | 1071 USD";
        QTest::newRow("before since")
            << invoice({{"created_at", "2026-12-04T23:00:00.000000Z"}}) << "";
        QTest::newRow("no time") << invoice({{"created_at", none}}) << "";
    }

    void mapping()
    {
        QFETCH(QJsonObject, element);
        QFETCH(QString, expected);
        const bool isOrder = element["type"].toString() == "orders";
        TestHttp t;
        t.server.on("GET", orders, page(orders, isOrder ? QJsonArray{element} : QJsonArray{}));
        t.server.on("GET", invoices, page(invoices, isOrder ? QJsonArray{} : QJsonArray{element}));
        const QList<SaleEvent> events =
            runTask(LemonSqueezySource::fetch(t.context(), key, {}, account, since));
        QCOMPARE(events.size(), expected.isEmpty() ? 0 : 1);
        for (const SaleEvent &e : events) {
            QCOMPARE(QStringLiteral("%1 %2 | %3 %4")
                         .arg(SaleEvent::kindName(e.kind), e.title)
                         .arg(e.amount->minor)
                         .arg(e.amount->currency),
                     expected);
            QCOMPARE(e.id,
                     QString(isOrder ? "o_7" : "si_3")
                         + (e.kind == SaleEvent::Kind::Failed ? "#failed" : ""));
            QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(9, 30), Qt::UTC));
            QCOMPARE(e.platform, Platform::LemonSqueezy);
            QCOMPARE(e.account, account);
        }
    }

    // A renewal invoice waiting for its payment says nothing; its failure and
    // its later payment, under the same id, are each announced once.
    void renewalWaitsFailsThenIsPaid()
    {
        TestHttp t;
        const char *statuses[] = {"pending", "failed", "failed", "paid", "paid"};
        QCOMPARE(announcedOverChecks(
                     account, t.clock.now(), 5,
                     [&](int i) {
                         t.server.reset();
                         t.server.on("GET", orders, page(orders, {}));
                         t.server.on(
                             "GET", invoices,
                             page(invoices, {element(invoices, "3", {{"status", statuses[i]}})}));
                         return LemonSqueezySource::fetch(t.context(), key, {}, account, since);
                     }),
                 (QStringList{"failed si_3#failed", "renewal si_3"}));
    }

    // A rejected key fails verify before the stores are asked.
    void failures()
    {
        TestHttp t;
        t.server.on("GET", "/v1/users/me", ScriptedResponse::json("", 401));
        QCOMPARE(failureOf(LemonSqueezySource::verify(t.context(), key, {})),
                 "Lemon Squeezy rejected the key. It may have been revoked");
        QVERIFY(t.server.requestsTo("/v1/stores").isEmpty());
    }

    void damagedBodies()
    {
        QJsonArray someOrders = newOrders(4);
        someOrders.append(element(orders, "f", {{"status", "failed"}}));
        const QByteArray orderPage = page(orders, someOrders).body;
        const QByteArray invoicePage =
            page(invoices,
                 {element(invoices, "1"), element(invoices, "2", {{"status", "pending"}})})
                .body;
        TestHttp t;
        for (const QString &damaged : {orders, invoices}) {
            const QByteArray &sample = damaged == orders ? orderPage : invoicePage;
            const auto outcomes = JsonFuzz::feed(
                JsonFuzz::variants(sample, 180, damaged.size()), account,
                [&](const QByteArray &body) {
                    t.server.reset();
                    t.server.on("GET", orders,
                                ScriptedResponse::json(damaged == orders ? body : orderPage));
                    t.server.on("GET", invoices,
                                ScriptedResponse::json(damaged == invoices ? body : invoicePage));
                },
                [&] { return LemonSqueezySource::fetch(t.context(), key, {}, account, since); });
            QCOMPARE(outcomes.faults, 0);
            QVERIFY(outcomes.events > 0 && outcomes.failures > 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestLemonSqueezy)
#include "tst_lemonsqueezy.moc"
