#include "connectors/JsonFields.h"
#include "connectors/Poller.h"
#include "connectors/WithTimeout.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Iso.h"
#include "core/Keychain.h"
#include "support/TestHttp.h"

#include <QCoroTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A platform as small as a platform gets: one GET that lists events since the
// cut-off. It talks real HTTP to the fake server like every connector.
template <int Interval>
struct ListSource {
    static KeyHelp help() { return {}; }
    static constexpr double minInterval = Interval;
    static QCoro::Task<QString> verify(SourceContext, QString, Extra)
    {
        co_return QStringLiteral("List");
    }
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString = {})
    {
        QUrl url(QStringLiteral("https://api.list.test/events"));
        url.setQuery(QStringLiteral("since=") + Iso::plain(since) + QStringLiteral("&shop=")
                     + extra.value("shop"));
        const QJsonValue body =
            co_await ctx.http.json(Http::request(url, secret), Platform::Gumroad);
        Fetched events;
        for (const QJsonObject &o : Json::objects(body))
            events.append({o.value("id").toString(), account, Platform::Gumroad,
                           SaleEvent::Kind::Sale, "Zine", Money{500, "USD"}, ctx.clock.now()});
        co_return events;
    }
};

QStringList ids(const QList<SaleEvent> &events)
{
    QStringList list;
    for (const SaleEvent &e : events)
        list.append(e.id);
    return list;
}

HttpLimits patient()
{
    HttpLimits limits;
    limits.inactivity = std::chrono::minutes(5);
    limits.whole = std::chrono::minutes(5);
    return limits;
}

// One poller over real stores in a temporary folder and the test keyring.
struct Fixture {
    QTemporaryDir dir;
    FakePlatformServer server;
    Http http{std::get<Endpoints>(Endpoints::parse(server.endpointsForAll())), patient()};
    ManualClock clock{QDateTime(QDate(2026, 12, 5), QTime(14, 30), Qt::UTC)};
    SourceCaches caches;
    QSettings settings{dir.filePath("Korvanta.conf"), QSettings::IniFormat};
    Keychain keychain{QStringLiteral("app.vexalon.korvanta.tests")};
    AccountStore accounts{settings, keychain};
    EventStore events{dir.filePath("events.json")};
    SourceRegistry sources;
    Poller poller{accounts, events, keychain, sources, SourceContext{http, clock, caches}};

    Fixture()
    {
        sources.add(Platform::Gumroad, SourceEntry::of<ListSource<0>>());
        sources.add(Platform::Stripe, SourceEntry::of<ListSource<300>>());
    }

    Account add(Platform platform, const QString &shop, bool paused = false, bool withKey = true)
    {
        Account a{QUuid::createUuid(), platform, shop, {{"shop", shop}}, paused};
        if (withKey) {
            runTask(accounts.add(a, "key-" + shop));
        } else {
            runTask(accounts.add(a, "temporary"));
            runTask(keychain.remove(a.id));
        }
        return a;
    }

    void serve(const QString &shop, const QByteArray &body)
    {
        server.handle([shop, body](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.queryValue("shop") != shop)
                return std::nullopt;
            return ScriptedResponse::json(body);
        });
    }
};

}

