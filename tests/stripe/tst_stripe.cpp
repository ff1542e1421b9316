#include "connectors/WithTimeout.h"
#include "connectors/stripe/StripeSource.h"
#include "core/EventStore.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString liveKey = QStringLiteral("rk_live_51Korvanta");
const QString testKey = QStringLiteral("rk_test_51Korvanta");
const QUuid account = QUuid::fromString(QStringLiteral("{6f1c2a4e-3b7d-4c1e-9a55-0d2f8e7b1c10}"));
const QDateTime since(QDate(2026, 12, 5), QTime(10, 0, 0, 900), Qt::UTC);

// A charge as Stripe sends it, with the fields the connector reads.
QJsonObject charge(const QString &id, qint64 amount, const QJsonObject &more = {})
{
    QJsonObject c{{"id", id}, {"object", "charge"}, {"amount", amount}, {"amount_captured", amount},
                  {"amount_refunded", 0}, {"currency", "eur"}, {"description", QJsonValue::Null},
                  {"invoice", QJsonValue::Null}, {"payment_intent", QJsonValue::Null}, {"paid", true},
                  {"livemode", false}, {"status", "succeeded"}};
    for (auto it = more.begin(); it != more.end(); ++it)
        c.insert(it.key(), it.value());
    return c;
}

QJsonObject logEvent(const QString &id, const QString &type, const QJsonValue &object, double created = 1796465000,
                       const QJsonObject &previous = {})
{
    QJsonObject data{{"object", object}};
    if (!previous.isEmpty())
        data.insert("previous_attributes", previous);
    return {{"id", id}, {"object", "event"}, {"api_version", "2024-06-20"}, {"created", created},
            {"data", data}, {"livemode", false}, {"type", type}};
}

ScriptedResponse page(const QJsonArray &events, bool hasMore = false)
{
    const QJsonObject body{{"object", "list"}, {"url", "/v1/events"}, {"has_more", hasMore}, {"data", events}};
    return ScriptedResponse::json(QJsonDocument(body).toJson(QJsonDocument::Compact));
}

ScriptedResponse invoice(const QString &reason, const QJsonArray &lineDescriptions)
{
    QJsonArray lines;
    for (const QJsonValue &d : lineDescriptions)
        lines.append(QJsonObject{{"object", "line_item"}, {"amount", 1500}, {"description", d}});
    const QJsonObject body{{"object", "invoice"}, {"billing_reason", reason},
                           {"lines", QJsonObject{{"object", "list"}, {"data", lines}, {"has_more", false}}}};
    return ScriptedResponse::json(QJsonDocument(body).toJson(QJsonDocument::Compact));
}

ScriptedResponse sessions(const QStringList &itemDescriptions)
{
    QJsonArray items;
    for (const QString &d : itemDescriptions)
        items.append(QJsonObject{{"object", "item"}, {"amount_total", 1000}, {"description", d}, {"quantity", 1}});
    const QJsonObject session{{"object", "checkout.session"},
                              {"line_items", QJsonObject{{"object", "list"}, {"data", items}}}};
    const QJsonObject body{{"object", "list"}, {"data", QJsonArray{session}}, {"has_more", false}};
    return ScriptedResponse::json(QJsonDocument(body).toJson(QJsonDocument::Compact));
}

QList<SaleEvent> fetch(TestHttp &t, const QString &key = liveKey)
{
    return runTask(StripeSource::fetch(t.context(), key, {}, account, since));
}

using Items = QList<std::pair<QString, QString>>;

Items firstPageQuery()
{
    return {{"types[]", "charge.succeeded"}, {"types[]", "charge.failed"}, {"types[]", "charge.refunded"},
            {"created[gt]", "1796464800"}, {"limit", "100"}};
}

}

Q_DECLARE_METATYPE(ScriptedResponse)

class TestStripe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyLabels_data();
    void verifyLabels();
    void verifyFailures();
    void fetchRequestsAndPaging();
    void pagingStops_data();
    void pagingStops();
    void mapping();
    void describePaths();
    void describeBudgetKeepsFetchWithinLimit();
    void slowDescribeIsCutAtTheBudget();
    void budgetNeitherRepeatsNorLoses();
    void failingPageFailsFetch();
    void randomBodiesNeverCrash();
};

