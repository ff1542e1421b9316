#include "KorvantaProcess.h"
#include "core/Money.h"
#include "support/FakePlatformServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

QByteArray sales(const QList<QByteArray> &ids)
{
    QByteArray list;
    for (const QByteArray &id : ids) {
        if (!list.isEmpty())
            list += ',';
        list += R"({"id":")" + id + R"(","created_at":")"
            + QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8()
            + R"(","product_name":"Field Notes","price":1999,"currency":"usd"})";
    }
    return R"({"success":true,"sales":[)" + list + "]}";
}

}

// `--check --moments` prints the one grouped moment of a check's new sales.
class TestCheckMoments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    void printsTheGroupedMoment()
    {
        FakePlatformServer server;
        server.on("GET", "/v2/user", ScriptedResponse::json(R"({"success":true,"user":{"name":"Ana Lindqvist"}})"));
        server.on("GET", "/v2/sales", ScriptedResponse::json(sales({"s1"})));
        server.on("GET", "/v2/sales", ScriptedResponse::json(sales({"s1", "s2", "s3"})));
        server.on("GET", "/v2/sales", ScriptedResponse::json(sales({"s1", "s2", "s3"})));
        KorvantaProcess korvanta(server.endpointsForAll());
        QCOMPARE(korvanta.run({"--connect", "gumroad"}, "secret=gum_token_1\n").exitCode, 0);

        const KorvantaRun first = korvanta.run({"--check", "--moments"});
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out, ""); // the first poll only marks sales as seen

        const KorvantaRun second = korvanta.run({"--check", "--moments"});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.out.count('\n'), 1);
        const QJsonObject moment = QJsonDocument::fromJson(second.out.toUtf8()).object();
        QCOMPARE(moment.keys(), (QStringList{"amount", "kicker", "platform", "title"}));
        QCOMPARE(moment.value("platform").toString(), "gumroad");
        QCOMPARE(moment.value("kicker").toString(), "2 new sales on Gumroad");
        QCOMPARE(moment.value("title").toString(), "Field Notes + 1 more");
        // The binary runs in this test's locale, so it formats as this process does.
        QCOMPARE(moment.value("amount").toString(), (Money{3998, "USD"}.formatted(true)));

        const KorvantaRun third = korvanta.run({"--check", "--moments"});
        QCOMPARE(third.exitCode, 0);
        QCOMPARE(third.out, "");
    }
};

QTEST_GUILESS_MAIN(TestCheckMoments)
#include "tst_checkmoments.moc"
