#include "connectors/gumroad/GumroadSource.h"
#include "core/SystemTexts.h"
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

// The recorded sale with another id and time, and some fields changed.
QJsonObject sale(const QString &id, const QString &createdAt, const QJsonObject &changes = {})
{
    QJsonObject s =
        QJsonDocument::fromJson(fixture("gumroad/sales-page.json"))["sales"][0].toObject();
    s["id"] = id;
    s["created_at"] = createdAt;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        s[it.key()] = it.value();
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

    void mapping_data()
    {
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QString>("expected"); // title | minor currency
        const auto row = [](const char *name, const QJsonObject &changes, const char *expected) {
            QTest::newRow(name) << changes << QString(expected);
        };
        row("as listed", {}, "Icon Pack | 1999 USD");
        row("fraction cut", {{"price", 12.9}}, "Icon Pack | 12 USD");
        row("negative fraction", {{"price", -12.9}}, "Icon Pack | -12 USD");
        row("price as text", {{"price", "1999"}}, "Icon Pack | 0 USD");
        row("price beyond 64 bits", {{"price", 1e30}}, "Icon Pack | 0 USD");
        row("no currency", {{"currency", QJsonValue::Null}}, "Icon Pack | 1999 USD");
        row("empty currency", {{"currency", ""}}, "Icon Pack | 1999 USD");
        row("euro", {{"currency", "eur"}}, "Icon Pack | 1999 EUR");
        row("no product name", {{"product_name", QJsonValue::Null}}, "Gumroad sale | 1999 USD");
    }

    void mapping()
    {
        QFETCH(QJsonObject, changes);
        QFETCH(QString, expected);
        TestHttp t;
        t.server.on(
            "GET", "/v2/sales",
            sales({sale("B28UKN-dvxYabdavG97Y-Q==", "2026-12-05T09:38:56.250+01:00", changes),
                   sale("", "2026-12-05T09:00:00Z"),
                   sale("s_no_id", "2026-12-05T09:00:00Z", {{"id", 7}})}));
        const QList<SaleEvent> events = fetch(t);
        QCOMPARE(events.size(), 1);
        const SaleEvent &e = events.first();
        QCOMPARE(
            QStringLiteral("%1 | %2 %3").arg(e.title).arg(e.amount->minor).arg(e.amount->currency),
            expected);
        QCOMPARE(e.id, "B28UKN-dvxYabdavG97Y-Q==");
        QCOMPARE(e.kind, SaleEvent::Kind::Sale);
        QCOMPARE(e.platform, Platform::Gumroad);
        QCOMPARE(e.account, account);
        QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(8, 38, 56, 250), Qt::UTC));
    }
};

QTEST_GUILESS_MAIN(TestGumroad)
#include "tst_gumroad.moc"