void TestStripe::verifyLabels_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("account");
    QTest::addColumn<QString>("label");
    const QByteArray both = R"({"id":"acct_1","object":"account","business_profile":{"name":"Acme Ltd"},
        "settings":{"dashboard":{"display_name":"Acme","timezone":"Etc/UTC"}}})";
    QTest::newRow("display name wins") << liveKey << 200 << both << "Acme";
    QTest::newRow("test mode") << QStringLiteral("sk_test_abc") << 200 << both << "Acme (test mode)";
    QTest::newRow("business name") << liveKey << 200
        << QByteArray(R"({"business_profile":{"name":"Acme Ltd"},"settings":{"dashboard":{"display_name":null}}})")
        << "Acme Ltd";
    QTest::newRow("empty display name is used") << liveKey << 200
        << QByteArray(R"({"business_profile":{"name":"Acme Ltd"},"settings":{"dashboard":{"display_name":""}}})")
        << "";
    QTest::newRow("no names") << liveKey << 200 << QByteArray(R"({"business_profile":{"name":7}})") << "Stripe";
    QTest::newRow("array body") << liveKey << 200 << QByteArray("[]") << "Stripe";
    QTest::newRow("account forbidden") << testKey << 403
        << QByteArray(R"({"error":{"message":"The provided key does not have the required permissions"}})")
        << "Stripe (test mode)";
    QTest::newRow("account unreadable") << liveKey << 200 << QByteArray("{\"settings\":") << "Stripe";
}

void TestStripe::verifyLabels()
{
    QFETCH(QString, key);
    QFETCH(int, status);
    QFETCH(QByteArray, account);
    QFETCH(QString, label);
    TestHttp t;
    t.server.on("GET", "/v1/events", page({}));
    t.server.on("GET", "/v1/account", ScriptedResponse::json(account, status));

    QCOMPARE(runTask(StripeSource::verify(t.context(), key, {})), label);
    const auto &rs = t.server.requests();
    QCOMPARE(rs.size(), 2);
    QCOMPARE(rs[0].path, "/v1/events");
    QCOMPARE(rs[0].query, (Items{{"limit", "1"}}));
    QCOMPARE(rs[1].path, "/v1/account");
    QVERIFY(rs[1].query.isEmpty());
    for (const RecordedRequest &r : rs) {
        QCOMPARE(r.host(), "api.stripe.com");
        QCOMPARE(r.header("Authorization"), "Bearer " + key.toUtf8());
    }
    const bool testMode = label.endsWith(" (test mode)");
    QCOMPARE(StripeSource::dashboard(label).toString().contains("/test/"), testMode);
}

void TestStripe::verifyFailures()
{
    TestHttp t;
    const QString malformed = "That doesn't look like a Stripe secret key. Restricted keys start with rk_";
    for (const QString key : {"pk_live_abc", "", "RK_live_abc", " rk_live_abc", "whsec_abc"})
        QCOMPARE(failureOf(StripeSource::verify(t.context(), key, {})), malformed);
    QVERIFY(t.server.requests().isEmpty());

    // The events request decides; the platform's own sentence wins for 4xx.
    const std::pair<ScriptedResponse, QString> cases[] = {
        {ScriptedResponse::json(R"({"error":{"message":"Invalid API Key provided: rk_live_*****orvanta","type":"invalid_request_error"}})", 401),
         "Stripe: Invalid API Key provided: rk_live_*****orvanta"},
        {ScriptedResponse::json(R"({"error":{"message":"The provided key 'rk_live_***' does not have the required permissions for this endpoint. Having the 'rak_event_read' permission would allow this request to continue."}})", 403),
         "Stripe: The provided key 'rk_live_***' does not have the required permissions for this endpoint. Having the 'rak_event_read' permission would allow this request to continue."},
        {ScriptedResponse::json("", 401), "Stripe rejected the key. It may have been revoked"},
        {ScriptedResponse::json(R"({"error":{"message":"Too many requests"}})", 429), "Stripe asked us to slow down"},
        {ScriptedResponse::json(R"({"error":{"message":"Oops"}})", 500), "Stripe answered 500"},
    };
    for (const auto &[response, message] : cases) {
        t.server.reset();
        t.server.on("GET", "/v1/events", response);
        t.server.on("GET", "/v1/account", ScriptedResponse::json("{}"));
        QCOMPARE(failureOf(StripeSource::verify(t.context(), liveKey, {})), message);
        QVERIFY(t.server.requestsTo("/v1/account").isEmpty());
    }
}

