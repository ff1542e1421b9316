#include "connectors/gumroad/GumroadSource.h"
#include "core/SystemTexts.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Hosts, labels, what it reads from a recorded answer, requests and damaged answers: tests/sources.
namespace {

const QString token = QStringLiteral("gum_Xc9fT2kq_access_token");
const QUuid account = QUuid::fromString(QStringLiteral("{0b7e4d7a-52a4-4a8e-8f0c-4c6f8d2b9e31}"));
// Half past midnight UTC: the day before is 4 December.
const QDateTime since(QDate(2026, 12, 5), QTime(0, 30), Qt::UTC);
using Items = QList<std::pair<QString, QString>>;

// The recorded sale with another id and time.
QJsonObject sale(const QString &id, const QString &createdAt)
{
    QJsonObject s =
        QJsonDocument::fromJson(fixture("gumroad/sales-page.json"))["sales"][0].toObject();
    s["id"] = id;
    s["created_at"] = createdAt;
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
    // The note names where the token is kept in this system's own terms.
    void helpNamesTheKeyring()
    {
        QVERIFY(GumroadSource::help().note->endsWith(
            SystemTexts::get(SystemTexts::Text::TokenInKeyring)));
    }

    void dayBefore()
    {
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

        // Each page carries the one before's key; a key that is not text ends paging; a sale
        // without a usable date is skipped without ending it.
        t.server.reset();
        t.server.on(
            "GET", "/v2/sales",
            sales({sale("s_a", "2026-12-05T10:00:00Z"), sale("s_undated", "5 Dec 2026 10:00 AM")},
                  "key_a"));
        t.server.on("GET", "/v2/sales", sales({sale("s_b", "2026-12-05T10:00:00Z")}, 12345));
        t.server.on("GET", "/v2/sales", sales({sale("s_c", "2026-12-05T10:00:00Z")}));
        QCOMPARE(fetch(t).size(), 2);
        QCOMPARE(t.server.requests().size(), 2);
        QCOMPARE(t.server.requests()[1].query,
                 (Items{{"after", "2026-12-04"}, {"page_key", "key_a"}}));
    }
};

QTEST_GUILESS_MAIN(TestGumroad)
#include "tst_gumroad.moc"
