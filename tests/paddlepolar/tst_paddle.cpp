#include "connectors/paddlepolar/PaddleEvents.h"
#include "connectors/paddlepolar/PaddleSource.h"

#include <QTest>

// Hosts, what it reads from a recorded answer, labels, requests, where paging
// stops, damaged answers and renewals that fail before they are paid:
// tests/sources.
class TestPaddle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The vendor dashboard follows the account's sandbox flag when it is exactly "1" (the label:
    // tests/ui).
    void dashboard()
    {
        QCOMPARE(PaddleSource::dashboard({}, "Paddle"),
                 QUrl("https://vendors.paddle.com/transactions-v2"));
        QCOMPARE(PaddleSource::dashboard({{"sandbox", "1"}}, "Paddle").host(),
                 "sandbox-vendors.paddle.com");
        QCOMPARE(PaddleSource::dashboard({{"sandbox", "true"}}, "Paddle").host(),
                 "vendors.paddle.com");
    }

    void minorUnitsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("minor"); // -1 for no value; plain and signed: the mapping
        QTest::newRow("minus") << "-300" << qint64(-300);
        QTest::newRow("zero") << "0" << qint64(0);
        QTest::newRow("largest") << "9223372036854775807" << qint64(9223372036854775807LL);
        QTest::newRow("too large") << "9223372036854775808" << qint64(-1);
        for (const char *bad : {"", "-", "+-5", " 25", "25.00", "2e3"})
            QTest::newRow(bad) << bad << qint64(-1);
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٥") << qint64(-1);
    }

    void minorUnitsText()
    {
        QFETCH(QString, text);
        QFETCH(qint64, minor);
        QCOMPARE(PaddleEvents::minorUnits(text).value_or(-1), minor);
    }
};

QTEST_GUILESS_MAIN(TestPaddle)
#include "tst_paddle.moc"