void TestStripe::fetchRequestsAndPaging()
{
    TestHttp t;
    t.server.on("GET", "/v1/events", page({logEvent("evt_3", "charge.failed", charge("ch_3", 900)),
                                          logEvent("evt_2", "charge.failed", charge("ch_2", 800))}, true));
    t.server.on("GET", "/v1/events", page({logEvent("evt_1", "charge.failed", charge("ch_1", 700))}));

    const QList<SaleEvent> events = fetch(t);
    QCOMPARE(events.size(), 3);
    QCOMPARE(events[0].id, "evt_3");
    QCOMPARE(events[2].id, "evt_1");
    const auto rs = t.server.requests();
    QCOMPARE(rs.size(), 2);
    QCOMPARE(rs[0].path, "/v1/events");
    QCOMPARE(rs[0].query, firstPageQuery());
    // The raw target shows the brackets travel as Stripe expects them.
    QVERIFY2(rs[0].rawTarget.startsWith("/v1/events?types[]=charge.succeeded&types[]=charge.failed"), rs[0].rawTarget);
    QCOMPARE(rs[1].query, (firstPageQuery() + Items{{"starting_after", "evt_2"}}));
    for (const RecordedRequest &r : rs) {
        QCOMPARE(r.host(), "api.stripe.com");
        QCOMPARE(r.header("Authorization"), "Bearer " + liveKey.toUtf8());
    }
}

void TestStripe::pagingStops_data()
{
    QTest::addColumn<QList<ScriptedResponse>>("pages");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("events");
    const auto one = [](int n, bool more) {
        return page({logEvent(QStringLiteral("evt_%1").arg(n), "charge.failed", charge("ch", 100))}, more);
    };
    QList<ScriptedResponse> endless;
    for (int n = 1; n <= 7; ++n)
        endless.append(one(n, true));
    QTest::newRow("five pages at most") << endless << 5 << 5;
    QTest::newRow("no more") << QList<ScriptedResponse>{one(1, false)} << 1 << 1;
    QTest::newRow("empty page with more") << QList<ScriptedResponse>{page({}, true), one(2, false)} << 1 << 0;
    const QJsonObject noId{{"type", "charge.failed"}, {"data", QJsonObject{{"object", charge("ch", 1)}}}};
    QTest::newRow("last without id") << QList<ScriptedResponse>{page({noId}, true), one(2, false)} << 1 << 0;
    QTest::newRow("has_more as text")
        << QList<ScriptedResponse>{ScriptedResponse::json(R"({"has_more":"true","data":[{"id":"evt_1"}]})"), one(2, false)}
        << 1 << 0;
}

void TestStripe::pagingStops()
{
    QFETCH(QList<ScriptedResponse>, pages);
    QFETCH(int, requests);
    QFETCH(int, events);
    TestHttp t;
    for (const ScriptedResponse &p : pages)
        t.server.on("GET", "/v1/events", p);
    QCOMPARE(fetch(t).size(), events);
    const auto rs = t.server.requestsTo("/v1/events");
    QCOMPARE(rs.size(), requests);
    for (int i = 1; i < rs.size(); ++i)
        QCOMPARE(rs[i].queryValue("starting_after"), QStringLiteral("evt_%1").arg(i));
}

