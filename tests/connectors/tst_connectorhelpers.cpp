#include "connectors/EnvironmentProbe.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/ResumeParts.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QTest>

namespace {

QCoro::Task<QString> answerFrom(QString environment, bool refuses)
{
    if (refuses)
        throw SourceError(environment + QStringLiteral(" refused"));
    co_return environment;
}

}

class TestConnectorHelpers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Production first, then the sandbox; the connectors with two
    // environments all go through this one probe.
    void environmentProbe_data()
    {
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<QStringList>("refusing");
        QTest::addColumn<QString>("outcome"); // the answering environment, or "!" + failure
        QTest::addColumn<QStringList>("asked");
        const QStringList both{"production", "sandbox"};
        QTest::newRow("production key")
            << Extra() << QStringList() << "production" << QStringList{"production"};
        QTest::newRow("sandbox key") << Extra() << QStringList{"production"} << "sandbox" << both;
        QTest::newRow("valid nowhere: the sandbox's error")
            << Extra() << both << "!sandbox refused" << both;
        QTest::newRow("sandbox account asks the sandbox once")
            << Extra{{"sandbox", "1"}} << both << "!sandbox refused" << QStringList{"sandbox"};
        QTest::newRow("the flag is exactly 1")
            << Extra{{"sandbox", "true"}} << QStringList{"production"} << "sandbox" << both;
    }

    void environmentProbe()
    {
        QFETCH(Extra, extra);
        QFETCH(QStringList, refusing);
        QFETCH(QString, outcome);
        QFETCH(QStringList, asked);
        QStringList environments;
        auto probe = Environment::probe<QString>(extra, [&](Extra e) {
            environments << (Environment::isSandbox(e) ? "sandbox" : "production");
            return answerFrom(environments.last(), refusing.contains(environments.last()));
        });
        QString answer;
        const QString failure = failureOf([&]() -> QCoro::Task<> { answer = co_await probe; }());
        QCOMPARE(failure.isEmpty() ? answer : u'!' + failure, outcome);
        QCOMPARE(environments, asked);
    }

    void wrongTypesCountAsAbsent()
    {
        const QJsonValue doc =
            QJsonDocument::fromJson(
                R"({"a":{"b":{"c":"x"}},"n":1200,"f":12.5,"big":9007199254740993,"s":"1200","e":"","arr":[1,{"k":1},"x"]})")
                .object();
        QCOMPARE(Json::string(
                     Json::at(doc, {QLatin1String("a"), QLatin1String("b"), QLatin1String("c")})),
                 "x");
        QVERIFY(Json::at(doc, {QLatin1String("a"), QLatin1String("x"), QLatin1String("c")})
                    .isUndefined());
        QVERIFY(Json::at(doc, {QLatin1String("n"), QLatin1String("c")}).isUndefined());
        QCOMPARE(Json::wholeNumber(doc[QLatin1String("n")]), 1200);
        QCOMPARE(Json::wholeNumber(doc[QLatin1String("big")]),
                 9007199254740993LL); // exact beyond 2^53
        QVERIFY(!Json::wholeNumber(doc[QLatin1String("f")]));
        QVERIFY(!Json::wholeNumber(doc[QLatin1String("s")]));
        QVERIFY(!Json::text(doc[QLatin1String("e")]));
        QCOMPARE(Json::string(doc[QLatin1String("e")]), "");
        QCOMPARE(Json::objects(doc[QLatin1String("arr")]).size(), 1);
        QVERIFY(Json::objects(doc[QLatin1String("s")]).isEmpty());
    }

    void queryKeepsOrderAndEncodes()
    {
        TestHttp t;
        t.server.on("GET", "/v1/events", ScriptedResponse::json("{}"));
        const QueryItems items{{"types[]", "charge.succeeded"},
                               {"types[]", "charge.failed"},
                               {"created[gt]", "1764917817"},
                               {"after", "2026-12-05T06:56:57+01:00"},
                               {"q", "a b&c=d"}};
        runTask(
            t.http.json(Http::request(queryUrl(QUrl("https://api.stripe.com/v1"), "events", items)),
                        Platform::Stripe));
        const RecordedRequest &r = t.server.requests().first();
        QCOMPARE(r.path, "/v1/events");
        QCOMPARE(r.query, items);
        QCOMPARE(queryUrl(QUrl("https://x.test/api/v1/"), "/payments").path(), "/api/v1/payments");
    }

    void resumePartsKeepEachListsToken()
    {
        const QString token =
            ResumeParts::join({{"orders", "a=b&c%d"}, {"invoices", ""}, {"refunds", "7"}});
        QCOMPARE(ResumeParts::part(token, "orders"), "a=b&c%d");
        QCOMPARE(ResumeParts::part(token, "refunds"), "7");
        QVERIFY(!ResumeParts::part(token, "invoices")); // read to the end
        QVERIFY(!ResumeParts::part(token, "order"));
        QVERIFY(ResumeParts::join({{"orders", ""}}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConnectorHelpers)
#include "tst_connectorhelpers.moc"
