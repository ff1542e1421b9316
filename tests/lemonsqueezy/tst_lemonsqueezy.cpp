#include "connectors/lemonsqueezy/LemonSqueezySource.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QTest>

// Hosts, labels, what it reads from a recorded answer, requests, refused keys, damaged answers and
// renewals that fail before they are paid: tests/sources.
namespace {

const QString key = QStringLiteral("eyJ0eXAiOiJKV1QiLCJhbGciOiJSUzI1NiJ9.ls-test");
const QUuid account = QUuid::fromString(QStringLiteral("{6a1c4a52-1b43-4c5e-9a77-0f3f1d1e2b10}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString orders = QStringLiteral("/v1/orders");
const QString invoices = QStringLiteral("/v1/subscription-invoices");
using Query = QList<std::pair<QString, QString>>;

// An order, paid, after `since` unless dated otherwise.
QByteArray order(const QString &id, const char *at = "2026-12-05T11:10:00.000000Z")
{
    return QStringLiteral(R"({"type":"orders","id":"%1","attributes":)"
                          R"({"status":"paid","total":1199,"created_at":"%2"}})")
        .arg(id, QLatin1String(at))
        .toUtf8();
}

}

class TestLemonSqueezy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderPaging_data()
    {
        // Each page: how many new orders, and where (if anywhere) an old one sits.
        QTest::addColumn<QList<int>>("pageSizes");
        QTest::addColumn<int>("oldAt"); // index on the first page, -1 for none
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("sales");
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
            QByteArrayList data;
            for (int i = 0; i < pageSizes.value(number - 1); ++i)
                data.append(number == 1 && i == oldAt ? order("old", "2026-12-04T23:59:59.000000Z")
                                                      : order(QString::number(number * 100 + i)));
            return ScriptedResponse::json(R"({"data":[)" + data.join(',') + "]}");
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
};

QTEST_GUILESS_MAIN(TestLemonSqueezy)
#include "tst_lemonsqueezy.moc"