void TestStripe::mapping()
{
    TestHttp t;
    const QJsonArray log{
        logEvent("evt_s1", "charge.succeeded", charge("ch_s1", 2500, {{"description", "Pro licence"}}), 1796465123.75),
        logEvent("evt_s2", "charge.succeeded", charge("ch_s2", 0, {{"amount", 12.5}, {"description", ""}})),
        logEvent("evt_s3", "charge.succeeded", QJsonObject{{"amount", 300}}),
        logEvent("evt_r1", "charge.refunded", charge("ch_s1", 1000, {{"amount_refunded", 400}, {"description", "Pro licence"}})),
        logEvent("evt_r2", "charge.refunded", charge("ch_s4", 1000, {{"amount_refunded", 700}}), 1796465000,
                 {{"amount_refunded", 400}, {"refunded", false}}),
        logEvent("evt_f1", "charge.failed", charge("ch_f1", 4200, {{"currency", QJsonValue::Null}})),
        logEvent("evt_x1", "customer.created", charge("cus_1", 0)),
        QJsonObject{{"id", "evt_bad"}, {"type", "charge.failed"}, {"data", "nope"}},
        QJsonObject{{"id", 5}, {"type", "charge.failed"}, {"data", QJsonObject{{"object", charge("ch", 1)}}}},
    };
    t.server.on("GET", "/v1/events", page(log));
    const QList<SaleEvent> events = fetch(t);

    using K = SaleEvent::Kind;
    struct Expected { QString id; K kind; QString title; qint64 minor; QString currency; };
    const QList<Expected> expected{
        {"ch_s1", K::Sale, "Pro licence", 2500, "EUR"},
        {"ch_s2", K::Sale, "Payment", 0, "EUR"},    // an empty description and a fractional amount count as absent
        {"evt_s3", K::Sale, "Payment", 300, "USD"}, // no charge id: the event's; no currency: usd
        {"evt_r1", K::Refund, "Pro licence", -400, "EUR"},
        {"evt_r2", K::Refund, "Refund", -300, "EUR"}, // second partial refund: only its own part
        {"evt_f1", K::Failed, "Payment failed", 4200, "USD"},
    };
    QCOMPARE(events.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const SaleEvent &e = events[i];
        QCOMPARE(e.id, expected[i].id);
        QCOMPARE(e.kind, expected[i].kind);
        QCOMPARE(e.title, expected[i].title);
        QCOMPARE(e.amount, std::optional(Money{expected[i].minor, expected[i].currency}));
        QCOMPARE(e.platform, Platform::Stripe);
        QCOMPARE(e.account, account);
    }
    QCOMPARE(events[0].at, QDateTime::fromMSecsSinceEpoch(1796465123750, Qt::UTC));
    QCOMPARE(events[1].at, QDateTime::fromSecsSinceEpoch(1796465000, Qt::UTC));
    // Nothing to describe by: no invoice or payment intent lookups.
    QCOMPARE(t.server.requests().size(), 1);
}

