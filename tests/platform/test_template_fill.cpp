#include "platform/template_fill.h"

#include <QTest>

using templatefill::Family;
using templatefill::TagValues;

Q_DECLARE_METATYPE(templatefill::Family)
Q_DECLARE_METATYPE(templatefill::TagValues)

// Tags replaced in the text of RTF templates, by the rules of each word-processor family.
class TestTemplateFill : public QObject {
    Q_OBJECT
private slots:
    void rtfTagsReplaced_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<TagValues>("tags");
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("filled");
        const TagValues sum = {{"<SUM1>", "100"}};
        QTest::newRow("every occurrence")
            << QByteArray("{\\rtf1 <SUM1> and <SUM1>.\\par}") << sum << Family::Word
            << QByteArray("{\\rtf1 100 and 100.\\par}");
        QTest::newRow("other case left by Word")
            << QByteArray("{\\rtf1 <sum1> <SUM1>}") << sum << Family::Word
            << QByteArray("{\\rtf1 <sum1> 100}");
        QTest::newRow("other case replaced by Writer")
            << QByteArray("{\\rtf1 <sum1> <SUM1>}") << sum << Family::Writer
            << QByteArray("{\\rtf1 100 100}");
        QTest::newRow("whole words only")
            << QByteArray("{\\rtf1 SUMMA SUM_1 (SUM) xSUM}") << TagValues{{"SUM", "5"}}
            << Family::Writer << QByteArray("{\\rtf1 SUMMA SUM_1 (5) xSUM}");
        QTest::newRow("split by a bold group") << QByteArray("{\\rtf1 <SU{\\b M1}>!}") << sum
                                               << Family::Word << QByteArray("{\\rtf1 100{\\b }!}");
        QTest::newRow("split by control words")
            << QByteArray("{\\rtf1 {\\i <}SU\\b M\\b0 1>}") << sum << Family::Word
            << QByteArray("{\\rtf1 {\\i 100}\\b \\b0 }");
        QTest::newRow("not across paragraphs")
            << QByteArray("{\\rtf1 <SU\\par M1>}") << sum << Family::Word
            << QByteArray("{\\rtf1 <SU\\par M1>}");
        QTest::newRow("tables and destinations not searched")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 <SUM1>;}}{\\*\\generator <SUM1>;}"
                          "{\\header <SUM1>}<SUM1>}")
            << sum << Family::Word
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 <SUM1>;}}{\\*\\generator <SUM1>;}"
                          "{\\header 100}100}");
        QTest::newRow("tag in code-page and unicode escapes")
            << QByteArray("{\\rtf1 <\\'d1\\'d3\\'cc\\'cc\\'c0> <\\u1057?\\u1059?\\u1052?\\u1052?"
                          "\\u1040?>}")
            << TagValues{{QString::fromUtf8("<СУММА>"), "7"}} << Family::Word
            << QByteArray("{\\rtf1 7 7}");
        QTest::newRow("value escaped")
            << QByteArray("{\\rtf1 <NAME>}")
            << TagValues{{"<NAME>", QString::fromUtf8("a\\{b} Ан\nz")}} << Family::Word
            << QByteArray("{\\rtf1 a\\\\\\{b\\} \\u1040?\\u1085?\\line z}");
        QTest::newRow("unicode fallback count kept")
            << QByteArray("{\\rtf1\\uc2 <NAME>}") << TagValues{{"<NAME>", QString::fromUtf8("Я")}}
            << Family::Word << QByteArray("{\\rtf1\\uc2 \\u1071??}");
        QTest::newRow("value parted from a bare control word")
            << QByteArray("{\\rtf1\\b0<SUM1>}") << sum << Family::Word
            << QByteArray("{\\rtf1\\b0 100}");
        QTest::newRow("text parted from a bare control word after a tag")
            << QByteArray("{\\rtf1 <SU\\b0M1>5}") << TagValues{{"<SUM1>", ""}} << Family::Word
            << QByteArray("{\\rtf1 \\b0 5}");
        QTest::newRow("value never searched again")
            << QByteArray("{\\rtf1 <PARTNER> <SUM1>}")
            << TagValues{{"<PARTNER>", "<SUM1>"}, {"<SUM1>", "100"}} << Family::Writer
            << QByteArray("{\\rtf1 <SUM1> 100}");
        QTest::newRow("later tag inside an earlier one's place")
            << QByteArray("{\\rtf1 <DAT2_YYYY> <DAT2>}")
            << TagValues{{"<DAT2_YYYY>", "2024"}, {"DAT2", "x"}, {"<DAT2>", "d"}} << Family::Word
            << QByteArray("{\\rtf1 2024 <x>}");
        QTest::newRow("no tag leaves the bytes")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\u1040?\r\n{\\b x}\\bin3 {}}") << sum
            << Family::Word
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\u1040?\r\n{\\b x}\\bin3 {}}");
    }
    void rtfTagsReplaced() {
        QFETCH(QByteArray, rtf);
        QFETCH(TagValues, tags);
        QFETCH(Family, family);
        QFETCH(QByteArray, filled);
        QCOMPARE(templatefill::fillRtf(rtf, tags, family), filled);
    }
};

QTEST_APPLESS_MAIN(TestTemplateFill)
#include "test_template_fill.moc"
