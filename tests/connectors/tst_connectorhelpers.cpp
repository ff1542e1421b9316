#include "connectors/EnvironmentProbe.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/ResumeParts.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QCoro::Task<QString> refused(QString environment)
{
    throw SourceError(environment + QStringLiteral(" refused"));
    co_return environment;
}

}

class TestConnectorHelpers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A key valid in neither environment fails with the sandbox's sentence,
    // production having been answered by trying the sandbox.
    void environmentProbeValidNowhere()
    {
        QStringList asked;
        auto probe = Environment::probe<QString>({}, [&](Extra e) {
            asked << (Environment::isSandbox(e) ? "sandbox" : "production");
            return refused(asked.last());
        });
        QCOMPARE(failureOf(std::move(probe)), "sandbox refused");
        QCOMPARE(asked, (QStringList{"production", "sandbox"}));
    }

    void wrongTypesCountAsAbsent()
    {
        const QJsonValue doc =
            QJsonDocument::fromJson(
                R"({"a":{"b":{"c":"x"}},"n":1200,"f":12.5,"big":9007199254740993,"s":"1200","e":"","arr":[1,{"k":1},"x"]})")
                .object();
        QCOMPARE(Json::string(Json::at(doc, {"a"_L1, "b"_L1, "c"_L1})), "x");
        QVERIFY(Json::at(doc, {"a"_L1, "x"_L1, "c"_L1}).isUndefined());
        QVERIFY(Json::at(doc, {"n"_L1, "c"_L1}).isUndefined());
        QCOMPARE(Json::wholeNumber(doc["n"_L1]), 1200);
        // Exact beyond 2^53.
        QCOMPARE(Json::wholeNumber(doc["big"_L1]), 9007199254740993LL);
        QVERIFY(!Json::wholeNumber(doc["f"_L1]));
        QVERIFY(!Json::wholeNumber(doc["s"_L1]));
        QVERIFY(!Json::text(doc["e"_L1]));
        QCOMPARE(Json::string(doc["e"_L1]), "");
        QCOMPARE(Json::objects(doc["arr"_L1]).size(), 1);
        QVERIFY(Json::objects(doc["s"_L1]).isEmpty());
    }

    void queryKeepsOrderAndEncodes()
    {
        TestHttp t;
        t.server.on("GET", "/v1/events", ScriptedResponse::json("{}"));
        // Characters that mean something in a query arrive as they were.
        const QueryItems items{{"after", "2026-12-05T06:56:57+01:00"}, {"q", "a b&c=d"}};
        runTask(
            t.http.json(Http::request(queryUrl(QUrl("https://api.stripe.com/v1"), "events", items)),
                        Platform::Stripe));
        const RecordedRequest &r = t.server.requests().first();
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
