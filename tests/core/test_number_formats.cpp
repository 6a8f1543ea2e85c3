#include "core/numbers.h"

#include <QLocale>
#include <QTest>

// Amounts written as the library's currency-to-text and float formatting write them, under a
// locale whose decimal separator is a comma.
class TestNumberFormats : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void formatsAmounts_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");
        const QString de = QStringLiteral("de_DE");
        // An empty mask is the currency-to-text: as many decimals as needed, no grouping.
        QTest::newRow("12.5 plain") << de << "" << qint64(125000) << "12,5";
        QTest::newRow("a million plain") << de << "" << qint64(10000000000) << "1000000";
        QTest::newRow("negative plain") << de << "" << qint64(-32500) << "-3,25";
        QTest::newRow("four decimals plain") << de << "" << qint64(1) << "0,0001";
        QTest::newRow("zero plain") << de << "" << qint64(0) << "0";
        QTest::newRow("12.5 #0.00") << de << "#0.00" << qint64(125000) << "12,50";
        QTest::newRow("a million #0.00") << de << "#0.00" << qint64(10000000000) << "1000000,00";
        QTest::newRow("a million #,##0.00")
            << de << "#,##0.00" << qint64(10000000000) << "1.000.000,00";
        QTest::newRow("grouped below a thousand")
            << de << "#,##0.00" << qint64(9995000) << "999,50";
        QTest::newRow("grouped negative") << de << "#,##0.00" << qint64(-12345000) << "-1.234,50";
        QTest::newRow("grouped, russian")
            << "ru_RU"
            << "#,##0.00" << qint64(12345678900) << QString::fromUtf8("1\u00a0234\u00a0567,89");
        QTest::newRow("negative below one") << de << "#0.00" << qint64(-5000) << "-0,50";
        QTest::newRow("half up") << de << "#0.00" << qint64(50) << "0,01";
        QTest::newRow("half away from zero") << de << "#0.00" << qint64(-50) << "-0,01";
        QTest::newRow("below half") << de << "#0.00" << qint64(49) << "0,00";
        QTest::newRow("negative rounding to zero") << de << "#0.00" << qint64(-10) << "0,00";
        QTest::newRow("whole half") << de << "#0" << qint64(25000) << "3";
        QTest::newRow("whole half negative") << de << "#0" << qint64(-25000) << "-3";
        QTest::newRow("optional decimals kept") << de << "0.0#" << qint64(12340) << "1,23";
        QTest::newRow("optional decimals dropped") << de << "0.0#" << qint64(15000) << "1,5";
        QTest::newRow("no point without decimals") << de << "0.##" << qint64(10000) << "1";
        QTest::newRow("leading zeros") << de << "000" << qint64(50000) << "005";
        QTest::newRow("no whole digit") << de << "#.##" << qint64(5000) << ",5";
        QTest::newRow("quoted text") << de << "#0.00 'грн.'" << qint64(50000) << "5,00 грн.";
        QTest::newRow("negative section") << de << "0.00;(0.00);нуль" << qint64(-32500) << "(3,25)";
        QTest::newRow("zero section") << de << "0.00;(0.00);нуль" << qint64(0) << "нуль";
        QTest::newRow("rounded to the zero section")
            << de << "0.00;(0.00);нуль" << qint64(-10) << "нуль";
        QTest::newRow("empty negative section") << de << "0.00;;нуль" << qint64(-32500) << "-3,25";
        QTest::newRow("semicolon quoted") << de << "0'; '0" << qint64(120000) << "1; 2";
    }
    void formatsAmounts() {
        QFETCH(QString, locale);
        QFETCH(QString, mask);
        QFETCH(qint64, units);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        const QString written =
            mask.isEmpty() ? currencyText(Currency{units}) : formatFloat(mask, Currency{units});
        QCOMPARE(written, text);
        QCOMPARE(formatFloat(QString(), Currency{units}), currencyText(Currency{units}));
    }
};

QTEST_GUILESS_MAIN(TestNumberFormats)
#include "test_number_formats.moc"
