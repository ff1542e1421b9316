#include "sources/StandardSources.h"
#include "support/PollerParts.h"
#include "support/SalesLedger.h"

#include <QJsonDocument>
#include <QTest>
#include <algorithm>
#include <cmath>

// Backlogs larger than a fetch's cap, read by the real connectors through
// the poller and the store, over several checks: every sale is announced
// once, within one check more than backlog ÷ cap, whatever the platform's
// paging (newest first with a cursor, oldest first, page numbers).

namespace {

using Serve = std::optional<ScriptedResponse> (SalesLedger::*)(const RecordedRequest &) const;

struct Style {
    Platform platform;
    Extra extra;
    QString secret;
    Serve serve;
    int cap;             // events one fetch reads at most
    int secondsPerCheck; // Stripe is read at most every five minutes
    QString prefix;
};

// One account on the real poller, stores and keyring, against a fake platform.
struct Scenario : PollerHome {
    SourceRegistry sources = standardSources();
    std::unique_ptr<EventStore> events;
    std::unique_ptr<Poller> poller;
    Style style;
    SalesLedger ledger{style.prefix};
    QStringList announced;

    explicit Scenario(const Style &s)
        : PollerHome(QDateTime(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC)), style(s)
    {
        restart();
        server.handle([this](const RecordedRequest &r) { return (ledger.*style.serve)(r); });
        runTask(
            accounts.add({QUuid::createUuid(), style.platform, "Shop", style.extra}, style.secret));
    }
    // As after a restart of the program: the store is read back from its file.
    void restart()
    {
        poller.reset();
        events = std::make_unique<EventStore>(dir.filePath("events.json"));
        poller = std::make_unique<Poller>(accounts, *events, keychain, sources, context());
    }
    void check()
    {
        for (const SaleEvent &e : runTask(poller->pollAll()))
            announced.append(e.id);
        clock.advance(std::chrono::seconds(style.secondsPerCheck), std::chrono::seconds(30));
    }
    QUuid account() { return accounts.accounts().first().id; }
};

QStringList eventIds(const Style &style, const QList<SalesLedger::Sale> &sales)
{
    QStringList ids;
    for (const SalesLedger::Sale &sale : sales)
        ids.append(style.platform == Platform::Shopify ? QString("gid://shopify/Order/" + sale.id)
                                                       : sale.id);
    ids.sort();
    return ids;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

}

Q_DECLARE_METATYPE(Style)
Q_DECLARE_METATYPE(Platform)

class TestBacklog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    void backlogIsAnnouncedInFullOnce_data()
    {
        QTest::addColumn<Style>("style");
        QTest::addColumn<int>("backlog");
        const Extra shop{{"shop", "acme.myshopify.com"}};
        const Extra woo{{"site", "https://shop.example.com"}, {"consumerKey", "ck_1"}};
        QTest::newRow("newest first with a cursor (Stripe)")
            << Style{Platform::Stripe, {}, "rk_live_1", &SalesLedger::stripe, 500, 300, "ch_"}
            << 1230;
        QTest::newRow("oldest first (Shopify)")
            << Style{Platform::Shopify, shop, "shpat_1", &SalesLedger::shopify, 200, 120, "o"}
            << 450;
        QTest::newRow("page numbers (WooCommerce)")
            << Style{Platform::WooCommerce, woo, "cs_1", &SalesLedger::wooCommerce, 50, 120, ""}
            << 120;
    }

    void backlogIsAnnouncedInFullOnce()
    {
        QFETCH(Style, style);
        QFETCH(int, backlog);
        Scenario s(style);
        s.check(); // the first check only marks what is there
        s.clock.advance(std::chrono::minutes(60), std::chrono::minutes(1));
        // A burst while nobody looked (before the overlap the next check reads again)...
        s.ledger.add(backlog, s.clock.now().addSecs(-2500));
        const QStringList burst = eventIds(style, s.ledger.sales());
        const int bound = int(std::ceil(double(backlog) / style.cap)) + 1;
        for (int i = 0; i < bound; ++i) {
            if (i == 1)
                s.restart(); // a run in progress survives a restart
            s.check();
            // ...and a trickle during the catch-up.
            s.ledger.add(2, s.clock.now().addSecs(-20));
        }
        for (const QString &id : burst)
            QVERIFY2(s.announced.contains(id), qPrintable(id));
        s.check(); // the trickle after the last of those checks
        QCOMPARE(QSet<QString>(s.announced.begin(), s.announced.end()).size(), s.announced.size());
        QCOMPARE(sorted(s.announced), eventIds(style, s.ledger.sales()));
        QVERIFY(!s.events->backlog(s.account()));
        QCOMPARE(*s.events->lastPoll(s.account()), s.clock.now().addSecs(-style.secondsPerCheck));
    }

