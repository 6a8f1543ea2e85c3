#include "core/amount_in_words.h"
#include "core/exceptions.h"
#include "core/numbers.h"

#include <QLocale>
#include <QTest>
#include <limits>

namespace {

const QString kHryvnia = QStringLiteral("грн.");

QString u(const char* text) {
    return QString::fromUtf8(text);
}

QString joined(const AmountWordParts& parts) {
    QString text = parts.millions + parts.thousands + parts.units + parts.kopecks;
    text[0] = text[0].toUpper();
    return text;
}

} // namespace

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
        QVERIFY_THROWS_EXCEPTION(ConvertError, amountInWordsRussian(amount, kHryvnia));
        QVERIFY_THROWS_EXCEPTION(ConvertError, amountInWordsUkrainian(amount, kHryvnia));
        QVERIFY_THROWS_EXCEPTION(ConvertError, amountInWordPartsRussian(amount, kHryvnia));
        QVERIFY_THROWS_EXCEPTION(ConvertError, amountInWordPartsUkrainian(amount, kHryvnia));
    }

    void amountInWords_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("ukrainian");
        auto row = [](const char* name, double amount, const char* russian, const char* ukrainian) {
            QTest::newRow(name) << amount << u(russian) << u(ukrainian);
        };
        // Small amounts and the groups one by one.
        row("0", 0, "Ноль грн. 00 коп.", "Нуль грн. 00 коп.");
        row("0.05", 0.05, "Ноль грн. 05 коп.", "Нуль грн. 05 коп.");
        row("0.5", 0.5, "Ноль грн. 50 коп.", "Нуль грн. 50 коп.");
        row("1", 1, "Один грн. 00 коп.", "Одна грн. 00 коп.");
        row("10", 10, "Десять грн. 00 коп.", "Десять грн. 00 коп.");
        row("11", 11, "Одиннадцать грн. 00 коп.", "Одинадцять грн. 00 коп.");
        row("19", 19, "Девятнадцать грн. 00 коп.", "Дев'ятнадцять грн. 00 коп.");
        row("20", 20, "Двадцать грн. 00 коп.", "Двадцять грн. 00 коп.");
        row("21", 21, "Двадцать один грн. 00 коп.", "Двадцять одна грн. 00 коп.");
        row("1 000", 1000, "Одна тысяча грн. 00 коп.", "Одна тисяча грн. 00 коп.");
        row("2 000", 2000, "Две тысячи грн. 00 коп.", "Дві тисячі грн. 00 коп.");
        row("10 000", 10000, "Десять тысяч грн. 00 коп.", "Десять тисяч грн. 00 коп.");
        row("100 000", 100000, "Сто тысяч грн. 00 коп.", "Сто тисяч грн. 00 коп.");
        row("1 000 000", 1000000, "Один миллион грн. 00 коп.", "Один мільйон грн. 00 коп.");
        row("1 001 000", 1001000, "Один миллион одна тысяча грн. 00 коп.",
            "Один мільйон одна тисяча грн. 00 коп.");
        row("20 000 000", 20000000, "Двадцать миллионов грн. 00 коп.",
            "Двадцять мільйонів грн. 00 коп.");
        row("2 000 002", 2000002, "Два миллиона два грн. 00 коп.", "Два мільйони дві грн. 00 коп.");
        row("18 011 000", 18011000, "Восемнадцать миллионов одиннадцать тысяч грн. 00 коп.",
            "Вісімнадцять мільйонів одинадцять тисяч грн. 00 коп.");

        // Rounded to kopecks before the split, as the figure is.
        row("2.995", 2.995, "Три грн. 00 коп.", "Три грн. 00 коп.");
        row("2.996", 2.996, "Три грн. 00 коп.", "Три грн. 00 коп.");
        row("0.995", 0.995, "Один грн. 00 коп.", "Одна грн. 00 коп.");
        row("999.999", 999.999, "Одна тысяча грн. 00 коп.", "Одна тисяча грн. 00 коп.");
        row("99 999 999.99", 99999999.99,
            "Девяносто девять миллионов девятьсот девяносто девять тысяч девятьсот девяносто "
            "девять грн. 99 коп.",
            "Дев'яносто дев'ять мільйонів дев'ятсот дев'яносто дев'ять тисяч дев'ятсот "
            "дев'яносто дев'ять грн. 99 коп.");

        // Every digit in every place: tens of millions, millions, hundreds, tens and units of
        // the thousands and the units group.
        row("12 345 678.90", 12345678.90,
            "Двенадцать миллионов триста сорок пять тысяч шестьсот семьдесят восемь грн. 90 коп.",
            "Дванадцять мільйонів триста сорок п'ять тисяч шістсот сімдесят вісім грн. 90 коп.");
        row("23 456 789.01", 23456789.01,
            "Двадцать три миллиона четыреста пятьдесят шесть тысяч семьсот восемьдесят девять "
            "грн. 01 коп.",
            "Двадцять три мільйони чотириста п'ятдесят шість тисяч сімсот вісімдесят дев'ять "
            "грн. 01 коп.");
        row("34 567 891.12", 34567891.12,
            "Тридцать четыре миллиона пятьсот шестьдесят семь тысяч восемьсот девяносто один "
            "грн. 12 коп.",
            "Тридцять чотири мільйони п'ятсот шістдесят сім тисяч вісімсот дев'яносто одна "
            "грн. 12 коп.");
        row("45 678 912.34", 45678912.34,
            "Сорок пять миллионов шестьсот семьдесят восемь тысяч девятьсот двенадцать грн. 34 "
            "коп.",
            "Сорок п'ять мільйонів шістсот сімдесят вісім тисяч дев'ятсот дванадцять грн. 34 "
            "коп.");
        row("56 789 123.45", 56789123.45,
            "Пятьдесят шесть миллионов семьсот восемьдесят девять тысяч сто двадцать три грн. 45 "
            "коп.",
            "П'ятдесят шість мільйонів сімсот вісімдесят дев'ять тисяч сто двадцять три грн. 45 "
            "коп.");
        row("67 891 234.56", 67891234.56,
            "Шестьдесят семь миллионов восемьсот девяносто одна тысяча двести тридцать четыре "
            "грн. 56 коп.",
            "Шістдесят сім мільйонів вісімсот дев'яносто одна тисяча двісті тридцять чотири "
            "грн. 56 коп.");
        row("78 912 345.67", 78912345.67,
            "Семьдесят восемь миллионов девятьсот двенадцать тысяч триста сорок пять грн. 67 "
            "коп.",
            "Сімдесят вісім мільйонів дев'ятсот дванадцять тисяч триста сорок п'ять грн. 67 "
            "коп.");
        row("89 123 456.78", 89123456.78,
            "Восемьдесят девять миллионов сто двадцать три тысячи четыреста пятьдесят шесть "
            "грн. 78 коп.",
            "Вісімдесят дев'ять мільйонів сто двадцять три тисячі чотириста п'ятдесят шість "
            "грн. 78 коп.");
        row("91 234 567.89", 91234567.89,
            "Девяносто один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь грн. 89 "
            "коп.",
            "Дев'яносто один мільйон двісті тридцять чотири тисячі п'ятсот шістдесят сім грн. 89 "
            "коп.");

        // Every number from 10 to 19 in the millions, the thousands and the units.
        row("10 011 013", 10011013, "Десять миллионов одиннадцать тысяч тринадцать грн. 00 коп.",
            "Десять мільйонів одинадцять тисяч тринадцять грн. 00 коп.");
        row("11 015 014", 11015014,
            "Одиннадцать миллионов пятнадцать тысяч четырнадцать грн. 00 коп.",
            "Одинадцять мільйонів п'ятнадцять тисяч чотирнадцять грн. 00 коп.");
        row("13 014 015", 13014015,
            "Тринадцать миллионов четырнадцать тысяч пятнадцать грн. 00 коп.",
            "Тринадцять мільйонів чотирнадцять тисяч п'ятнадцять грн. 00 коп.");
        row("14 016 016", 14016016,
            "Четырнадцать миллионов шестнадцать тысяч шестнадцать грн. 00 коп.",
            "Чотирнадцять мільйонів шістнадцять тисяч шістнадцять грн. 00 коп.");
        row("15 018 017", 15018017,
            "Пятнадцать миллионов восемнадцать тысяч семнадцать грн. 00 коп.",
            "П'ятнадцять мільйонів вісімнадцять тисяч сімнадцять грн. 00 коп.");
        row("16 017 018", 16017018,
            "Шестнадцать миллионов семнадцать тысяч восемнадцать грн. 00 коп.",
            "Шістнадцять мільйонів сімнадцять тисяч вісімнадцять грн. 00 коп.");
        row("17 019 010", 17019010, "Семнадцать миллионов девятнадцать тысяч десять грн. 00 коп.",
            "Сімнадцять мільйонів дев'ятнадцять тисяч десять грн. 00 коп.");
        row("19 010 011", 19010011, "Девятнадцать миллионов десять тысяч одиннадцать грн. 00 коп.",
            "Дев'ятнадцять мільйонів десять тисяч одинадцять грн. 00 коп.");
        row("12 012 012", 12012012, "Двенадцать миллионов двенадцать тысяч двенадцать грн. 00 коп.",
            "Дванадцять мільйонів дванадцять тисяч дванадцять грн. 00 коп.");

        // Past the range of a document.
        row("100 000 000", 100000000, "Сто миллионов грн. 00 коп.", "Сто мільйонів грн. 00 коп.");
        row("999 999 999.99", 999999999.99,
            "Девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч девятьсот "
            "девяносто девять грн. 99 коп.",
            "Дев'ятсот дев'яносто дев'ять мільйонів дев'ятсот дев'яносто дев'ять тисяч "
            "дев'ятсот дев'яносто дев'ять грн. 99 коп.");
        row("1 000 000 000", 1e9, "Один миллиард грн. 00 коп.", "Один мільярд грн. 00 коп.");
        row("3 000 000 001", 3000000001.0, "Три миллиарда один грн. 00 коп.",
            "Три мільярди одна грн. 00 коп.");
        row("215 000 000 000", 215e9, "Двести пятнадцать миллиардов грн. 00 коп.",
            "Двісті п'ятнадцять мільярдів грн. 00 коп.");
        row("999 999 999 999.99", 999999999999.99,
            "Девятьсот девяносто девять миллиардов девятьсот девяносто девять миллионов "
            "девятьсот девяносто девять тысяч девятьсот девяносто девять грн. 99 коп.",
            "Дев'ятсот дев'яносто дев'ять мільярдів дев'ятсот дев'яносто дев'ять мільйонів "
            "дев'ятсот дев'яносто дев'ять тисяч дев'ятсот дев'яносто дев'ять грн. 99 коп.");
        row("10^12", 1e12, "1000000000000 грн. 00 коп.", "1000000000000 грн. 00 коп.");
        row("-5.5", -5.5, "Минус пять грн. 50 коп.", "Мінус п'ять грн. 50 коп.");
        row("-2 001.995", -2001.995, "Минус две тысячи два грн. 00 коп.",
            "Мінус дві тисячі дві грн. 00 коп.");
        row("-0.01", -0.01, "Минус ноль грн. 01 коп.", "Мінус нуль грн. 01 коп.");
        row("-0.004", -0.004, "Ноль грн. 00 коп.", "Нуль грн. 00 коп.");
        row("-10^12", -1e12, "Минус 1000000000000 грн. 00 коп.",
            "Мінус 1000000000000 грн. 00 коп.");
    }
    void amountInWords() {
        QFETCH(double, amount);
        QFETCH(QString, russian);
        QFETCH(QString, ukrainian);
        QCOMPARE(amountInWordsRussian(amount, kHryvnia), russian);
        QCOMPARE(amountInWordsUkrainian(amount, kHryvnia), ukrainian);
        // The four parts make the whole text.
        QCOMPARE(joined(amountInWordPartsRussian(amount, kHryvnia)), russian);
        QCOMPARE(joined(amountInWordPartsUkrainian(amount, kHryvnia)), ukrainian);
    }

    // Where the words of each group go, and the currency name behind the last group that has
    // words.
    void amountInWordParts_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<bool>("russian");
        QTest::addColumn<QStringList>("parts"); // millions, thousands, units, kopecks
        auto row = [](const char* name, double amount, bool russian, const char* millions,
                      const char* thousands, const char* units, const char* kopecks) {
            QTest::newRow(name) << amount << russian
                                << QStringList{u(millions), u(thousands), u(units), u(kopecks)};
        };
        row("0 ru", 0, true, "", "", "ноль грн. ", "00 коп.");
        row("0.05 ua", 0.05, false, "", "", "нуль грн. ", "05 коп.");
        row("1 ua", 1, false, "", "", "одна грн. ", "00 коп.");
        row("21.5 ru", 21.5, true, "", "", "двадцать один грн. ", "50 коп.");
        row("1 000 ru", 1000, true, "", "одна тысяча грн. ", "", "00 коп.");
        row("2 002 ua", 2002, false, "", "дві тисячі ", "дві грн. ", "00 коп.");
        row("100 000 ru", 100000, true, "", "сто тысяч грн. ", "", "00 коп.");
        row("1 000 000 ru", 1000000, true, "один миллион грн. ", "", "", "00 коп.");
        row("1 001 000 ru", 1001000, true, "один миллион ", "одна тысяча грн. ", "", "00 коп.");
        row("20 000 005 ua", 20000005, false, "двадцять мільйонів ", "", "п'ять грн. ", "00 коп.");
        row("12 345 678.90 ru", 12345678.90, true, "двенадцать миллионов ",
            "триста сорок пять тысяч ", "шестьсот семьдесят восемь грн. ", "90 коп.");
        row("67 891 234.56 ua", 67891234.56, false, "шістдесят сім мільйонів ",
            "вісімсот дев'яносто одна тисяча ", "двісті тридцять чотири грн. ", "56 коп.");
        row("3 000 000 001 ua", 3000000001.0, false, "три мільярди ", "", "одна грн. ", "00 коп.");
        row("2 005 000 000 ru", 2005000000.0, true, "два миллиарда пять миллионов грн. ", "", "",
            "00 коп.");
        row("10^12 ru", 1e12, true, "", "", "1000000000000 грн. ", "00 коп.");
        row("-5.5 ru", -5.5, true, "минус ", "", "пять грн. ", "50 коп.");
        row("-3 000 000 ua", -3e6, false, "мінус три мільйони грн. ", "", "", "00 коп.");
        row("-0.01 ru", -0.01, true, "минус ", "", "ноль грн. ", "01 коп.");
    }
    void amountInWordParts() {
        QFETCH(double, amount);
        QFETCH(bool, russian);
        QFETCH(QStringList, parts);
        const AmountWordParts words = russian ? amountInWordPartsRussian(amount, kHryvnia)
                                              : amountInWordPartsUkrainian(amount, kHryvnia);
        QCOMPARE((QStringList{words.millions, words.thousands, words.units, words.kopecks}), parts);
    }

    void currencyNameIsTheCallers() {
        QCOMPARE(amountInWordsRussian(1234.56, QStringLiteral("руб.")),
                 u("Одна тысяча двести тридцать четыре руб. 56 коп."));
        QCOMPARE(amountInWordsUkrainian(7000, QStringLiteral("дол.")), u("Сім тисяч дол. 00 коп."));
        QCOMPARE(amountInWordsRussian(5, QString()), u("Пять  00 коп."));
    }

    // The words read the amount that the figure shows, whatever the fraction.
    void wordsAgreeWithTheFigure() {
        for (int thousandths = 0; thousandths <= 5000; ++thousandths) {
            const double amount = thousandths / 1000.0;
            const double shown = formatAmount(amount).toDouble();
            QCOMPARE(amountInWordsRussian(amount, kHryvnia), amountInWordsRussian(shown, kHryvnia));
            QCOMPARE(amountInWordsUkrainian(amount, kHryvnia),
                     amountInWordsUkrainian(shown, kHryvnia));
            QVERIFY(amountInWordsRussian(amount, kHryvnia)
                        .endsWith(formatAmount(amount).right(2) + u(" коп.")));
        }
    }
};

QTEST_MAIN(TestAmounts)
#include "test_amounts.moc"
