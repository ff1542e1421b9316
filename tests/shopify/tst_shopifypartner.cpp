#include "connectors/shopify/ShopifyPartnerSource.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QTest>

// Hosts, what it reads from a recorded answer, where paging stops, headers, error sentences and
// damaged answers: tests/sources.
namespace {

const QString apiPath = QStringLiteral("/1234567/api/2026-10/graphql.json");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);

Extra partner(const QString &id = QStringLiteral("1234567"))
{
    return {{QStringLiteral("partnerId"), id}};
}

QByteArray sale(int n)
{
    return fixture("shopify/partner-sale-edge.json").replace("N", QByteArray::number(n));
}

QByteArray page(const QByteArray &edges, bool hasNext = false)
{
    return R"({"data":{"transactions":{"edges":[)" + edges + R"(],"pageInfo":{"hasNextPage":)"
        + (hasNext ? "true" : "false") + "}}}}";
}

}

class TestShopifyPartner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partnerIdDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("digits");
        const auto row = [](const char *name, const QString &typed, const char *digits = "") {
            QTest::newRow(name) << typed << QString(digits);
        };
        row("dashboard address", "https://partners.shopify.com/1234567/apps", "1234567");
        row("spaces and letters", " id: 12 34 567x ", "1234567");
        row("other script digits", QString::fromUtf8("\u0661\u0662\u0663"), "123");
        row("none", "partner");
        row("empty", "");
    }

    void partnerIdDigits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, digits);
        QCOMPARE(ShopifyPartnerSource::partnerId(partner(typed)), digits);
        QCOMPARE(ShopifyPartnerSource::dashboard({.extra = partner(typed)}).toString(),
                 "https://partners.shopify.com/"
                     + (digits.isEmpty() ? QString() : digits + "/payouts"));
        if (!digits.isEmpty())
            return;
        // Without an id nothing is sent.
        TestHttp t;
        const QString message = "Add your Partner ID (the number in the Partner Dashboard address)";
        QCOMPARE(failureOf(ShopifyPartnerSource::verify(t.context(), "prtapi_1", partner(typed))),
                 message);
        QCOMPARE(failureOf(ShopifyPartnerSource::fetch(t.context(), "prtapi_1", partner(typed),
                                                       account, since)),
                 message);
        QVERIFY(t.server.requests().isEmpty());
    }

    void exactRequests()
    {
        TestHttp t;
        t.server.on("POST", apiPath,
                    ScriptedResponse::json(R"({"data":{"transactions":{"edges":[]}}})"));
        QCOMPARE(runTask(ShopifyPartnerSource::verify(t.context(), "prtapi_abc",
                                                      partner("partners.shopify.com/1234567/"))),
                 "Partner 1234567");
        QCOMPARE(
            t.server.requests().last().body,
            R"({"query":"{ transactions(first: 1) { edges { node { id } } } }","variables":{}})");

        t.server.reset();
        t.server.on("POST", apiPath, ScriptedResponse::json(page(sale(1) + "," + sale(2), true)));
        t.server.on("POST", apiPath, ScriptedResponse::json(page(sale(3))));
        const QDateTime cutOff(QDate(2026, 12, 4), QTime(23, 45, 0, 999), Qt::UTC);
        QCOMPARE(runTask(ShopifyPartnerSource::fetch(t.context(), "prtapi_abc", partner(), account,
                                                     cutOff))
                     .size(),
                 3);
        const QList<QJsonValue> cursors{QJsonValue::Null, "cur-2"};
        QCOMPARE(t.server.requestsTo(apiPath).size(), 2);
        for (int page = 0; page < 2; ++page)
            QCOMPARE(QJsonDocument::fromJson(t.server.requests()[page].body).object(),
                     QJsonObject({{"query",
                                   QString::fromUtf8(
                                       fixture("shopify/partner-transactions-query.graphql"))},
                                  {"variables",
                                   QJsonObject({{"since", "2026-12-04T23:45:00Z"},
                                                {"after", cursors[page]}})}}));
    }
};

QTEST_GUILESS_MAIN(TestShopifyPartner)
#include "tst_shopifypartner.moc"
