#include "core/SourceError.h"
#include "framer/FramerResult.h"
#include "framer/FramerSource.h"
#include "framer/FramerWebRoutes.h"
#include "framer/SignInPolicy.h"

#include <QTest>
#include <QTimeZone>

// The Framer rules that need no web engine: decoding the reader's answer,
// the UTC window, the sign-in navigation rules and the web routes.
class TestFramerRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodesResults_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error"); // empty: decodes
        QTest::addColumn<int>("rows");
        const QByteArray good =
            R"({"id":"7","title":"Quill","period":"2026-12-05","remixes":2,"views":9,"conversions":1})";
        QTest::newRow("signed in")
            << R"({"signedIn":true,"status":200,"rows":[)" + good + "]}" << QString() << 1;
        QTest::newRow("not signed in")
            << QByteArray(R"({"signedIn":false,"status":401})") << QString() << -1;
        QTest::newRow("no period") << QByteArray(
            R"({"signedIn":true,"status":200,"rows":[{"id":"7","title":"Q","remixes":0,"views":0,"conversions":0}]})")
                                   << "Framer's answer has no \"period\" in row 1" << 0;
        QTest::newRow("no title or slug") << QByteArray(
            R"({"signedIn":true,"rows":[{"id":"7","period":"d","remixes":0,"views":0,"conversions":0}]})")
                                          << "Framer's answer has no \"title\" in row 1" << 0;
        QTest::newRow("fractional count")
            << QByteArray(
                   R"({"signedIn":true,"rows":[{"id":"7","title":"Q","period":"d","remixes":1.5,"views":0,"conversions":0}]})")
            << "Framer's answer has a \"remixes\" that is not a whole number in row 1" << 0;
        QTest::newRow("no signedIn")
            << QByteArray(R"({"status":200})") << "Framer's answer has no \"signedIn\"" << 0;
        QTest::newRow("not json") << QByteArray("<html>") << "Framer's answer is not a JSON object"
                                  << 0;
    }

    void decodesResults()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QFETCH(int, rows);
        try {
            const FramerResult result = FramerResult::decode(json);
            QVERIFY2(error.isEmpty(), "decoded what should have failed");
            QCOMPARE(result.rows ? int(result.rows->size()) : -1, rows);
            if (rows == 1)
                QCOMPARE(result.rows->first(), (FramerRow{"7", "Quill", "2026-12-05", 2, 9, 1}));
        } catch (const Failure &f) {
            QCOMPARE(f.description(), error);
        }
    }

    // Counted in UTC whatever the local zone: at 00:00:30 UTC the window
    // starts on the previous UTC day.
    void windowIsUtc()
    {
        const QDateTime utc(QDate(2026, 12, 5), QTime(0, 0, 30), QTimeZone::utc());
        const auto [from, to] =
            FramerSource::window(utc.toTimeZone(QTimeZone("America/Los_Angeles")));
        QCOMPARE(from, QStringLiteral("2026-12-04"));
        QCOMPARE(to, QStringLiteral("2026-12-05"));
    }

    void decidesNavigations_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("mainFrame");
        QTest::addColumn<bool>("allow");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("load");
        QTest::newRow("root with token")
            << "https://framer.com/#access_token=x" << true << true << false << "";
        QTest::newRow("root") << "https://framer.com/" << true << false << true << "";
        QTest::newRow("sub-frame")
            << "https://www.framer.com/projects/" << false << true << false << "";
        QTest::newRow("other framer host")
            << "https://app.framer.com/projects/" << true << true << false << "";
        QTest::newRow("google without prompt")
            << "https://accounts.google.com/o/oauth2/v2/auth?client_id=1&prompt=consent&prompt=none"
            << true << false << false
            << "https://accounts.google.com/o/oauth2/v2/auth?client_id=1&prompt=select_account";
        QTest::newRow("google choosing already")
            << "https://accounts.google.com/o/oauth2/auth?prompt=consent%20select_account" << true
            << true << false << "";
        QTest::newRow("google other page")
            << "https://accounts.google.com/signin/v2" << true << true << false << "";
    }

    void decidesNavigations()
    {
        QFETCH(QString, url);
        QFETCH(bool, mainFrame);
        QFETCH(bool, allow);
        QFETCH(bool, confirm);
        QFETCH(QString, load);
        const auto d = SignInPolicy::decide(QUrl(url), mainFrame);
        QCOMPARE(d.allow, allow);
        QCOMPARE(d.confirm, confirm);
        QCOMPARE(d.load.value_or(QUrl()).toString(), load);
    }

    void takesOnlyFramerLinks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::newRow("bare domain") << "https://framer.com/verify" << true;
        QTest::newRow("sub-domain") << "https://login.framer.com/x" << true;
        QTest::newRow("plain http") << "http://www.framer.com/auth/magic" << false;
        QTest::newRow("suffix look-alike") << "https://notframer.com/auth" << false;
        QTest::newRow("words") << "framer.com is great" << false;
    }

    void takesOnlyFramerLinks()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QCOMPARE(SignInPolicy::signInLink(text).has_value(), taken);
    }

    // Only https loopback origins stand in for Framer's pages, and only those
    // hosts may present a certificate the engine does not trust.
    void routesWebPages()
    {
        const auto endpoints = std::get<Endpoints>(Endpoints::parse(
            "www.framer.com=https://127.0.0.1:4431,framer.com=https://127.0.0.1:4431,"
            "api.stripe.com=https://127.0.0.1:9"));
        const FramerWebRoutes routes(endpoints);
        QCOMPARE(routes.chromiumFlags("--foo"),
                 "--foo --host-resolver-rules=\"MAP framer.com:443 127.0.0.1:4431,MAP "
                 "www.framer.com:443 127.0.0.1:4431\"");
        QVERIFY(!routes.acceptsCertificateFor("api.stripe.com"));
        QVERIFY(!routes.acceptsCertificateFor("evil.example"));

        const FramerWebRoutes plain(std::get<Endpoints>(Endpoints::parse("*=http://127.0.0.1:80")));
        QVERIFY(plain.isEmpty());
        QCOMPARE(plain.chromiumFlags("--foo"), "--foo");
        QVERIFY(!plain.acceptsCertificateFor("www.framer.com"));
    }
};

QTEST_GUILESS_MAIN(TestFramerRules)
#include "tst_framerrules.moc"
