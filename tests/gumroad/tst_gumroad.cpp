#include "connectors/gumroad/GumroadSource.h"
#include "core/SystemTexts.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

namespace {

const QString token = QStringLiteral("gum_Xc9fT2kq_access_token");
const QUuid account = QUuid::fromString(QStringLiteral("{0b7e4d7a-52a4-4a8e-8f0c-4c6f8d2b9e31}"));
// Half past midnight UTC: the day before is 4 December.
const QDateTime since(QDate(2026, 12, 5), QTime(0, 30), Qt::UTC);

// A sale as Gumroad lists it, with the fields the connector reads.
QJsonObject sale(const QString &id, const QString &createdAt, const QJsonObject &more = {})
{
    QJsonObject s{{"id", id}, {"email", "buyer@example.com"}, {"seller_id", "kL0psVL2admJSYRNs-OCMg=="},
                  {"timestamp", "about 1 hour ago"}, {"created_at", createdAt}, {"product_name", "Icon Pack"},
                  {"price", 1999}, {"gumroad_fee", 220}, {"currency", "usd"}, {"currency_symbol", "$"},
                  {"formatted_display_price", "$19.99"}, {"product_id", "32-nPainqpLj1B_WIwVlMw=="},
                  {"refunded", false}, {"quantity", 1}};
    for (auto it = more.begin(); it != more.end(); ++it)
        s.insert(it.key(), it.value());
    return s;
}

ScriptedResponse sales(const QJsonArray &list, const QJsonValue &nextKey = QJsonValue::Undefined)
{
    QJsonObject body{{"success", true}, {"sales", list}};
    if (!nextKey.isUndefined())
        body.insert("next_page_key", nextKey);
    return ScriptedResponse::json(QJsonDocument(body).toJson(QJsonDocument::Compact));
}

QList<SaleEvent> fetch(TestHttp &t, const QDateTime &cutOff = since)
{
    return runTask(GumroadSource::fetch(t.context(), token, {}, account, cutOff));
}

using Items = QList<std::pair<QString, QString>>;

}


class TestGumroad : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyLabels_data();
    void verifyLabels();
    void verifyErrors();
    void dayBefore();
    void timeTestStopsPaging();
    void pagingCarriesKeyAndStopsAtFive();
    void mapping_data();
    void mapping();
    void failingPageFailsFetch();
    void randomBodiesNeverCrash();
};

void TestGumroad::verifyLabels_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("label");
    QTest::newRow("name") << QByteArray(R"({"success":true,"user":{"name":"Ada Shop","email":"ada@example.com","user_id":"G_-mnBf9b1j9A7a4ub4nFQ=="}})")
                          << "Ada Shop";
    QTest::newRow("empty name") << QByteArray(R"({"success":true,"user":{"name":"","email":"ada@example.com"}})")
                                << "ada@example.com";
    QTest::newRow("name not text") << QByteArray(R"({"user":{"name":42,"email":"ada@example.com"}})") << "ada@example.com";
    QTest::newRow("neither") << QByteArray(R"({"success":true,"user":{"name":null}})") << "Gumroad";
    QTest::newRow("no user") << QByteArray(R"({"success":true,"user":"ada"})") << "Gumroad";
    QTest::newRow("array body") << QByteArray(R"([{"user":{"name":"x"}}])") << "Gumroad";
}

void TestGumroad::verifyLabels()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, label);
    TestHttp t;
    t.server.on("GET", "/v2/user", ScriptedResponse::json(body));
    QCOMPARE(runTask(GumroadSource::verify(t.context(), token, {})), label);
    QCOMPARE(t.server.requests().size(), 1);
    const RecordedRequest &r = t.server.requests().first();
    QCOMPARE(r.host(), "api.gumroad.com");
    QCOMPARE(r.path, "/v2/user");
    QVERIFY(r.query.isEmpty());
    QCOMPARE(r.header("Authorization"), "Bearer " + token.toUtf8());
}

void TestGumroad::verifyErrors()
{
    TestHttp t;
    t.server.on("GET", "/v2/user",
                ScriptedResponse::json(R"({"error":"invalid_token","error_description":"The access token is invalid"})", 401));
    QCOMPARE(failureOf(GumroadSource::verify(t.context(), token, {})), "Gumroad: The access token is invalid");
    t.server.reset();
    t.server.on("GET", "/v2/user", ScriptedResponse::json("", 401));
    QCOMPARE(failureOf(GumroadSource::verify(t.context(), token, {})),
             "Gumroad rejected the key. It may have been revoked");
    t.server.reset();
    t.server.on("GET", "/v2/user", ScriptedResponse::json(R"({"success":false,"message":"slow down"})", 429));
    QCOMPARE(failureOf(GumroadSource::verify(t.context(), token, {})), "Gumroad asked us to slow down");

    // The note names where the token is kept in this system's own terms.
    QVERIFY(GumroadSource::help().note->endsWith(SystemTexts::get(SystemTexts::Text::TokenInKeyring)));
}

