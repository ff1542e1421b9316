#include "core/EventStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime noon(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC);
// Each test has a folder of its own, so the accounts may be the same.
const QUuid a = QUuid::fromString(QStringLiteral("6f1e3c1a-0b7d-4c1e-9a55-0123456789ab"));
const QUuid other = QUuid::createUuid();

SaleEvent sale(const QString &id, const QUuid &account, const QDateTime &at, qint64 minor = 1200)
{
    return {id, account, Platform::Stripe, SaleEvent::Kind::Sale, "Ebook", Money{minor, "USD"}, at};
}

QStringList ids(const QList<SaleEvent> &events)
{
    QStringList list;
    for (const SaleEvent &e : events)
        list.append(e.id);
    return list;
}

}

class TestEventStore : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString path() const { return m_dir->filePath("events.json"); }

private Q_SLOTS:
    void initTestCase() { qputenv("TZ", "Europe/Berlin"); }
    void init() { m_dir.emplace(); }

    // A first poll marks what is there as seen; an event named twice in one
    // answer is new once. The file and its folder are the user's alone.
    void onlyNewEventsInAPrivateFile()
    {
        const QString path = m_dir->filePath("nested/Korvanta/events.json");
        EventStore store(path);
        const QList<SaleEvent> three{sale("a", a, noon.addSecs(-3600)),
                                     sale("b", a, noon.addSecs(-1800)),
                                     sale("c", a, noon.addSecs(-60))};
        QVERIFY(store.ingest(three, a, noon).isEmpty());
        QCOMPARE(ids(store.today(noon)), QStringList({"c", "b", "a"}));
        const auto fresh = store.ingest(three + QList{sale("d", a, noon), sale("d", a, noon)}, a,
                                        noon.addSecs(120));
        QCOMPARE(ids(fresh), QStringList({"d"}));
        QCOMPARE(store.recent().size(), 4);
        QVERIFY(QFileInfo(path).permissions() & QFile::ReadOwner);
        QVERIFY(!(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther)));
        QVERIFY(!(QFileInfo(QFileInfo(path).absolutePath()).permissions()
                  & (QFile::ReadGroup | QFile::ReadOther)));
    }

    void storedFormat()
    {
        EventStore store(path());
        store.ingest({sale("x\"y", a, noon)}, a, noon);
        QFile f(path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(!bytes.contains('\n')); // compact
        const QJsonObject root = QJsonDocument::fromJson(bytes).object();
        const QString key = "6F1E3C1A-0B7D-4C1E-9A55-0123456789AB";
        QCOMPARE(root.value("seen").toObject().value(key).toArray(), QJsonArray({"x\"y"}));
        QCOMPARE(root.value("lastPoll").toObject().value(key).toDouble(), 818164800.0);
        // The events themselves are stored in their own form.
        QCOMPARE(root.value("recent").toArray().first().toObject(), sale("x\"y", a, noon).toJson());
    }

    void pruningAndSeenBounds()
    {
        EventStore store(path());
        store.ingest({}, a, noon.addDays(-10));
        const QDateTime edge = noon.addSecs(-EventStore::keepSeconds);
        // Nothing older than what is kept is new: it may have been announced and forgotten.
        QCOMPARE(
            ids(store.ingest({sale("edge", a, edge), sale("older", a, edge.addSecs(-1))}, a, noon)),
            QStringList({"edge"}));
        QCOMPARE(ids(store.recent()), QStringList({"edge"}));
        store.ingest({sale("new", a, noon)}, a, noon.addSecs(60));
        QVERIFY(store.seen(a).contains("new"));
        QVERIFY(!store.seen(a).contains("older"));
        QVERIFY(store.ingest({sale("older", a, edge.addSecs(-1))}, a, noon.addSecs(120)).isEmpty());
        // Pruning applies to every account's events at each ingest.
        store.ingest({}, other, noon);
        store.ingest({sale("b1", other, noon)}, other, noon.addSecs(1));
        store.ingest({}, a, noon.addDays(5));
        QVERIFY(store.recent().isEmpty());
    }

    void cappedRunsKeepTheLastPollUntilTheyEnd()
    {
        const QString path = this->path();
        const QDateTime later = noon.addSecs(300);
        {
            EventStore store(path);
            store.ingest({}, a, noon.addSecs(-3600));
            QCOMPARE(ids(store.ingest({sale("n1", a, noon)}, a, noon, "cursor 1")),
                     QStringList({"n1"}));
            QCOMPARE(*store.lastPoll(a), noon.addSecs(-3600));
            QCOMPARE(*store.backlog(a), (Backlog{"cursor 1", noon}));
        }
        // The run survives a restart, and files written before runs existed keep their form.
        EventStore store(path);
        QCOMPARE(*store.backlog(a), (Backlog{"cursor 1", noon}));
        QCOMPARE(ids(store.ingest({sale("n1", a, noon), sale("n2", a, noon)}, a, later, "c2")),
                 QStringList({"n2"}));
        QCOMPARE(store.backlog(a)->began, noon);
        store.restartBacklog(a);
        QCOMPARE(*store.backlog(a), (Backlog{"", noon}));
        // The run's end moves the last poll to its start, not to the end.
        QVERIFY(store.ingest({sale("n3", a, noon)}, a, later.addSecs(300)).size() == 1);
        QCOMPARE(*store.lastPoll(a), noon);
        QVERIFY(!store.backlog(a));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("backlog"));
    }

    void firstRunOnlyAnnouncesWhatArrivedDuringIt()
    {
        EventStore store(path());
        QVERIFY(store.ingest({sale("old", a, noon.addSecs(-60))}, a, noon, "p2").isEmpty());
        QVERIFY(!store.lastPoll(a));
        QCOMPARE(ids(store.ingest(
                     {sale("older", a, noon.addSecs(-90)), sale("arrived", a, noon.addSecs(60))}, a,
                     noon.addSecs(120))),
                 QStringList({"arrived"}));
        QCOMPARE(*store.lastPoll(a), noon);
    }

    void paidAfterFailingCountsOnce_data()
    {
        QTest::addColumn<QString>("failedId");
        QTest::newRow("failure under its own id") << SaleEvent::failedId("pay_1");
        QTest::newRow("failure stored under the payment's id") << QStringLiteral("pay_1");
    }

    void paidAfterFailingCountsOnce()
    {
        QFETCH(QString, failedId);
        EventStore store(path());
        SaleEvent failed = sale(failedId, a, noon);
        failed.kind = SaleEvent::Kind::Failed;
        SaleEvent otherFailed = failed;
        otherFailed.account = other;
        store.ingest({}, a, noon);
        store.ingest({otherFailed}, other, noon);
        QCOMPARE(ids(store.ingest({failed}, a, noon.addSecs(60))), QStringList({failedId}));
        const QList<SaleEvent> paid =
            store.ingest({failed, sale("pay_1", a, noon.addSecs(90))}, a, noon.addSecs(120));
        QCOMPARE(ids(paid), QStringList({"pay_1"}));
        QCOMPARE(paid.first().kind, SaleEvent::Kind::Sale);
        // The failure no longer counts; another account's is untouched.
        QCOMPARE(ids(store.today(noon.addSecs(120))), QStringList({"pay_1", failedId}));
        QCOMPARE(store.today(noon.addSecs(120)).last().account, other);
        QVERIFY(store.ingest({failed, sale("pay_1", a, noon.addSecs(90))}, a, noon.addSecs(180))
                    .isEmpty());
        // Failing and paid within one check: only the payment is new.
        SaleEvent both = sale(SaleEvent::failedId("pay_2"), a, noon);
        both.kind = SaleEvent::Kind::Failed;
        QCOMPARE(ids(store.ingest({both, sale("pay_2", a, noon)}, a, noon.addSecs(240))),
                 QStringList({"pay_2"}));
    }

    void forgetBehavesLikeNew()
    {
        EventStore store(path());
        store.ingest({}, a, noon);
        store.ingest({}, other, noon);
        store.ingest({sale("s1", a, noon)}, a, noon.addSecs(60));
        store.ingest({sale("o1", other, noon)}, other, noon.addSecs(60));
        store.forget(a);
        QVERIFY(!store.lastPoll(a));
        QCOMPARE(ids(store.recent()), QStringList({"o1"}));
        QVERIFY(store.ingest({sale("s1", a, noon), sale("s2", a, noon)}, a, noon.addSecs(120))
                    .isEmpty());
        QCOMPARE(store.recent().size(), 3);
    }

    void dayBoundariesInLocalTime()
    {
        EventStore store(path());
        // Berlin is UTC+1 in December: today began at 23:00 UTC the day before.
        const QDateTime startOfToday(QDate(2026, 12, 4), QTime(23, 0), Qt::UTC);
        store.ingest({}, a, noon);
        store.ingest({sale("today-start", a, startOfToday),
                      sale("yesterday-start", a, startOfToday.addSecs(-86400)),
                      sale("before", a, startOfToday.addSecs(-86401)),
                      sale("late", a, startOfToday.addSecs(-1)), sale("now", a, noon)},
                     a, noon);
        QCOMPARE(ids(store.today(noon)), QStringList({"now", "today-start"}));
        QCOMPARE(ids(store.yesterday(noon)), QStringList({"yesterday-start", "late"}));
    }

    void unreadableFilesAreKeptAside()
    {
        const QString path = this->path();
        const auto write = [&](const QByteArray &bytes) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        };
        for (const QByteArray &bad :
             {QByteArray("{\"seen\": {"), QByteArray("[1,2]"), QByteArray("\x00\xff", 2)}) {
            QVERIFY(write(bad));
            EventStore store(path);
            QVERIFY(store.recent().isEmpty());
            QVERIFY(!QFile::exists(path));
            store.ingest({sale("x", a, noon)}, a, noon);
            QVERIFY(QFile::exists(path));
            QFile::remove(path);
        }
        QCOMPARE(QDir(m_dir->path()).entryList({"events.json.corrupt-*"}).size(), 3);

        // Wrong types inside an otherwise sound file count as absent; good events survive.
        const QByteArray good = QJsonDocument(sale("good", a, noon).toJson()).toJson();
        QVERIFY(write(
            R"({"seen":{"K":"not an array"},"recent":[)" + good
            + R"(,{"id":5},"junk"],"lastPoll":{"6F1E3C1A-0B7D-4C1E-9A55-0123456789AB":"x"}})"));
        EventStore store(path);
        QCOMPARE(ids(store.recent()), QStringList({"good"}));
        QVERIFY(!store.lastPoll(a));
        QCOMPARE(QDir(m_dir->path()).entryList({"events.json.corrupt-*"}).size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestEventStore)
#include "tst_eventstore.moc"
