#include "connectors/gumroad/GumroadSource.h"
#include "core/SystemTexts.h"
#include "support/Fixture.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

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
        QTest::newRow("name") << fixture("gumroad/user.json") << "Ada Shop";
        QTest::newRow("empty name")
            << QByteArray(R"({"user":{"name":"","email":"ada@example.com"}})") << "ada@example.com";
        QTest::newRow("name not text")
            << QByteArray(R"({"user":{"name":42,"email":"ada@example.com"}})") << "ada@example.com";
        QTest::newRow("neither") << QByteArray(R"({"success":true,"user":{"name":null}})")
                                 << "Gumroad";
        QTest::newRow("no user") << QByteArray(R"({"success":true,"user":"ada"})") << "Gumroad";
        QTest::newRow("array body") << QByteArray(R"([{"user":{"name":"x"}}])") << "Gumroad";
    }

    void verifyLabels()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, label);
        TestHttp t;
        t.server.on("GET", "/v2/user", ScriptedResponse::json(body));
        QCOMPARE(runTask(GumroadSource::verify(t.context(), token, {})), label);
        QCOMPARE(t.server.requests().size(), 1);
        const RecordedRequest &r = t.server.requests().first();
        QCOMPARE(r.host(), "api.gumroad.com");
        QCOMPARE(r.rawTarget, "/v2/user");
        QCOMPARE(r.header("Authorization"), "Bearer " + token.toUtf8());
        // The note names where the token is kept in this system's own terms.
        QVERIFY(GumroadSource::help().note->endsWith(
            SystemTexts::get(SystemTexts::Text::TokenInKeyring)));
    }

    void dayBefore()
    {
        QCOMPARE(GumroadSource::dayBefore(since), "2026-12-04");
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
        QCOMPARE(t.server.requests()[0].host(), "api.gumroad.com");
        QCOMPARE(t.server.requests()[0].header("Authorization"), "Bearer " + token.toUtf8());

        // Five pages at most, each carrying the previous page's key.
        t.server.reset();
        for (int n = 1; n <= 6; ++n)
            t.server.on("GET", "/v2/sales",
                        sales({sale(QStringLiteral("s_%1").arg(n), "2026-12-05T10:00:00Z")},
                              QStringLiteral("key_%1").arg(n)));
        QCOMPARE(fetch(t).last().id, "s_5");
        const auto rs = t.server.requestsTo("/v2/sales");
        QCOMPARE(rs.size(), 5);
        QCOMPARE(rs[0].query, (Items{{"after", "2026-12-04"}}));
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
        QTest::newRow("as listed") << QJsonObject{} << "Icon Pack | 1999 USD";
        QTest::newRow("fraction cut") << QJsonObject{{"price", 12.9}} << "Icon Pack | 12 USD";
        QTest::newRow("negative fraction")
            << QJsonObject{{"price", -12.9}} << "Icon Pack | -12 USD";
        QTest::newRow("price as text") << QJsonObject{{"price", "1999"}} << "Icon Pack | 0 USD";
        QTest::newRow("price beyond 64 bits")
            << QJsonObject{{"price", 1e30}} << "Icon Pack | 0 USD";
        QTest::newRow("no currency")
            << QJsonObject{{"currency", QJsonValue::Null}} << "Icon Pack | 1999 USD";
        QTest::newRow("empty currency") << QJsonObject{{"currency", ""}} << "Icon Pack | 1999 USD";
        QTest::newRow("euro") << QJsonObject{{"currency", "eur"}} << "Icon Pack | 1999 EUR";
        QTest::newRow("no product name")
            << QJsonObject{{"product_name", QJsonValue::Null}} << "Gumroad sale | 1999 USD";
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

    void damagedBodies()
    {
        QJsonObject sample = QJsonDocument::fromJson(fixture("gumroad/sales-page.json")).object();
        QJsonArray list;
        for (int n = 0; n < 6; ++n)
            list.append(sale(QStringLiteral("s_%1").arg(n), "2026-12-05T10:00:00Z",
                             {{"price", 100.5 * n}}));
        sample["sales"] = list;
        TestHttp t;
        // An event from before the cut-off counts as a fault.
        const auto outcomes = JsonFuzz::feed(
            JsonFuzz::variants(QJsonDocument(sample).toJson(), 300, 4122026), account,
            [&](const QByteArray &body) {
                t.server.reset();
                t.server.on("GET", "/v2/sales", ScriptedResponse::json(body));
            },
            [&]() -> QCoro::Task<QList<SaleEvent>> {
                const QList<SaleEvent> events =
                    co_await GumroadSource::fetch(t.context(), token, {}, account, since);
                if (std::any_of(events.begin(), events.end(),
                                [](const SaleEvent &e) { return e.at < since; }))
                    throw std::logic_error("early sale");
                co_return events;
            });
        QCOMPARE(outcomes.faults, 0);
        QVERIFY(outcomes.events > 0 && outcomes.failures > 0);
    }
};

QTEST_GUILESS_MAIN(TestGumroad)
#include "tst_gumroad.moc"