void TestStripe::describePaths()
{
    TestHttp t;
    const QJsonArray log{
        logEvent("evt_1", "charge.succeeded", charge("ch_1", 1500, {{"invoice", "in_1"}, {"payment_intent", "pi_1"}})),
        logEvent("evt_2", "charge.succeeded", charge("ch_2", 3000, {{"invoice", "in_gone"}, {"payment_intent", "pi_2"}})),
        logEvent("evt_3", "charge.succeeded", charge("ch_3", 900, {{"invoice", "in_3"}, {"description", "From charge"}})),
        logEvent("evt_4", "charge.succeeded", charge("ch_4", 900, {{"payment_intent", "pi_4"}, {"description", "Kept"}})),
        logEvent("evt_5", "charge.succeeded", charge("ch_5", 900, {{"payment_intent", "pi_5"}})),
    };
    t.server.on("GET", "/v1/events", page(log));
    t.server.on("GET", "/v1/invoices/in_1", invoice("subscription_cycle", {"1 × Pro (at $15.00 / month)", "Tax"}));
    t.server.on("GET", "/v1/invoices/in_gone", ScriptedResponse::json(R"({"error":{"message":"No such invoice"}})", 404));
    t.server.on("GET", "/v1/invoices/in_3", invoice("subscription_create", {}));
    t.server.handle([](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (r.path != "/v1/checkout/sessions")
            return std::nullopt;
        const QString pi = r.queryValue("payment_intent");
        if (pi == "pi_2")
            return sessions({"T-shirt", "Mug", "Sticker"});
        if (pi == "pi_4")
            return sessions({});
        return ScriptedResponse::json(R"({"error":{"message":"boom"}})", 500);
    });

    const QList<SaleEvent> events = fetch(t);
    QCOMPARE(events.size(), 5);
    QCOMPARE(events[0].kind, SaleEvent::Kind::Renewal);
    QCOMPARE(events[0].title, "1 × Pro (at $15.00 / month)");
    QCOMPARE(events[1].kind, SaleEvent::Kind::Sale);
    QCOMPARE(events[1].title, "T-shirt + 2 more");
    QCOMPARE(events[2].title, "From charge"); // invoice answered without lines: no session lookup
    QCOMPARE(events[3].title, "Kept");
    QCOMPARE(events[4].title, "Payment");

    QStringList order;
    for (const RecordedRequest &r : t.server.requests())
        order.append(r.path + (r.path == "/v1/checkout/sessions" ? u' ' + r.queryValue("payment_intent") : QString()));
    QCOMPARE(order, (QStringList{"/v1/events", "/v1/invoices/in_1", "/v1/invoices/in_gone",
                                 "/v1/checkout/sessions pi_2", "/v1/invoices/in_3", "/v1/checkout/sessions pi_4",
                                 "/v1/checkout/sessions pi_5"}));
    const RecordedRequest session = t.server.requestsTo("/v1/checkout/sessions").first();
    QCOMPARE(session.query, (Items{{"payment_intent", "pi_2"}, {"expand[]", "data.line_items"}}));
    QCOMPARE(session.header("Authorization"), "Bearer " + liveKey.toUtf8());
    QVERIFY(t.server.requestsTo("/v1/invoices/in_1").first().query.isEmpty());
}

// A backlog far larger than the time limit allows to describe: the fetch
// still finishes inside the poller's limit, names the newest charges and
// titles the rest from the charge itself.
void TestStripe::describeBudgetKeepsFetchWithinLimit()
{
    TestHttp t;
    QJsonArray log;
    for (int n = 0; n < 100; ++n)
        log.append(logEvent(QStringLiteral("evt_%1").arg(n), "charge.succeeded",
                            charge(QStringLiteral("ch_%1").arg(n), 1000, {{"invoice", QStringLiteral("in_%1").arg(n)}})));
    t.server.on("GET", "/v1/events", page(log));
    // Every invoice costs four seconds of the clock the budget is measured on.
    t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (!r.path.startsWith("/v1/invoices/"))
            return std::nullopt;
        t.clock.setNow(t.clock.now().addSecs(4));
        return invoice("subscription_cycle", {QString("Named " + r.path.section(u'/', -1))});
    });

    const QList<SaleEvent> events = runTask(withTimeout(
        t.clock, std::chrono::seconds(45), StripeSource::fetch(t.context(), liveKey, {}, account, since)));
    QCOMPARE(events.size(), 100);
    // Invoices were asked at 0, 4, ... 28 seconds: eight of them.
    QCOMPARE(t.server.requests().size(), 1 + 8);
    for (int n = 0; n < 100; ++n) {
        QCOMPARE(events[n].id, QStringLiteral("ch_%1").arg(n));
        QCOMPARE(events[n].title, n < 8 ? QStringLiteral("Named in_%1").arg(n) : QStringLiteral("Payment"));
        QCOMPARE(events[n].kind, n < 8 ? SaleEvent::Kind::Renewal : SaleEvent::Kind::Sale);
    }

    // Slow event pages use up the budget too.
    t.server.reset();
    t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (r.path != "/v1/events")
            return std::nullopt;
        t.clock.setNow(t.clock.now().addSecs(31));
        return page(log);
    });
    QCOMPARE(fetch(t).size(), 100);
    QCOMPARE(t.server.requests().size(), 1);
}

