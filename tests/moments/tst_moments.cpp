#include "moments/MomentBuilder.h"
#include "moments/Summary.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<SaleEvent>)

namespace {

using K = SaleEvent::Kind;
const QDateTime noon(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC);
constexpr qint64 max = std::numeric_limits<qint64>::max();

// `amount` like "12.00 USD", or empty for none; `minute` orders the events.
SaleEvent ev(Platform platform, const QString &title, const QString &amount, int minute,
             K kind = K::Sale)
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

FramerRow row(const QString &id, const QString &period, qint64 remixes, qint64 views)
{
    return FramerRow{id, QStringLiteral("Template ") + id, period, remixes, views, 0};
}

}

class TestMoments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void momentTexts_data()
    {
        const Platform S = Platform::Stripe, G = Platform::Gumroad, P = Platform::Paddle;
        QTest::addColumn<QList<SaleEvent>>("events");
        QTest::addColumn<QString>("moment"); // platform|kicker|title|amount, empty for none
        // Newest first, as the store lists them: the title is still the newest.
        QTest::newRow("mixed currencies")
            << QList{ev(G, "Font", "9.00 EUR", 3), ev(S, "Icons", "5.00 USD", 2),
                     ev(S, "Course", "20.00 USD", 1)}
            << "stripe|3 new sales on 2 platforms|Font + 2 more|+3";
        QTest::newRow("refund and failed only")
            << QList{ev(S, "A", "5.00 USD", 0, K::Refund), ev(S, "B", "5.00 USD", 1, K::Failed)}
            << "";
        QTest::newRow("sale and renewal say sale")
            << QList{ev(P, "Pro", "10.00 USD", 0, K::Renewal), ev(P, "Pro", "10.00 USD", 1)}
            << "paddle|2 new sales on Paddle|Pro + 1 more|+$20";
        QTest::newRow("two renewals") << QList{ev(P, "Pro", "10.50 USD", 0, K::Renewal),
                                               ev(P, "Team", "10.50 USD", 1, K::Renewal)}
                                      << "paddle|2 new renewals on Paddle|Team + 1 more|+$21";
        QTest::newRow("one renewal") << QList{ev(Platform::Polar, "Pro", "3.25 USD", 0, K::Renewal)}
                                     << "polar|New renewal on Polar|Pro|+$3.25";
        QTest::newRow("one unpriced among priced")
            << QList{ev(G, "A", "5.00 USD", 0), ev(G, "B", "", 1), ev(G, "C", "5.00 USD", 2)}
            << "gumroad|3 new sales on Gumroad|C + 2 more|+3";
        QTest::newRow("refund neither counts nor sums")
            << QList{ev(S, "A", "5.00 USD", 0), ev(S, "R", "99.00 EUR", 1, K::Refund)}
            << "stripe|New sale on Stripe|A|+$5";
        QTest::newRow("logo of the busiest")
            << QList{ev(S, "A", "", 0), ev(G, "B", "", 1), ev(G, "C", "", 2)}
            << "gumroad|3 new sales on 2 platforms|C + 2 more|+3";
        QTest::newRow("plain numbers")
            << QList<SaleEvent>(1200, ev(Platform::Shopify, "Mug", "", 0))
            << "shopify|1200 new sales on Shopify|Mug + 1199 more|+1200";
    }

    void momentTexts()
    {
        QFETCH(QList<SaleEvent>, events);
        const std::optional<Moment> m = MomentBuilder::momentFor(events);
        const QString shown = m
            ? QStringList{Platforms::rawValue(m->platform), m->kicker, m->title, m->amount}.join(
                u'|')
            : QString();
        QTEST(shown, "moment");
    }

    void totals()
    {
        QVERIFY(!MomentBuilder::total({}));
        QVERIFY(!MomentBuilder::total({ev(Platform::Stripe, "A", "1.00 USD", 0),
                                       ev(Platform::Stripe, "B", "1.00 usd", 1),
                                       ev(Platform::Stripe, "C", "1.00 EUR", 2)}));
        QVERIFY(!MomentBuilder::total(
            {ev(Platform::Stripe, "A", "", 0), ev(Platform::Stripe, "B", "1.00 USD", 1)}));
        QCOMPARE(MomentBuilder::total({ev(Platform::Square, "A", "1500 JPY", 0)}),
                 QStringLiteral("+¥1,500"));
        // Sums beyond 64 bits stay at the limit instead of wrapping negative.
        SaleEvent huge = ev(Platform::Stripe, "Huge", "1.00 USD", 0);
        huge.amount->minor = max - 5;
        QCOMPARE(MomentBuilder::total({huge, huge}), (Money{max, "USD"}.formatted(true)));
    }

    void summaries()
    {
        // Reader order: by template, then day. Ties keep this order; c has nothing, e is fifth.
        const TodaySummary s =
            summary({row("a", "2026-12-04", 7, 70), row("a", "2026-12-05", 2, 10),
                     row("b", "2026-12-04", 1, 9), row("b", "2026-12-05", 5, 3),
                     row("c", "2026-12-05", 0, 0), row("d", "2026-12-05", 2, 10),
                     row("e", "2026-12-05", 0, 40), row("f", "2026-12-05", 2, 12)},
                    noon);
        QCOMPARE(s,
                 (TodaySummary{11,
                               75,
                               8,
                               {{"Template b", 5, 3},
                                {"Template f", 2, 12},
                                {"Template a", 2, 10},
                                {"Template d", 2, 10}},
                               noon}));

        QVERIFY(!summary({row("a", "2026-12-05", 3, 4)}, noon).yesterdayRemixes);
        QCOMPARE(summary({}, noon), (TodaySummary{0, 0, std::nullopt, {}, noon}));
        // Three days: the latest counts, the one before it is yesterday.
        const TodaySummary three =
            summary({row("a", "2026-12-05", 1, 0), row("a", "2026-12-03", 50, 0),
                     row("a", "2026-12-04", 4, 0)},
                    noon);
        QCOMPARE(three.remixes, 1);
        QCOMPARE(three.yesterdayRemixes, 4);
        const TodaySummary huge = summary({row("a", "d", max, max), row("b", "d", max, 1)}, noon);
        QCOMPARE(huge.remixes, max);
        QCOMPARE(huge.views, max);
    }

    void highlight()
    {
        using T = TodaySummary::Template;
        const auto of = [](QList<T> top) {
            return TodaySummary{0, 0, std::nullopt, top, {}}.highlight();
        };
        QCOMPARE(of({}), "Quiet so far");
        QCOMPARE(of({{"Larch Folio", 0, 12}, {"Quill", 0, 3}}),
                 "No remixes yet · Larch Folio has the most views");
        QCOMPARE(of({{"Quill", 1, 0}}), "Quill is your top template");
        QCOMPARE(of({{"Empty", 0, 0}}),
                 "Quiet so far"); // cannot come from the summary, but stays quiet
        QCOMPARE(summary({row("a", "2026-12-05", 0, 8)}, noon).highlight(),
                 "No remixes yet · Template a has the most views");
    }

    // The fields in this order, on one line whatever the texts hold (a line
    // break in a title is escaped).
    void compactJson()
    {
        const Moment m{Platform::LemonSqueezy, "New sale on Lemon Squeezy", "The \"Big\" pack\n",
                       "+€5"};
        QCOMPARE(m.toCompactJson(),
                 "{\"platform\":\"lemonsqueezy\",\"kicker\":\"New sale on Lemon Squeezy\","
                 "\"title\":\"The \\\"Big\\\" pack\\u000a\",\"amount\":\"+€5\"}");
    }
};

QTEST_GUILESS_MAIN(TestMoments)
#include "tst_moments.moc"
