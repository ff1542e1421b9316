#include "connectors/gumroad/GumroadSource.h"
#include "core/SystemTexts.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Hosts, requests and damaged answers: tests/sources.
namespace {

const QString token = QStringLiteral("gum_Xc9fT2kq_access_token");
const QUuid account = QUuid::fromString(QStringLiteral("{0b7e4d7a-52a4-4a8e-8f0c-4c6f8d2b9e31}"));
// Half past midnight UTC: the day before is 4 December.
const QDateTime since(QDate(2026, 12, 5), QTime(0, 30), Qt::UTC);
using Items = QList<std::pair<QString, QString>>;

// The recorded sale with another id and time.
QJsonObject sale(const QString &id, const QString &createdAt)
{
    QJsonObject s =
        QJsonDocument::fromJson(fixture("gumroad/sales-page.json"))["sales"][0].toObject();
    s["id"] = id;
    s["created_at"] = createdAt;
    return s;
}

ScriptedResponse sales(const QJsonArray &list, const QJsonValue &nextKey = QJsonValue::Undefined)
{
    QJsonObject body{{"success", true}, {"sales", list}};
    if (!nextKey.isUndefined())
        body.insert("next_page_key", nextKey);
    return ScriptedResponse::json(QJsonDocument(body).toJson());
}

QList<SaleEvent> fetch(TestHttp &t)
{
    return runTask(GumroadSource::fetch(t.context(), token, {}, account, since));
}

}

class TestGumroad : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyLabels_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("label");
        const auto row = [](const char *name, const QByteArray &body, const char *label) {
            QTest::newRow(name) << body << QString(label);
        };
        row("name", fixture("gumroad/user.json"), "Ada Shop");
        row("empty name", R"({"user":{"name":"","email":"ada@example.com"}})", "ada@example.com");
        row("name not text", R"({"user":{"name":42,"email":"ada@example.com"}})",
            "ada@example.com");
        row("neither", R"({"success":true,"user":{"name":null}})", "Gumroad");
        row("no user", R"({"success":true,"user":"ada"})", "Gumroad");
        row("array body", R"([{"user":{"name":"x"}}])", "Gumroad");
    }

    void verifyLabels()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, label);
        TestHttp t;
        t.server.on("GET", "/v2/user", ScriptedResponse::json(body));
        QCOMPARE(runTask(GumroadSource::verify(t.context(), token, {})), label);
        // The note names where the token is kept in this system's own terms.
        QVERIFY(GumroadSource::help().note->endsWith(
            SystemTexts::get(SystemTexts::Text::TokenInKeyring)));
    }

    void dayBefore()
    {
        QCOMPARE(GumroadSource::dayBefore(QDateTime(QDate(2027, 1, 1), QTime(0, 10), Qt::UTC)),
                 "2026-12-31");
        // Counted in UTC whatever zone the cut-off is expressed in.
        QCOMPARE(GumroadSource::dayBefore(
                     QDateTime(QDate(2026, 12, 5), QTime(1, 0), Qt::OffsetFromUTC, 7200)),
                 "2026-12-03");
        QCOMPARE(GumroadSource::dayBefore(
                     QDateTime(QDate(2026, 12, 5), QTime(23, 0), Qt::OffsetFromUTC, -3600)),
                 "2026-12-05");
    }

    void paging()
    {
        // A sale before the cut-off ends paging, even with a next key.
        TestHttp t;
        t.server.on(
            "GET", "/v2/sales",
            sales({sale("s_new", "2026-12-05T09:15:02Z"),
                   sale("s_edge", "2026-12-05T00:30:00.000Z"),
                   sale("s_early", "2026-12-05T00:29:59Z"), sale("s_old", "2026-12-04T18:00:00Z")},
                  "20261204180000000000-1"));
        const QList<SaleEvent> events = fetch(t);
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].id, "s_new");
        QCOMPARE(events[1].id, "s_edge");
        QCOMPARE(t.server.requests().size(), 1);

        // Five pages at most, each carrying the previous page's key.
        t.server.reset();
        for (int n = 1; n <= 6; ++n)
            t.server.on("GET", "/v2/sales",
                        sales({sale(QStringLiteral("s_%1").arg(n), "2026-12-05T10:00:00Z")},
                              QStringLiteral("key_%1").arg(n)));
        QCOMPARE(fetch(t).last().id, "s_5");
        const auto rs = t.server.requestsTo("/v2/sales");
        QCOMPARE(rs.size(), 5);
        for (int n = 1; n < 5; ++n)
            QCOMPARE(
                rs[n].query,
                (Items{{"after", "2026-12-04"}, {"page_key", QStringLiteral("key_%1").arg(n)}}));

        // A key that is not text ends paging; a sale without a usable date is skipped without
        // ending it.
        t.server.reset();
        t.server.on("GET", "/v2/sales", sales({sale("s_undated", "5 Dec 2026 10:00 AM")}, "key_a"));
        t.server.on("GET", "/v2/sales", sales({sale("s_b", "2026-12-05T10:00:00Z")}, 12345));
        t.server.on("GET", "/v2/sales", sales({sale("s_c", "2026-12-05T10:00:00Z")}));
        QCOMPARE(fetch(t).size(), 1);
        QCOMPARE(t.server.requests().size(), 2);
    }

    // Each sale's id says how it differs from the recorded one; sales without
    // a text id are not reported.
    void mapping()
    {
        TestHttp t;
        t.server.on("GET", "/v2/sales",
                    ScriptedResponse::json(fixture("gumroad/sales-mapping.json")));
        const auto line = [](const char *id, const char *rest) -> QString {
            return QString(id) + " sale " + rest + " @ 12-05 08:38:56.250";
        };
        QCOMPARE(eventLines(fetch(t), Platform::Gumroad, account),
                 (QStringList{
                     line("as-listed", "Icon Pack | 1999 USD"),
                     line("fraction-cut", "Icon Pack | 12 USD"),
                     line("negative-fraction", "Icon Pack | -12 USD"),
                     line("price-as-text", "Icon Pack | 0 USD"),
                     line("price-beyond-64-bits", "Icon Pack | 0 USD"),
                     line("no-currency", "Icon Pack | 1999 USD"),
                     line("empty-currency", "Icon Pack | 1999 USD"),
                     line("euro", "Icon Pack | 1999 EUR"),
                     line("no-product-name", "Gumroad sale | 1999 USD"),
                 }));
    }
};

QTEST_GUILESS_MAIN(TestGumroad)
#include "tst_gumroad.moc"