// A describe request that hangs near the end of the budget is cut off when
// the budget runs out, not at the HTTP client's much longer limits.
void TestStripe::slowDescribeIsCutAtTheBudget()
{
    TestHttp t;
    // Limits as long as production's, so only the budget can cut the hang short.
    Http patient(std::get<Endpoints>(Endpoints::parse(t.server.endpointsForAll())),
                 HttpLimits{std::chrono::seconds(60), std::chrono::seconds(60)});
    const SourceContext ctx{patient, t.clock, t.caches};
    t.server.on("GET", "/v1/events", page({
        logEvent("evt_1", "charge.succeeded", charge("ch_1", 1000, {{"invoice", "in_1"}})),
        logEvent("evt_2", "charge.succeeded", charge("ch_2", 1000, {{"invoice", "in_2"}, {"payment_intent", "pi_2"},
                                                                   {"description", "Own words"}})),
    }));
    t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (r.path == "/v1/invoices/in_1") {
            t.clock.setNow(t.clock.now().addMSecs(StripeSource::describeBudget.count() * 1000 - 150));
            return invoice("manual", {"First"});
        }
        return r.path == "/v1/events" ? std::nullopt : std::optional(ScriptedResponse::hang());
    });
    QElapsedTimer elapsed;
    elapsed.start();
    const QList<SaleEvent> events = runTask(StripeSource::fetch(ctx, liveKey, {}, account, since));
    QVERIFY2(elapsed.elapsed() < 20000, qPrintable(QString::number(elapsed.elapsed())));
    QCOMPARE(events.size(), 2);
    QCOMPARE(events[0].title, "First");
    QCOMPARE(events[1].title, "Own words");
    QCOMPARE(t.server.requestsTo("/v1/invoices/in_2").size(), 1);
}

// Charges titled plainly because the budget ran out are the same events the
// next poll names properly: the store announces each exactly once.
void TestStripe::budgetNeitherRepeatsNorLoses()
{
    TestHttp t;
    QJsonArray log;
    for (int n = 0; n < 20; ++n)
        log.append(logEvent(QStringLiteral("evt_%1").arg(n), "charge.succeeded",
                            charge(QStringLiteral("ch_%1").arg(n), 1000 + n, {{"invoice", "in_x"}})));
    t.server.on("GET", "/v1/events", page(log));
    bool slow = true;
    t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (r.path != "/v1/invoices/in_x")
            return std::nullopt;
        if (slow)
            t.clock.setNow(t.clock.now().addSecs(10));
        return invoice("subscription_create", {"Named"});
    });
    QTemporaryDir dir;
    EventStore store(dir.filePath("events.json"));
    store.ingest({}, account, t.clock.now()); // the account's first poll

    const QList<SaleEvent> first = store.ingest(fetch(t), account, t.clock.now());
    slow = false;
    const QList<SaleEvent> second = store.ingest(fetch(t), account, t.clock.now());
    QCOMPARE(first.size(), 20);
    QVERIFY(second.isEmpty());
    QSet<QString> ids;
    for (const SaleEvent &e : first)
        ids.insert(e.id);
    QCOMPARE(ids.size(), 20);
}

void TestStripe::failingPageFailsFetch()
{
    TestHttp t;
    t.server.on("GET", "/v1/events", page({logEvent("evt_2", "charge.failed", charge("ch_2", 1))}, true));
    t.server.on("GET", "/v1/events",
                ScriptedResponse::json(R"({"error":{"message":"Invalid timestamp","param":"created"}})", 400));
    QCOMPARE(failureOf(StripeSource::fetch(t.context(), liveKey, {}, account, since)), "Stripe: Invalid timestamp");

    t.server.reset();
    t.server.on("GET", "/v1/events", ScriptedResponse::json(R"({"error":{"message":"busy"}})", 503));
    QCOMPARE(failureOf(StripeSource::fetch(t.context(), liveKey, {}, account, since)), "Stripe answered 503");

    t.server.reset();
    t.server.on("GET", "/v1/events", ScriptedResponse::json(R"({"object":"list","data":[{"id":)"));
    QVERIFY(failureOf(StripeSource::fetch(t.context(), liveKey, {}, account, since))
                .startsWith("Stripe sent an answer that isn't valid JSON"));
}

