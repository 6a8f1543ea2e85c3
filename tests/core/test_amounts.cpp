#include "core/exceptions.h"
#include "core/numbers.h"

#include <QLocale>
#include <QTest>
#include <limits>

class TestAmounts : public QObject {
    Q_OBJECT
private slots:
    void figureRoundsOnTheDecimalForm_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<qint64>("kopecks");
        QTest::addColumn<QString>("figure");
        QTest::newRow("zero") << 0.0 << qint64(0) << "0.00";
        QTest::newRow("half a unit") << 10.5 << qint64(1050) << "10.50";
        QTest::newRow("five kopecks") << 0.05 << qint64(5) << "0.05";
        QTest::newRow("2.995 rounds up") << 2.995 << qint64(300) << "3.00";
        QTest::newRow("2.996 rounds up") << 2.996 << qint64(300) << "3.00";
        QTest::newRow("0.995 rounds up") << 0.995 << qint64(100) << "1.00";
        QTest::newRow("1.005 rounds up") << 1.005 << qint64(101) << "1.01";
        QTest::newRow("1.015 rounds up") << 1.015 << qint64(102) << "1.02";
        QTest::newRow("8.675 rounds up") << 8.675 << qint64(868) << "8.68";
        QTest::newRow("2.994999 rounds down") << 2.994999 << qint64(299) << "2.99";
        QTest::newRow("half a kopeck") << 0.005 << qint64(1) << "0.01";
        QTest::newRow("below half a kopeck") << 0.0049 << qint64(0) << "0.00";
        QTest::newRow("tiny") << 1e-20 << qint64(0) << "0.00";
        QTest::newRow("negative, away from zero") << -2.995 << qint64(-300) << "-3.00";
        QTest::newRow("negative, half a kopeck") << -0.005 << qint64(-1) << "-0.01";
        QTest::newRow("negative to zero") << -0.004 << qint64(0) << "0.00";
        QTest::newRow("negative zero") << -0.0 << qint64(0) << "0.00";
        QTest::newRow("largest document sum") << 99999999.99 << qint64(9999999999) << "99999999.99";
        QTest::newRow("15 digits, the 16th dropped")
            << 123456789012.345 << qint64(12345678901235) << "123456789012.35";
        QTest::newRow("no decimals left")
            << 100000000000000.25 << qint64(10000000000000000) << "100000000000000.00";
    }
    void figureRoundsOnTheDecimalForm() {
        QFETCH(double, amount);
        QFETCH(qint64, kopecks);
        QFETCH(QString, figure);
        QCOMPARE(roundToKopecks(amount), kopecks);
        QCOMPARE(formatAmount(amount), figure);
    }

    void figureTakesTheLocaleSeparator() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        const QString figure = formatAmount(1234.5);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(figure, QStringLiteral("1234,50"));
    }

    void amountOutOfReachIsRefused_data() {
        QTest::addColumn<double>("amount");
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
        QTest::newRow("minus infinite") << -std::numeric_limits<double>::infinity();
        QTest::newRow("10^15") << 1e15;
        QTest::newRow("-10^15") << -1e15;
    }
    void amountOutOfReachIsRefused() {
        QFETCH(double, amount);
        QVERIFY_THROWS_EXCEPTION(ConvertError, roundToKopecks(amount));
        QVERIFY_THROWS_EXCEPTION(ConvertError, formatAmount(amount));
    }
};

QTEST_MAIN(TestAmounts)
#include "test_amounts.moc"