void TestGumroad::dayBefore()
{
    QCOMPARE(GumroadSource::dayBefore(since), "2026-12-04");
    QCOMPARE(GumroadSource::dayBefore(QDateTime(QDate(2027, 1, 1), QTime(0, 10), Qt::UTC)), "2026-12-31");
    // Counted in UTC whatever zone the cut-off is expressed in.
    QCOMPARE(GumroadSource::dayBefore(QDateTime(QDate(2026, 12, 5), QTime(1, 0), Qt::OffsetFromUTC, 7200)), "2026-12-03");
    QCOMPARE(GumroadSource::dayBefore(QDateTime(QDate(2026, 12, 5), QTime(23, 0), Qt::OffsetFromUTC, -3600)), "2026-12-05");
}

void TestGumroad::timeTestStopsPaging()
{
    TestHttp t;
    t.server.on("GET", "/v2/sales", sales({sale("s_new", "2026-12-05T09:15:02Z"),
                                           sale("s_edge", "2026-12-05T00:30:00.000Z"),
                                           sale("s_early", "2026-12-05T00:29:59Z"),
                                           sale("s_yesterday", "2026-12-04T18:00:00Z")},
                                          "20261204180000000000-1"));
    const QList<SaleEvent> events = fetch(t);
    QCOMPARE(events.size(), 2);
    QCOMPARE(events[0].id, "s_new");
    QCOMPARE(events[1].id, "s_edge");
    QCOMPARE(t.server.requests().size(), 1);
    const RecordedRequest &r = t.server.requests().first();
    QCOMPARE(r.host(), "api.gumroad.com");
    QCOMPARE(r.path, "/v2/sales");
    QCOMPARE(r.query, (Items{{"after", "2026-12-04"}}));
    QCOMPARE(r.header("Authorization"), "Bearer " + token.toUtf8());
}

void TestGumroad::pagingCarriesKeyAndStopsAtFive()
{
    TestHttp t;
    for (int n = 1; n <= 6; ++n)
        t.server.on("GET", "/v2/sales", sales({sale(QStringLiteral("s_%1").arg(n), "2026-12-05T10:00:00Z")},
                                              QStringLiteral("key_%1").arg(n)));
    const QList<SaleEvent> events = fetch(t);
    QCOMPARE(events.size(), 5);
    QCOMPARE(events.last().id, "s_5");
    const auto rs = t.server.requestsTo("/v2/sales");
    QCOMPARE(rs.size(), 5);
    QCOMPARE(rs[0].query, (Items{{"after", "2026-12-04"}}));
    for (int n = 1; n < 5; ++n)
        QCOMPARE(rs[n].query, (Items{{"after", "2026-12-04"}, {"page_key", QStringLiteral("key_%1").arg(n)}}));

    // A key that is not text ends paging; a sale without a usable date is
    // skipped without ending it.
    t.server.reset();
    t.server.on("GET", "/v2/sales", sales({sale("s_undated", "5 Dec 2026 10:00 AM")}, "key_a"));
    t.server.on("GET", "/v2/sales", sales({sale("s_b", "2026-12-05T10:00:00Z")}, 12345));
    t.server.on("GET", "/v2/sales", sales({sale("s_c", "2026-12-05T10:00:00Z")}));
    QCOMPARE(fetch(t).size(), 1);
    QCOMPARE(t.server.requests().size(), 2);
}

void TestGumroad::mapping_data()
{
    QTest::addColumn<QJsonObject>("changes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("minor");
    QTest::addColumn<QString>("currency");
    QTest::newRow("as listed") << QJsonObject{} << "Icon Pack" << qint64(1999) << "USD";
    QTest::newRow("fraction cut") << QJsonObject{{"price", 12.9}} << "Icon Pack" << qint64(12) << "USD";
    QTest::newRow("negative fraction") << QJsonObject{{"price", -12.9}} << "Icon Pack" << qint64(-12) << "USD";
    QTest::newRow("price as text") << QJsonObject{{"price", "1999"}} << "Icon Pack" << qint64(0) << "USD";
    QTest::newRow("price beyond 64 bits") << QJsonObject{{"price", 1e30}} << "Icon Pack" << qint64(0) << "USD";
    QTest::newRow("no currency") << QJsonObject{{"currency", QJsonValue::Null}} << "Icon Pack" << qint64(1999) << "USD";
    QTest::newRow("euro") << QJsonObject{{"currency", "eur"}} << "Icon Pack" << qint64(1999) << "EUR";
    QTest::newRow("no product name") << QJsonObject{{"product_name", QJsonValue::Null}} << "Gumroad sale"
                                     << qint64(1999) << "USD";
}

void TestGumroad::mapping()
{
    QFETCH(QJsonObject, changes);
    QFETCH(QString, title);
    QFETCH(qint64, minor);
    QFETCH(QString, currency);
    TestHttp t;
    t.server.on("GET", "/v2/sales", sales({sale("B28UKN-dvxYabdavG97Y-Q==", "2026-12-05T09:38:56.250+01:00", changes),
                                           sale("s_no_id", "2026-12-05T09:00:00Z", {{"id", 7}})}));
    const QList<SaleEvent> events = fetch(t);
    QCOMPARE(events.size(), 1);
    const SaleEvent &e = events.first();
    QCOMPARE(e.id, "B28UKN-dvxYabdavG97Y-Q==");
    QCOMPARE(e.kind, SaleEvent::Kind::Sale);
    QCOMPARE(e.platform, Platform::Gumroad);
    QCOMPARE(e.account, account);
    QCOMPARE(e.title, title);
    QCOMPARE(e.amount, std::optional(Money{minor, currency}));
    QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(8, 38, 56, 250), Qt::UTC));
}

