#include "support/PollerParts.h"

#include <QTest>

namespace {

QStringList ids(const QList<SaleEvent> &events)
{
    QStringList list;
    for (const SaleEvent &e : events)
        list.append(e.id);
    return list;
}

// The poller with a list platform read at will (Gumroad) and one read at
// most every five minutes (Stripe).
struct Fixture : PollerParts {
    Fixture() : PollerParts(QDateTime(QDate(2026, 12, 5), QTime(14, 30), Qt::UTC))
    {
        sources.add(Platform::Gumroad, SourceEntry::of<ListSource<0>>());
        sources.add(Platform::Stripe, SourceEntry::of<ListSource<300>>());
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
        f.add("one");
        f.add("paused", Platform::Gumroad, true);
        f.add("framer", Platform::Framer);
        f.add("two");
        f.serve("one", R"([{"id":"a"},{"id":"b"}])");
        f.serve("two", R"([{"id":"c"}])");

        QVERIFY(runTask(f.poller.pollAll()).isEmpty()); // first polls only mark as seen
        QCOMPARE(f.server.requests().size(), 2);
        QCOMPARE(f.server.requests()[0].queryValue("shop"), "one");
        QCOMPARE(f.server.requests()[1].queryValue("shop"), "two");
        QCOMPARE(f.server.requests()[0].header("Authorization"), "Bearer key-one");
        // No poll yet: since the start of today in New York.
        QCOMPARE(f.server.requests()[0].queryValue("since"), "2026-12-05T05:00:00Z");

        f.server.reset();
        f.serve("one", R"([{"id":"a"},{"id":"b"},{"id":"d"}])");
        f.serve("two", R"([{"id":"c"},{"id":"e"}])");
        f.clock.advance(std::chrono::minutes(2), std::chrono::minutes(1));
        QCOMPARE(ids(runTask(f.poller.pollAll())), QStringList({"d", "e"}));
        // Afterwards: the last success minus a 15-minute overlap.
        QCOMPARE(f.server.requests()[0].queryValue("since"), "2026-12-05T14:15:00Z");
    }

    void spacingFollowsMinInterval()
    {
        Fixture f;
        const Account a = f.add("s", Platform::Stripe);
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
        const Account slow = f.add("slow");
        const Account next = f.add("next");
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
        const Account list = f.add("list");
        const Account spaced = f.add("spaced", Platform::Stripe);
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
        const Account a = f.add("nokey", Platform::Gumroad, false, false);
        runTask(f.poller.pollAll());
        QCOMPARE(f.poller.error(a.id),
                 "The key is missing from your system keyring. Reconnect Gumroad");
        QVERIFY(f.server.requests().isEmpty());
        // A platform without a connector is left alone.
        const Account unknown = f.add("whop", Platform::Whop);
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
};

QTEST_GUILESS_MAIN(TestPoller)
#include "tst_poller.moc"