class TestPoller : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
        qputenv("TZ", "America/New_York");
    }

    void pollsInOrderWithCutOffs()
    {
        Fixture f;
        const Account one = f.add(Platform::Gumroad, "one");
        f.add(Platform::Gumroad, "paused", true);
        f.add(Platform::Framer, "framer");
        const Account two = f.add(Platform::Gumroad, "two");
        f.serve("one", R"([{"id":"a"},{"id":"b"}])");
        f.serve("two", R"([{"id":"c"}])");

        QVERIFY(runTask(f.poller.pollAll()).isEmpty()); // first polls only mark as seen
        QCOMPARE(f.server.requests().size(), 2);
        QCOMPARE(f.server.requests()[0].queryValue("shop"), "one");
        QCOMPARE(f.server.requests()[1].queryValue("shop"), "two");
        QCOMPARE(f.server.requests()[0].header("Authorization"), "Bearer key-one");
        // No poll yet: since the start of today in New York.
        QCOMPARE(f.server.requests()[0].queryValue("since"), "2026-12-05T05:00:00Z");
        QCOMPARE(f.events.today(f.clock.now()).size(), 3);

        f.server.reset();
        f.serve("one", R"([{"id":"a"},{"id":"b"},{"id":"d"}])");
        f.serve("two", R"([{"id":"c"},{"id":"e"}])");
        f.clock.advance(std::chrono::minutes(2), std::chrono::minutes(1));
        QCOMPARE(ids(runTask(f.poller.pollAll())), QStringList({"d", "e"}));
        // Afterwards: the last success minus a 15-minute overlap.
        QCOMPARE(f.server.requests()[0].queryValue("since"), "2026-12-05T14:15:00Z");
        QVERIFY(f.poller.status(one.id).startsWith("Checked "));
        QVERIFY(!f.poller.hasError(two.id));
    }

    void spacingFollowsMinInterval()
    {
        Fixture f;
        const Account a = f.add(Platform::Stripe, "s");
        f.serve("s", "[]");
        runTask(f.poller.pollAll());
        const QString firstStatus = f.poller.status(a.id);
        f.clock.advance(std::chrono::seconds(60), std::chrono::seconds(60));
        runTask(f.poller.pollAll());
        f.clock.advance(std::chrono::seconds(234), std::chrono::seconds(234));
        runTask(f.poller.pollAll());
        QCOMPARE(f.server.requests().size(), 1); // 294 s later: still spaced
        QCOMPARE(f.poller.status(a.id), firstStatus);
        f.clock.advance(std::chrono::seconds(1), std::chrono::seconds(1));
        runTask(f.poller.pollAll());
        QCOMPARE(f.server.requests().size(), 2); // 295 s
        // Failures are spaced too.
        f.server.reset();
        f.server.on("GET", "/events",
                    ScriptedResponse::json(R"({"error":{"message":"Rate limit"}})", 400));
        f.clock.advance(std::chrono::seconds(300), std::chrono::seconds(300));
        runTask(f.poller.pollAll());
        QCOMPARE(f.poller.error(a.id), "Gumroad: Rate limit");
        runTask(f.poller.pollAll());
        QCOMPARE(f.server.requests().size(), 1);
    }

    void timeLimitAndOverlap()
    {
        Fixture f;
        const Account slow = f.add(Platform::Gumroad, "slow");
        const Account next = f.add(Platform::Gumroad, "next");
        f.server.handle([](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.queryValue("shop") == "slow")
                return ScriptedResponse::hang();
            return ScriptedResponse::json("[]");
        });
        bool finished = false;
        auto all = f.poller.pollAll();
        all.then([&](const QList<SaleEvent> &) { finished = true; });
        QTRY_COMPARE(f.server.requests().size(), 1);
        // A second check while one runs returns at once with nothing.
        QVERIFY(runTask(f.poller.pollAll()).isEmpty());
        QCOMPARE(f.server.requests().size(), 1);
        f.clock.advance(std::chrono::milliseconds(44900), std::chrono::seconds(1));
        QVERIFY(!f.poller.hasError(slow.id));
        f.clock.advance(std::chrono::milliseconds(100));
        QTRY_VERIFY(finished);
        QCOMPARE(f.poller.error(slow.id), "No answer in 45 seconds");
        QVERIFY(f.poller.hasStatus(next.id));
        QCOMPARE(f.server.requests().size(), 2);
        QVERIFY(!f.poller.running());
    }

    void clockJumpsLoseAndRepeatNothing()
    {
        Fixture f;
        const Account list = f.add(Platform::Gumroad, "list");
        const Account spaced = f.add(Platform::Stripe, "spaced");
        f.serve("list", R"([{"id":"a"}])");
        f.serve("spaced", R"([{"id":"s"}])");
        const QDateTime start = f.clock.now();
        runTask(f.poller.pollAll());
        // A clock running a day ahead, then set right.
        f.clock.setNow(start.addDays(1));
        runTask(f.poller.pollAll());
        f.clock.setNow(start.addSecs(120));
        f.server.reset();
        f.serve("list", R"([{"id":"a"},{"id":"b"}])");
        f.serve("spaced", R"([{"id":"s"},{"id":"t"}])");
        // Both are due, and read from now less the overlap, not from the future.
        QCOMPARE(ids(runTask(f.poller.pollAll())), QStringList({"b", "t"}));
        QCOMPARE(f.server.requests().size(), 2);
        QCOMPARE(f.server.requests()[0].queryValue("since"), "2026-12-05T14:17:00Z");
        QCOMPARE(*f.events.lastPoll(list.id), start.addSecs(120));
        QCOMPARE(*f.events.lastPoll(spaced.id), start.addSecs(120));

        // A last poll long past reaches back no further than the store remembers.
        f.events.ingest({}, list.id, start.addDays(-30));
        f.server.reset();
        f.serve("list", R"([{"id":"a"},{"id":"b"}])");
        f.clock.setNow(start.addSecs(240));
        QVERIFY(runTask(f.poller.pollAll()).isEmpty());
        QCOMPARE(f.server.requests()[0].queryValue("since"),
                 Iso::plain(start.addSecs(240 - EventStore::keepSeconds)));
    }

    void missingKeyMakesNoRequest()
    {
        Fixture f;
        const Account a = f.add(Platform::Gumroad, "nokey", false, false);
        runTask(f.poller.pollAll());
        QCOMPARE(f.poller.error(a.id),
                 "The key is missing from your system keyring. Reconnect Gumroad");
        QVERIFY(f.server.requests().isEmpty());
        // A platform without a connector is left alone.
        const Account unknown = f.add(Platform::Whop, "whop");
        runTask(f.poller.pollAll());
        QVERIFY(!f.poller.hasError(unknown.id));
        QVERIFY(f.server.requests().isEmpty());
        f.poller.forget(a.id);
        QVERIFY(!f.poller.hasError(a.id));
    }

    void testClockWakesEachSleeperOnce()
    {
        ManualClock clock;
        int woken = 0;
        const auto nap = [&](int seconds) -> QCoro::Task<> {
            co_await clock.sleep(std::chrono::seconds(seconds));
            ++woken;
        };
        nap(10);
        nap(30);
        // Jumps back and forth before the loop runs: each sleeper wakes once,
        // and only once its deadline has been reached.
        const QDateTime start = clock.now();
        clock.setNow(start.addSecs(20));
        clock.setNow(start.addSecs(25));
        clock.setNow(start.addSecs(5));
        QCoreApplication::processEvents();
        QCOMPARE(woken, 1);
        QCOMPARE(clock.sleepers(), 1);
        clock.advance(std::chrono::seconds(25), std::chrono::seconds(25));
        QCOMPARE(woken, 2);
        QCOMPARE(clock.sleepers(), 0);
    }

    void withTimeoutPassesResultsAndErrors()
    {
        ManualClock clock;
        const auto quick = []() -> QCoro::Task<int> { co_return 7; };
        QCOMPARE(runTask(withTimeout(clock, std::chrono::seconds(45), quick())), 7);
        const auto failing = []() -> QCoro::Task<int> {
            co_await QCoro::sleepFor(std::chrono::milliseconds(1));
            throw SourceError("Polar answered 500");
        };
        QCOMPARE(failureOf(withTimeout(clock, std::chrono::seconds(45), failing())),
                 "Polar answered 500");
    }
};

QTEST_GUILESS_MAIN(TestPoller)
#include "tst_poller.moc"