    void failedRunReadsItsWindowAgain()
    {
        Scenario s({Platform::Stripe, {}, "rk_live_1", &SalesLedger::stripe, 500, 300, "ch_"});
        s.check();
        s.clock.advance(std::chrono::minutes(60), std::chrono::minutes(1));
        s.ledger.add(700, s.clock.now().addSecs(-2500));
        s.check();
        QCOMPARE(s.announced.size(), 500);
        // The next page fails once: the cut-off stays and the run starts over.
        bool failed = false;
        s.server.reset();
        s.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.queryValue("starting_after").isEmpty() || std::exchange(failed, true))
                return std::nullopt;
            return ScriptedResponse::json(R"({"error":{"message":"Try again"}})", 500);
        });
        s.server.handle([&](const RecordedRequest &r) { return s.ledger.stripe(r); });
        s.check();
        QVERIFY(s.poller->hasError(s.account()));
        QCOMPARE(s.events->backlog(s.account())->resume, QString());
        s.check();
        s.check();
        QCOMPARE(sorted(s.announced), eventIds(s.style, s.ledger.sales()));
    }

    // Every connector's capped fetch says where to go on, and goes on there.
    void cappedFetchResumesWhereItStopped_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QByteArray>("body");   // what the platform answers every time
        QTest::addColumn<QString>("resume");    // where the fetch stops
        QTest::addColumn<QString>("parameter"); // what carries it next time
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("requests"); // the capped fetch's, all of them
        const auto many = [](int count, const QByteArray &element) -> QByteArray {
            QByteArrayList list;
            for (int i = 0; i < count; ++i)
                list.append(element);
            return '[' + list.join(',') + ']';
        };
        const auto row = [](const char *name, Platform p, const QByteArray &body,
                            const char *resume, const char *parameter, const char *value,
                            int requests) {
            QTest::newRow(name) << p << body << QString(resume) << QString(parameter)
                                << QString(value) << requests;
        };
        using P = Platform;
        row("Stripe", P::Stripe, R"({"has_more":true,"data":[{"id":"evt_9"}]})", "evt_9",
            "starting_after", "evt_9", 5);
        row("Shopify", P::Shopify,
            R"({"data":{"orders":{"edges":[{"cursor":"c9","node":{}}],"pageInfo":{"hasNextPage":true,"endCursor":"c9"}}}})",
            "c9", "after", "c9", 4);
        row("Gumroad", P::Gumroad, R"({"success":true,"sales":[],"next_page_key":"K7"})", "K7",
            "page_key", "K7", 5);
        row("Paddle", P::Paddle,
            R"({"data":[{"id":"txn_9"}],"meta":{"pagination":{"has_more":true}}})", "txn_9",
            "after", "txn_9", 5);
        row("Shopify Partners", P::ShopifyPartner,
            R"({"data":{"transactions":{"edges":[{"cursor":"c9","node":{}}],"pageInfo":{"hasNextPage":true}}}})",
            "c9", "after", "c9", 4);
        row("Lemon Squeezy", P::LemonSqueezy, R"({"data":)" + many(50, "{}") + "}",
            "orders=6&invoices=2", "page[number]", "6", 6);
        row("Polar", P::Polar, R"({"items":[],"pagination":{"max_page":3}})", "2", "page", "2", 2);
        row("Dodo Payments", P::Dodo, R"({"items":)" + many(100, "{}") + "}", "1", "page_number",
            "1", 1);
        // A cursor per location; the main one here.
        row("Square", P::Square, R"({"payments":[],"cursor":"CUR9"})", "main=CUR9", "cursor",
            "CUR9", 2);
        row("Whop", P::Whop, R"({"data":[],"page_info":{"has_next_page":true,"end_cursor":"E9"}})",
            "E9", "after", "E9", 1);
    }

    void cappedFetchResumesWhereItStopped()
    {
        QFETCH(Platform, platform);
        QFETCH(QByteArray, body);
        QFETCH(QString, resume);
        QFETCH(QString, parameter);
        QFETCH(QString, value);
        QFETCH(int, requests);
        TestHttp t;
        t.server.handle([&](const RecordedRequest &) { return ScriptedResponse::json(body); });
        const SourceRegistry sources = standardSources();
        const SourceEntry *source = sources.find(platform);
        const Extra extra{{"partnerId", "1234567"}, {"shop", "acme"}};
        const QDateTime since(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC);
        const Fetched first =
            runTask(source->fetch(t.context(), "rk_live_1", extra, QUuid::createUuid(), since, {}));
        QCOMPARE(first.resume, resume);
        qsizetype at = t.server.requests().size();
        QCOMPARE(at, requests);
        runTask(source->fetch(t.context(), "rk_live_1", extra, QUuid::createUuid(), since, resume));
        // Square lists the merchant's locations before reading their payments.
        while (t.server.requests().at(at).path.endsWith(u"/locations"))
            ++at;
        const RecordedRequest next = t.server.requests().at(at);
        const QString sent = next.method == "POST"
            ? QJsonDocument::fromJson(next.body)["variables"][parameter].toString()
            : next.queryValue(parameter);
        QCOMPARE(sent, value);
    }
};

QTEST_GUILESS_MAIN(TestBacklog)
#include "tst_backlog.moc"
