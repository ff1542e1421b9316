#include "KorvantaProcess.h"
#include "support/FakePlatformServer.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// A Gumroad sales page of "Field Notes" sales at $19.99, made just now so
// they count as today's.
static QByteArray gumroadSales(const QList<QByteArray> &ids)
{
    const QByteArray now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
    QList<QByteArray> sales;
    for (const QByteArray &id : ids)
        sales.append(R"({"id":")" + id + R"(","created_at":")" + now
                     + R"(","product_name":"Field Notes","price":1999,"currency":"usd"})");
    return R"({"success":true,"sales":[)" + sales.join(',') + "]}";
}

class TestHeadless : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    void connectCheckAndReport()
    {
        FakePlatformServer server;
        server.on("GET", "/v2/user",
                  ScriptedResponse::json(R"({"success":true,"user":{"name":"Ana Lindqvist"}})"));
        server.on("GET", "/v2/sales", ScriptedResponse::json(gumroadSales({"s1", "s2"})));
        server.on("GET", "/v2/sales", ScriptedResponse::json(gumroadSales({"s1", "s2", "s3"})));
        server.on("GET", "/v2/sales",
                  ScriptedResponse::json(gumroadSales({"s1", "s2", "s3", "s4", "s5"})));
        KorvantaProcess korvanta(server.endpointsForAll());

        const KorvantaRun connected =
            korvanta.run({"--connect", "gumroad"}, "secret=  gum_token_1 \n\n");
        QCOMPARE(connected.exitCode, 0);
        QCOMPARE(connected.out, "Ana Lindqvist\n");
        QVERIFY(connected.err.contains("KORVANTA_ENDPOINTS is set"));
        QCOMPARE(server.requests().first().header("Authorization"),
                 "Bearer gum_token_1"); // trimmed

        const KorvantaRun listed = korvanta.run({"--accounts"});
        const QStringList fields = listed.out.trimmed().split('\t');
        QCOMPARE(fields.size(), 4);
        QVERIFY(QUuid::fromString(fields[0]) != QUuid());
        QCOMPARE(fields[0], fields[0].toUpper());
        QCOMPARE(fields.mid(1), QStringList({"gumroad", "Ana Lindqvist", "never"}));

        QCOMPARE(korvanta.run({"--check"}).out, ""); // the first poll only marks sales as seen
        const KorvantaRun checked = korvanta.run({"--check"});
        QCOMPARE(checked.exitCode, 0);
        QJsonObject event = QJsonDocument::fromJson(checked.out.toUtf8()).object();
        QVERIFY(event.take("at").toString().endsWith('Z'));
        QCOMPARE(event,
                 (QJsonObject{{"id", "s3"},
                              {"account", fields[0]},
                              {"platform", "gumroad"},
                              {"kind", "sale"},
                              {"title", "Field Notes"},
                              {"amount", QJsonObject{{"minor", 1999}, {"currency", "USD"}}}}));
        QVERIFY(korvanta.run({"--accounts"}).out.trimmed().endsWith('Z'));

        // With --moments a check prints the one moment its new sales make, or nothing.
        const KorvantaRun moment = korvanta.run({"--check", "--moments"});
        QCOMPARE(moment.out.count('\n'), 1);
        QCOMPARE(QJsonDocument::fromJson(moment.out.toUtf8()).object().value("kicker").toString(),
                 "2 new sales on Gumroad");
        QCOMPARE(korvanta.run({"--check", "--moments"}).out, "");

        const QJsonObject today =
            QJsonDocument::fromJson(korvanta.run({"--today"}).out.toUtf8()).object();
        QCOMPARE(today.value("sales").toInt(), 5);
        QCOMPARE(today.value("revenue").toObject(),
                 QJsonObject({{"minor", 9995}, {"currency", "USD"}}));
        QCOMPARE(today.value("date").toString(), korvanta.today().toString(Qt::ISODate));
        QCOMPARE(today.value("yesterday").toObject(),
                 QJsonObject({{"revenue", QJsonValue::Null}, {"sales", 0}}));
        const QJsonObject account = today.value("accounts").toArray().first().toObject();
        QCOMPARE(account.value("label").toString(), "Ana Lindqvist");
        QCOMPARE(account.value("sales").toInt(), 5);
    }

    // A line that cannot be read runs nothing: the usage goes to standard error.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "";
        QTest::newRow("unknown switch")
            << QStringList{"--check", "--tody"} << 2 << "Unknown switch \"--tody\".";
        QTest::newRow("a word that is no switch")
            << QStringList{"today"} << 2 << "Unknown switch \"today\".";
        QTest::newRow("value missing")
            << QStringList{"--connect"} << 2 << "The switch --connect needs a PLATFORM after it.";
        QTest::newRow("a switch is no value") << QStringList{"--connect", "--check"} << 2
                                              << "The switch --connect needs a PLATFORM after it.";
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, complaint);
        KorvantaProcess korvanta(QStringLiteral("api.gumroad.com=https://203.0.113.7"));
        const KorvantaRun r = korvanta.run(args);
        QCOMPARE(r.exitCode, status);
        const QString usage = status == 0 ? r.out : r.err;
        QVERIFY2(usage.startsWith(complaint.isEmpty() ? QString("Usage: korvanta")
                                                      : complaint + "\n\nUsage:"),
                 qPrintable(usage));
        for (const char *part : {"--connect PLATFORM", "--render-today PATH", "KORVANTA_ENDPOINTS",
                                 "Exit status", "  3  another Korvanta holds the data folder"})
            QVERIFY2(usage.contains(part), part);
        QCOMPARE(status == 0 ? r.err : r.out, ""); // not even the endpoints are read
        QVERIFY(!QFileInfo::exists(korvanta.dataFolder()));
    }

    void failuresAreSentences()
    {
        FakePlatformServer server;
        server.on("GET", "/v2/user",
                  ScriptedResponse::json(
                      R"({"success":false,"message":"The access token is invalid"})", 401));
        server.on("GET", "/v2/sales", ScriptedResponse::json("{}", 500));
        KorvantaProcess korvanta(server.endpointsForAll());

        KorvantaRun r = korvanta.run({"--connect", "gumroad"}, "secret=bad\n");
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.endsWith("Gumroad: The access token is invalid\n"));
        r = korvanta.run({"--connect", "paypal"}, "secret=x\n");
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(korvanta.run({"--accounts"}).out, "");

        // An account that fails its check reports "<label>: <message>".
        server.reset();
        server.on("GET", "/v2/user",
                  ScriptedResponse::json(R"({"user":{"email":"ana@example.com"}})"));
        server.on("GET", "/v2/sales", ScriptedResponse::json("{}", 503));
        QCOMPARE(korvanta.run({"--connect", "gumroad"}, "secret=ok\n").out, "ana@example.com\n");
        r = korvanta.run({"--check"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.endsWith("ana@example.com: Gumroad answered 503\n"));
        QVERIFY(korvanta.run({"--accounts"}).out.trimmed().endsWith("never"));
    }

    void keyringThatCannotStoreStoresNothing()
    {
        FakePlatformServer server;
        server.on("GET", "/v2/user", ScriptedResponse::json(R"({"user":{"name":"Ana"}})"));
        KorvantaProcess korvanta(server.endpointsForAll());
        korvanta.environment().insert("DBUS_SESSION_BUS_ADDRESS",
                                      "unix:path=/nonexistent/korvanta-bus");
        const KorvantaRun r = korvanta.run({"--connect", "gumroad"}, "secret=gum\n");
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Your system keyring couldn't store the key")
                     || r.err.contains("Your system keyring didn't answer"),
                 qPrintable(r.err));
        QCOMPARE(korvanta.run({"--accounts"}).out, "");
    }

    void endpointsMustBeLoopback()
    {
        KorvantaProcess korvanta(QStringLiteral("api.gumroad.com=https://203.0.113.7"));
        const KorvantaRun r = korvanta.run({"--today"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("loopback"));
        QCOMPARE(r.out, "");
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
