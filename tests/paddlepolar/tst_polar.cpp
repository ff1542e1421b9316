#include "connectors/paddlepolar/PolarSource.h"
#include "core/EventStore.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// Hosts, what it reads from a recorded answer, labels, sandbox retries, requests and damaged
// answers: tests/sources.
namespace {

const QString token = QStringLiteral("polar_oat_5vYq2mJc0aXkR8tN3bL7wZ1dF6hG4sP9eU2iO0yT");
const QUuid account = QUuid::fromString(QStringLiteral("{c3f1b2a4-7e6d-4f5a-9b8c-1d2e3f4a5b6c}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString ordersPath = QStringLiteral("/v1/orders/");
using Changes = QList<std::pair<QString, QJsonValue>>; // an undefined value removes the field

// The recorded paid one-off order with another id and some fields changed.
QJsonObject order(const QString &id, const Changes &changes = {})
{
    QJsonObject o =
        QJsonDocument::fromJson(fixture("paddlepolar/polar-orders.json"))["items"][0].toObject();
    o["id"] = id;
    for (const auto &[name, value] : changes)
        o.insert(name, value);
    return o;
}

QByteArray list(const QJsonArray &items)
{
    return QJsonDocument(QJsonObject{{"items", items}}).toJson();
}

}

class TestPolar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The dashboard follows the label, or the account's sandbox flag.
    void dashboard()
    {
        QCOMPARE(PolarSource::dashboard({}, "Polar"), QUrl("https://polar.sh/dashboard"));
        QCOMPARE(PolarSource::dashboard({}, "Polar (sandbox)"),
                 QUrl("https://sandbox.polar.sh/dashboard"));
        QCOMPARE(PolarSource::dashboard({{"sandbox", "1"}}, "Polar"),
                 QUrl("https://sandbox.polar.sh/dashboard"));
    }

    // A renewal created before the cut-off that waited in "pending" is
    // announced once it is paid, dated when paid; renewals paid on time or
    // changed before the cut-off are not read again.
    void latePaidRenewals()
    {
        TestHttp t;
        QTemporaryDir dir;
        EventStore store(dir.filePath("events.json"));
        const auto renewal = [](const char *id, const char *created, const char *modified,
                                const char *status) {
            return order(id,
                         {{"billing_reason", "subscription_cycle"},
                          {"created_at", created},
                          {"modified_at", modified},
                          {"status", status},
                          {"paid", QString(status) == "paid"}});
        };
        const auto check = [&](const QJsonArray &recurring) {
            t.server.reset();
            t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
                if (r.queryValue("product_billing_type") == "recurring")
                    return ScriptedResponse::json(list(recurring));
                return ScriptedResponse::json(list({}));
            });
            return store.ingest(runTask(PolarSource::fetch(t.context(), token, {}, account, since)),
                                account, t.clock.now());
        };
        store.ingest({}, account, t.clock.now());
        const QJsonArray waiting{
            renewal("r_late", "2026-12-03T08:00:00Z", "2026-12-03T08:00:01Z", "pending"),
            renewal("r_on_time", "2026-12-03T09:00:00Z", "2026-12-03T09:00:01Z", "paid")};
        QVERIFY(check(waiting).isEmpty());
        const QList<SaleEvent> paid = check(
            {renewal("r_late", "2026-12-03T08:00:00Z", "2026-12-05T10:00:00Z", "paid"),
             renewal("r_on_time", "2026-12-03T09:00:00Z", "2026-12-03T09:00:01Z", "paid"),
             renewal("r_refunded", "2026-12-03T07:00:00Z", "2026-12-05T10:00:00Z", "refunded")});
        QCOMPARE(paid.size(), 1);
        QCOMPARE(paid[0].id, "r_late");
        QCOMPARE(paid[0].kind, SaleEvent::Kind::Renewal);
        QCOMPARE(paid[0].at, QDateTime(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC));
    }
};

QTEST_GUILESS_MAIN(TestPolar)
#include "tst_polar.moc"