void TestGumroad::failingPageFailsFetch()
{
    TestHttp t;
    t.server.on("GET", "/v2/sales", sales({sale("s_1", "2026-12-05T10:00:00Z")}, "key_1"));
    t.server.on("GET", "/v2/sales", ScriptedResponse::json(R"({"success":false,"message":"Oops"})", 502));
    QCOMPARE(failureOf(GumroadSource::fetch(t.context(), token, {}, account, since)), "Gumroad answered 502");

    t.server.reset();
    t.server.on("GET", "/v2/sales",
                ScriptedResponse::json(R"({"success":false,"message":"The 'after' date is invalid."})", 400));
    QCOMPARE(failureOf(GumroadSource::fetch(t.context(), token, {}, account, since)),
             "Gumroad: The 'after' date is invalid.");

    t.server.reset();
    t.server.on("GET", "/v2/sales", ScriptedResponse::json(R"({"success":true,"sales":[{"id":)"));
    QVERIFY(failureOf(GumroadSource::fetch(t.context(), token, {}, account, since))
                .startsWith("Gumroad sent an answer that isn't valid JSON"));
}

namespace {

QJsonValue randomValue(QRandomGenerator &rng)
{
    switch (rng.bounded(9)) {
    case 0: return QJsonValue::Null;
    case 1: return rng.bounded(2) == 1;
    case 2: return double(qint64(rng.generate64())) / (rng.bounded(3) + 1);
    case 3: return 1.0e300 * (rng.bounded(2) ? 1 : -1);
    case 4: return QString();
    case 5: return QStringLiteral("2026-12-05T10:00:00Z");
    case 6: return QJsonArray{QJsonObject{{"id", "x"}, {"created_at", "2026-12-05T10:00:00Z"}}, 3};
    case 7: return QJsonObject{{"price", 1}};
    default: return QString::number(rng.generate(), 36);
    }
}

QJsonValue mutate(const QJsonValue &value, QRandomGenerator &rng)
{
    if (rng.bounded(10) == 0)
        return randomValue(rng);
    if (value.isObject()) {
        QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            it.value() = mutate(it.value(), rng);
        return o;
    }
    if (value.isArray()) {
        QJsonArray a = value.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            a[i] = mutate(a[i], rng);
        return a;
    }
    return value;
}

}

void TestGumroad::randomBodiesNeverCrash()
{
    QJsonArray list;
    for (int n = 0; n < 6; ++n)
        list.append(sale(QStringLiteral("s_%1").arg(n), "2026-12-05T10:00:00Z", {{"price", 100.5 * n}}));
    const QJsonObject wellFormed{{"success", true}, {"sales", list}, {"next_page_key", "key"}};

    TestHttp t;
    QRandomGenerator rng(4122026);
    t.server.handle([&](const RecordedRequest &) -> std::optional<ScriptedResponse> {
        QByteArray body = QJsonDocument(mutate(wellFormed, rng).toObject()).toJson(QJsonDocument::Compact);
        if (rng.bounded(4) == 0)
            body.truncate(rng.bounded(body.size() + 1));
        else if (rng.bounded(4) == 0)
            body[rng.bounded(body.size())] = char(rng.bounded(256));
        const int status = rng.bounded(10) == 0 ? 400 + rng.bounded(120) : 200;
        return ScriptedResponse::json(body, status);
    });
    int succeeded = 0;
    for (int round = 0; round < 300; ++round) {
        try {
            for (const SaleEvent &e : fetch(t))
                QVERIFY(e.amount && !e.id.isNull() && e.at >= since);
            ++succeeded;
        } catch (const Failure &) {
        }
    }
    QVERIFY(succeeded > 0);
}

QTEST_GUILESS_MAIN(TestGumroad)
#include "tst_gumroad.moc"
