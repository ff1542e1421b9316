#include "connectors/paddlepolar/PolarSource.h"
#include "core/EventStore.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// Hosts, labels, sandbox retries, requests and damaged answers: tests/sources.
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

    // Each order's id says how it differs from the recorded paid one; those
    // not listed are not reported.
    void orderMapping()
    {
        TestHttp t;
        t.server.on("GET", ordersPath,
                    ScriptedResponse::json(fixture("paddlepolar/polar-mapping.json")));
        const auto line = [](const char *id, const char *rest) -> QString {
            return QString(id) + u' ' + rest + " @ 12-05 09:41:12.519";
        };
        const char *sale = "sale Framer Kit | 1071 USD";
        const char *renewal = "renewal Framer Kit | 1071 USD";
        QCOMPARE(eventLines(runTask(PolarSource::fetch(t.context(), token, {}, account, since)),
                            Platform::Polar, account),
                 (QStringList{
                     line("paid", sale),
                     line("pending-but-paid", sale),
                     line("paid-status-flag-false", sale),
                     line("renewal", renewal),
                     line("metered-cycle", renewal),
                     line("subscription-start", sale),
                     line("item-label", "sale Framer Kit Pro | 1071 USD"),
                     line("no-names", "sale Polar order | 1071 USD"),
                     line("net-amount", "sale Framer Kit | 900 USD"),
                     line("fractional-total", "sale Framer Kit | 900 USD"),
                     line("plain-amount", "sale Framer Kit | 450 USD"),
                     line("no-amount", "sale Framer Kit | 0 USD"),
                     line("currency-lower-case", "sale Framer Kit | 1071 EUR"),
                     line("no-currency", sale),
                 }));
    }
};

QTEST_GUILESS_MAIN(TestPolar)
#include "tst_polar.moc"
