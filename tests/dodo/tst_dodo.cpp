#include "connectors/dodo/DodoSource.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QTest>

// Hosts, labels, requests and damaged answers: tests/sources.
class TestDodo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each payment's id says how it differs from the recorded succeeded one;
    // those not listed are not reported (not yet paid, no id, no readable time).
    void paymentMapping()
    {
        TestHttp t;
        t.server.on("GET", "/payments", ScriptedResponse::json(fixture("dodo/mapping.json")));
        const QUuid account = QUuid::createUuid();
        const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
        QCOMPARE(eventLines(runTask(DodoSource::fetch(t.context(), "k", {}, account, since)),
                            Platform::Dodo, account),
                 (QStringList{
                     "sale sale Payment | 2900 USD @ 12-05 09:15:02.318",
                     "renewal renewal Subscription payment | 2900 USD @ 12-05 09:15:02.318",
                     "failed failed Payment | 2900 USD @ 12-05 09:15:02.318",
                     "failed-renewal failed Subscription payment | 2900 USD @ 12-05 09:15:02.318",
                     "no-currency sale Payment | 2900 USD @ 12-05 09:15:02.318",
                     // "inr" and "INR" must count as one currency in the totals.
                     "currency-lower-case sale Payment | 2900 INR @ 12-05 09:15:02.318",
                     "amount-as-text sale Payment | 0 USD @ 12-05 09:15:02.318",
                     "subscription-id-not-text sale Payment | 2900 USD @ 12-05 09:15:02.318",
                 }));
    }
};

QTEST_GUILESS_MAIN(TestDodo)
#include "tst_dodo.moc"