namespace {

// Values of every type, including ones no field expects.
QJsonValue randomValue(QRandomGenerator &rng)
{
    switch (rng.bounded(9)) {
    case 0: return QJsonValue::Null;
    case 1: return rng.bounded(2) == 1;
    case 2: return double(qint64(rng.generate64())) / (rng.bounded(3) + 1);
    case 3: return 1.0e300 * (rng.bounded(2) ? 1 : -1);
    case 4: return QString();
    case 5: return QStringLiteral("charge.succeeded");
    case 6: return QJsonArray{QJsonObject{{"id", "evt_x"}, {"data", 1}}, 3};
    case 7: return QJsonObject{{"object", QJsonObject{}}};
    default: return QString::number(rng.generate(), 36);
    }
}

// A well-formed body with some values replaced, then perhaps truncated or
// with a few bytes overwritten.
QByteArray randomBody(const QJsonValue &value, QRandomGenerator &rng)
{
    const std::function<QJsonValue(const QJsonValue &)> mutate = [&](const QJsonValue &v) -> QJsonValue {
        if (rng.bounded(12) == 0)
            return randomValue(rng);
        if (v.isObject()) {
            QJsonObject o = v.toObject();
            for (auto it = o.begin(); it != o.end(); ++it)
                it.value() = mutate(it.value());
            return o;
        }
        QJsonArray a = v.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            a[i] = mutate(a[i]);
        return v.isArray() ? QJsonValue(a) : v;
    };
    QByteArray body = QJsonDocument(mutate(value).toObject()).toJson(QJsonDocument::Compact);
    if (rng.bounded(4) == 0)
        body.truncate(rng.bounded(body.size() + 1));
    else if (rng.bounded(4) == 0)
        body[rng.bounded(body.size())] = char(rng.bounded(256));
    return body;
}

}

void TestStripe::randomBodiesNeverCrash()
{
    const QJsonArray log{
        logEvent("evt_1", "charge.succeeded", charge("ch_1", 1500, {{"invoice", "in_1"}, {"payment_intent", "pi_1"}})),
        logEvent("evt_2", "charge.succeeded", charge("ch_2", 1500, {{"payment_intent", "pi_2"}})),
        logEvent("evt_3", "charge.refunded", charge("ch_3", 1500, {{"amount_refunded", 500}}), 1796465000,
                 {{"amount_refunded", 100}}),
        logEvent("evt_4", "charge.failed", charge("ch_4", 1500)),
    };
    const auto parsed = [](const ScriptedResponse &r) { return QJsonDocument::fromJson(r.body).object(); };
    const QJsonObject pageBody = parsed(page(log, true));
    const QJsonObject invoiceBody = parsed(invoice("subscription_cycle", {"Line"}));
    const QJsonObject sessionBody = parsed(sessions({"A", "B"}));

    TestHttp t;
    QRandomGenerator rng(20261205);
    t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        const QJsonObject &wellFormed = r.path == "/v1/events" ? pageBody
                                     : r.path.startsWith("/v1/invoices/") ? invoiceBody : sessionBody;
        const int status = rng.bounded(10) == 0 ? 400 + rng.bounded(120) : 200;
        return ScriptedResponse::json(randomBody(wellFormed, rng), status);
    });
    int succeeded = 0;
    for (int round = 0; round < 300; ++round) {
        try {
            const QList<SaleEvent> events = fetch(t);
            for (const SaleEvent &e : events)
                QVERIFY(e.amount && e.platform == Platform::Stripe && e.account == account);
            ++succeeded;
        } catch (const Failure &) {
        }
    }
    QVERIFY(succeeded > 0);
}

QTEST_GUILESS_MAIN(TestStripe)
#include "tst_stripe.moc"
