#include "core/Account.h"
#include "core/Money.h"
#include "core/Platform.h"
#include "core/Revenue.h"
#include "core/SaleEvent.h"

#include <QJsonDocument>
#include <QTest>

class TestSalesTypes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void platformTable()
    {
        QCOMPARE(Platforms::logoFile(Platform::ShopifyPartner), "shopify");
        QCOMPARE(Platforms::fromRaw("shopifypartner"), Platform::ShopifyPartner);
        QVERIFY(!Platforms::fromRaw("Stripe"));
        for (Platform p : Platforms::all())
            QCOMPARE(Platforms::fromRaw(Platforms::rawValue(p)), p);
        const Platforms::Rgb stripe = Platforms::color(Platforms::brandHex(Platform::Stripe));
        QCOMPARE(qRound(stripe.red * 255), 0x74);
        QCOMPARE(qRound(stripe.blue * 255), 0xff);
        const Platforms::Rgb fallback = Platforms::color("#zzzzzz");
        QCOMPARE(qRound(fallback.green * 255), 0xe0);
    }

    void fromDecimal_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("money"); // "minor CODE", or empty for no value
        const auto row = [](const char *name, const char *amount, const char *currency,
                            const char *money) {
            QTest::newRow(name) << QString(amount) << QString(currency) << QString(money);
        };
        row("usd half", "12.5", "usd", "1250 USD");
        row("usd two digits", "12.50", "USD", "1250 USD");
        row("dinar three", "1.234", "kwd", "1234 KWD");
        row("negative", "-3.10", "eur", "-310 EUR");
        row("leading dot", ".5", "usd", "50 USD");
        row("extra digits round", "0.125", "usd", "13 USD");
        row("no float drift", "0.29", "usd", "29 USD");
        row("huge exact", "92233720368547758.07", "usd", "9223372036854775807 USD");
        for (const char *bad : {"twelve", "", "1,200.00", "12abc", "99999999999999999999"})
            row(*bad ? bad : "empty", bad, "usd", "");
    }

    void fromDecimal()
    {
        QFETCH(QString, amount);
        QFETCH(QString, currency);
        const auto money = Money::fromDecimal(amount, currency);
        QTEST(money ? QString::number(money->minor) + u' ' + money->currency : QString(), "money");
    }

    // Whole amounts and yen are shown by the moments; these are the rest.
    void formatted()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QString minus(QChar(0x2212));
        QCOMPARE((Money{-1250, "USD"}).formatted(false, us), minus + "$12.50");
        QCOMPARE((Money{1250, "USD"}).formatted(true, us), "+$12.50");
        QCOMPARE((Money{0, "USD"}).formatted(true, us), "+$0");
        const QLocale de(QLocale::German, QLocale::Germany);
        QCOMPARE((Money{1250, "EUR"}).formatted(false, de), QString::fromUtf8("12,50\u00a0€"));
        // The most negative amount still formats instead of overflowing.
        QVERIFY((Money{std::numeric_limits<qint64>::min(), "USD"})
                    .formatted(false, us)
                    .startsWith(minus));
    }

    void storedForms()
    {
        const QUuid account =
            QUuid::fromString(QStringLiteral("{6f1e3c1a-0b7d-4c1e-9a55-0123456789ab}"));
        SaleEvent e{"ch_1",
                    account,
                    Platform::Stripe,
                    SaleEvent::Kind::Refund,
                    "Book",
                    Money{-400, "USD"},
                    QDateTime(QDate(2026, 12, 5), QTime(6, 56, 57, 500), Qt::UTC)};
        const QJsonObject json = e.toJson();
        QCOMPARE(json.value("account").toString(), "6F1E3C1A-0B7D-4C1E-9A55-0123456789AB");
        QCOMPARE(json.value("at").toDouble(), 818146617.5); // seconds since 2001-01-01 UTC
        QCOMPARE(SaleEvent::fromJson(json), e);

        QJsonObject noAmount = json;
        noAmount.remove("amount");
        QVERIFY(!SaleEvent::fromJson(noAmount)->amount);
        QJsonObject badKind = json;
        badKind.insert("kind", "chargeback");
        QVERIFY(!SaleEvent::fromJson(badKind));
        QJsonObject badAmount = json;
        badAmount.insert("amount", QJsonObject{{"minor", "400"}, {"currency", "USD"}});
        QVERIFY(!SaleEvent::fromJson(badAmount));

        Account a{account, Platform::Square, "Shop (sandbox)", {{"sandbox", "1"}}, true};
        QCOMPARE(Account::fromJson(a.toJson()), a);
        QVERIFY(a.isSandbox());
        // A test account by its flag or by its label; nothing less.
        Account b;
        b.label = "Shop (sandbox)";
        QVERIFY(b.isSandbox());
        b.label = "Shop (sandboxed)";
        QVERIFY(!b.isSandbox());
        b.extra.insert("sandbox", "true");
        QVERIFY(!b.isSandbox());
        QJsonObject missing = a.toJson();
        missing.remove("paused");
        QVERIFY(!Account::fromJson(missing));
        QJsonObject badExtra = a.toJson();
        badExtra.insert("extra", QJsonObject{{"shop", 5}});
        QVERIFY(!Account::fromJson(badExtra));
    }

    void revenueSum()
    {
        const auto event = [](std::optional<Money> m) {
            return SaleEvent{"x",
                             QUuid::createUuid(),
                             Platform::Stripe,
                             SaleEvent::Kind::Sale,
                             "t",
                             m,
                             QDateTime::currentDateTimeUtc()};
        };
        QVERIFY(!Revenue::sum({event(std::nullopt)}));
        const auto mixed =
            Revenue::sum({event(Money{100, "EUR"}), event(Money{200, "USD"}),
                          event(Money{300, "USD"}), event(std::nullopt), event(Money{-50, "USD"})});
        QCOMPARE(*mixed, (Money{450, "USD"}));
        // On a tie the currency met first wins, whatever the order of counting.
        QCOMPARE(Revenue::sum({event(Money{1, "EUR"}), event(Money{2, "USD"}),
                               event(Money{3, "USD"}), event(Money{4, "EUR"})})
                     ->currency,
                 "EUR");
        const qint64 max = std::numeric_limits<qint64>::max();
        QCOMPARE(Revenue::sum({event(Money{max, "USD"}), event(Money{max, "USD"})})->minor, max);
    }
};

QTEST_GUILESS_MAIN(TestSalesTypes)
#include "tst_salestypes.moc"
