#include "moments/MomentBuilder.h"
#include "moments/Summary.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

Q_DECLARE_METATYPE(QList<SaleEvent>)

namespace {

const QDateTime noon(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC);

// `amount` like "12.00 USD", or empty for none; `minute` orders the events.
SaleEvent saleEvent(Platform platform, SaleEvent::Kind kind, const QString &title, const QString &amount, int minute)
{
    SaleEvent e;
    e.id = title + QString::number(minute);
    e.platform = platform;
    e.kind = kind;
    e.title = title;
    if (!amount.isEmpty())
        e.amount = Money::fromDecimal(amount.section(u' ', 0, 0), amount.section(u' ', 1, 1));
    e.at = noon.addSecs(60 * minute);
    return e;
}

SaleEvent sale(Platform p, const QString &title, const QString &amount, int minute)
{
    return saleEvent(p, SaleEvent::Kind::Sale, title, amount, minute);
}

FramerRow row(const QString &id, const QString &period, qint64 remixes, qint64 views, qint64 conversions = 0)
{
    return FramerRow{id, QStringLiteral("Template ") + id, period, remixes, views, conversions};
}

}

class TestMoments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void momentTexts_data()
    {
        using K = SaleEvent::Kind;
        QTest::addColumn<QList<SaleEvent>>("events");
        QTest::addColumn<QString>("platform"); // empty: no moment
        QTest::addColumn<QString>("kicker");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("amount");

        QTest::newRow("one sale") << QList{sale(Platform::Stripe, "Icon pack", "12.00 USD", 0)}
                                  << "stripe" << "New sale on Stripe" << "Icon pack" << "+$12";
        // Given newest first, as the store lists them: the title is still the newest.
        QTest::newRow("two platforms, mixed currencies")
            << QList{sale(Platform::Gumroad, "Font", "9.00 EUR", 3), sale(Platform::Stripe, "Icons", "5.00 USD", 2),
                     sale(Platform::Stripe, "Course", "20.00 USD", 1)}
            << "stripe" << "3 new sales on 2 platforms" << "Font + 2 more" << "+3";
        QTest::newRow("only a refund and a failed payment")
            << QList{saleEvent(Platform::Stripe, K::Refund, "A", "5.00 USD", 0), saleEvent(Platform::Stripe, K::Failed, "B", "5.00 USD", 1)}
            << "" << "" << "" << "";
        QTest::newRow("sale and renewal say sale")
            << QList{saleEvent(Platform::Paddle, K::Renewal, "Pro", "10.00 USD", 0), sale(Platform::Paddle, "Pro", "10.00 USD", 1)}
            << "paddle" << "2 new sales on Paddle" << "Pro + 1 more" << "+$20";
        QTest::newRow("two renewals")
            << QList{saleEvent(Platform::Paddle, K::Renewal, "Pro", "10.50 USD", 0), saleEvent(Platform::Paddle, K::Renewal, "Team", "10.50 USD", 1)}
            << "paddle" << "2 new renewals on Paddle" << "Team + 1 more" << "+$21";
        QTest::newRow("one renewal") << QList{saleEvent(Platform::Polar, K::Renewal, "Pro", "3.25 USD", 0)}
                                     << "polar" << "New renewal on Polar" << "Pro" << "+$3.25";
        QTest::newRow("a sale without an amount among priced ones")
            << QList{sale(Platform::Gumroad, "A", "5.00 USD", 0), sale(Platform::Gumroad, "B", "", 1), sale(Platform::Gumroad, "C", "5.00 USD", 2)}
            << "gumroad" << "3 new sales on Gumroad" << "C + 2 more" << "+3";
        QTest::newRow("single sale without amount") << QList{sale(Platform::Whop, "Seat", "", 0)}
                                                    << "whop" << "New sale on Whop" << "Seat" << "+1";
        QTest::newRow("refund neither counts nor sums")
            << QList{sale(Platform::Stripe, "A", "5.00 USD", 0), saleEvent(Platform::Stripe, K::Refund, "R", "99.00 EUR", 1)}
            << "stripe" << "New sale on Stripe" << "A" << "+$5";
        QTest::newRow("logo follows the busiest platform")
            << QList{sale(Platform::Stripe, "A", "", 0), sale(Platform::Gumroad, "B", "", 1), sale(Platform::Gumroad, "C", "", 2)}
            << "gumroad" << "3 new sales on 2 platforms" << "C + 2 more" << "+3";
        QTest::newRow("many sales, plain numbers")
            << QList<SaleEvent>(1200, sale(Platform::Shopify, "Mug", "", 0))
            << "shopify" << "1200 new sales on Shopify" << "Mug + 1199 more" << "+1200";
        QTest::newRow("nothing") << QList<SaleEvent>() << "" << "" << "" << "";
    }

    void momentTexts()
    {
        QFETCH(QList<SaleEvent>, events);
        QFETCH(QString, platform);
        const std::optional<Moment> moment = MomentBuilder::momentFor(events);
        if (platform.isEmpty()) {
            QVERIFY(!moment);
            return;
        }
        QVERIFY(moment);
        QCOMPARE(Platforms::rawValue(moment->platform), platform);
        QTEST(moment->kicker, "kicker");
        QTEST(moment->title, "title");
        QTEST(moment->amount, "amount");
    }

    void totals()
    {
        QVERIFY(!MomentBuilder::total({}));
        QVERIFY(!MomentBuilder::total({sale(Platform::Stripe, "A", "1.00 USD", 0), sale(Platform::Stripe, "B", "1.00 usd", 1),
                                       sale(Platform::Stripe, "C", "1.00 EUR", 2)}));
        QVERIFY(!MomentBuilder::total({sale(Platform::Stripe, "A", "", 0), sale(Platform::Stripe, "B", "1.00 USD", 1)}));
        QCOMPARE(MomentBuilder::total({sale(Platform::Square, "A", "1500 JPY", 0)}), QStringLiteral("+¥1,500"));

        // Sums beyond 64 bits stay at the limit instead of wrapping negative.
        SaleEvent huge = sale(Platform::Stripe, "Huge", "1.00 USD", 0);
        huge.amount->minor = std::numeric_limits<qint64>::max() - 5;
        const QString sum = *MomentBuilder::total({huge, huge});
        QCOMPARE(sum, (Money{std::numeric_limits<qint64>::max(), "USD"}.formatted(true)));
        QVERIFY(sum.startsWith(u'+'));
    }

    void summaryOfTwoDays()
    {
        // Reader order: by template, then day. Ties keep this order.
        const QList<FramerRow> rows{
            row("a", "2026-12-04", 7, 70),  row("a", "2026-12-05", 2, 10),
            row("b", "2026-12-04", 1, 9),   row("b", "2026-12-05", 5, 3),
            row("c", "2026-12-05", 0, 0),   row("d", "2026-12-05", 2, 10),
            row("e", "2026-12-05", 0, 40),  row("f", "2026-12-05", 2, 12),
        };
        const TodaySummary s = summary(rows, noon);
        QCOMPARE(s.remixes, 11);
        QCOMPARE(s.views, 75);
        QCOMPARE(s.yesterdayRemixes, 8);
        QCOMPARE(s.updated, noon);
        const QList<TodaySummary::Template> top{
            {"Template b", 5, 3}, {"Template f", 2, 12}, {"Template a", 2, 10}, {"Template d", 2, 10}};
        QCOMPARE(s.top, top); // c has nothing, e is fifth
        QCOMPARE(s.highlight(), "Template b is your top template");
    }

    void summaryEdges()
    {
        const TodaySummary oneDay = summary({row("a", "2026-12-05", 3, 4)}, noon);
        QCOMPARE(oneDay.remixes, 3);
        QVERIFY(!oneDay.yesterdayRemixes);

        // Three days: the latest counts, the one before it is yesterday.
        const TodaySummary three = summary({row("a", "2026-12-05", 1, 0), row("a", "2026-12-03", 50, 0),
                                            row("a", "2026-12-04", 4, 0)}, noon);
        QCOMPARE(three.remixes, 1);
        QCOMPARE(three.yesterdayRemixes, 4);

        const TodaySummary empty = summary({}, noon);
        QCOMPARE(empty.remixes, 0);
        QVERIFY(empty.top.isEmpty());
        QVERIFY(!empty.yesterdayRemixes);

        const qint64 max = std::numeric_limits<qint64>::max();
        const TodaySummary huge = summary({row("a", "d", max, max), row("b", "d", max, 1)}, noon);
        QCOMPARE(huge.remixes, max);
        QCOMPARE(huge.views, max);
    }

    void highlight()
    {
        TodaySummary s;
        QCOMPARE(s.highlight(), "Quiet so far");
        s.top = {{"Larch Folio", 0, 12}, {"Quill", 0, 3}};
        QCOMPARE(s.highlight(), "No remixes yet · Larch Folio has the most views");
        s.top = {{"Quill", 1, 0}};
        QCOMPARE(s.highlight(), "Quill is your top template");
        s.top = {{"Empty", 0, 0}}; // cannot come from the summary, but stays quiet
        QCOMPARE(s.highlight(), "Quiet so far");
        QCOMPARE(summary({row("a", "2026-12-05", 0, 8)}, noon).highlight(),
                 "No remixes yet · Template a has the most views");
    }

    void compactJson()
    {
        const Moment m{Platform::LemonSqueezy, "New sale on Lemon Squeezy", "The \"Big\" pack\n", "+€5"};
        const QByteArray line = m.toCompactJson();
        QVERIFY(!line.contains('\n'));
        QVERIFY(line.startsWith("{\"platform\":\"lemonsqueezy\",\"kicker\":"));
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        QCOMPARE(o.size(), 4);
        QCOMPARE(o.value("kicker").toString(), m.kicker);
        QCOMPARE(o.value("title").toString(), m.title);
        QCOMPARE(o.value("amount").toString(), m.amount);
    }
};

QTEST_GUILESS_MAIN(TestMoments)
#include "tst_moments.moc"
