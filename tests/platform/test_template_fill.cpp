#include "platform/template_fill.h"

#include "core/exceptions.h"
#include "platform/zip_archive.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using templatefill::Family;
using templatefill::TagValues;
using templatefill::XmlKind;

Q_DECLARE_METATYPE(templatefill::Family)
Q_DECLARE_METATYPE(templatefill::TagValues)
Q_DECLARE_METATYPE(templatefill::XmlKind)

namespace {

QByteArray odtParagraphs(const QByteArray& body) {
    return "<office:document-content><office:body><office:text>" + body +
           "</office:text></office:body></office:document-content>";
}

QByteArray docxParagraphs(const QByteArray& body) {
    return "<w:document><w:body>" + body + "</w:body></w:document>";
}

} // namespace

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

    void xmlTagsReplaced_data() {
        QTest::addColumn<XmlKind>("kind");
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<TagValues>("tags");
        QTest::addColumn<QByteArray>("filled");
        const TagValues sum = {{"<SUM1>", "100"}};
        QTest::newRow("odt split across spans")
            << XmlKind::OpenDocument
            << odtParagraphs("<text:p>&lt;SU<text:span text:style-name=\"T1\">M1&gt;</text:span>"
                             " and &lt;SUM1&gt;</text:p>")
            << sum
            << odtParagraphs("<text:p>100<text:span text:style-name=\"T1\"></text:span>"
                             " and 100</text:p>");
        QTest::newRow("odt not across paragraphs or line breaks")
            << XmlKind::OpenDocument
            << odtParagraphs("<text:p>&lt;SU</text:p><text:p>M1&gt;<text:line-break/>"
                             "&lt;SU</text:p><text:h>M1&gt;</text:h>")
            << sum
            << odtParagraphs("<text:p>&lt;SU</text:p><text:p>M1&gt;<text:line-break/>"
                             "&lt;SU</text:p><text:h>M1&gt;</text:h>");
        QTest::newRow("odt text frame and text outside paragraphs")
            << XmlKind::OpenDocument
            << odtParagraphs("<text:p><draw:frame><draw:text-box><text:p>&lt;SUM1&gt;</text:p>"
                             "</draw:text-box></draw:frame></text:p><x>&lt;SUM1&gt;</x>")
            << sum
            << odtParagraphs("<text:p><draw:frame><draw:text-box><text:p>100</text:p>"
                             "</draw:text-box></draw:frame></text:p><x>&lt;SUM1&gt;</x>");
        QTest::newRow("docx split across runs, field code kept")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;SU</w:t></w:r><w:r><w:rPr><w:b/></w:rPr>"
                              "<w:t>M1&gt;!</w:t></w:r><w:r><w:instrText>&lt;SUM1&gt;"
                              "</w:instrText></w:r></w:p>")
            << sum
            << docxParagraphs("<w:p><w:r><w:t>100</w:t></w:r><w:r><w:rPr><w:b/></w:rPr>"
                              "<w:t>!</w:t></w:r><w:r><w:instrText>&lt;SUM1&gt;"
                              "</w:instrText></w:r></w:p>");
        QTest::newRow("docx not across a tab")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;SU</w:t><w:tab/><w:t>M1&gt;</w:t></w:r></w:p>")
            << sum
            << docxParagraphs("<w:p><w:r><w:t>&lt;SU</w:t><w:tab/><w:t>M1&gt;</w:t></w:r></w:p>");
        QTest::newRow("value escaped, never searched again")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;NAME&gt; &lt;SUM1&gt; &#x41;</w:t></w:r></w:p>")
            << TagValues{{"<NAME>", QString::fromUtf8("<SUM1> & \"Ян\"")}, {"<SUM1>", "100"}}
            << docxParagraphs("<w:p><w:r><w:t>&lt;SUM1&gt; &amp; &quot;" +
                              QString::fromUtf8("Ян").toUtf8() + "&quot; 100 A</w:t></w:r></w:p>");
        QTest::newRow("docx run keeps a value's edge spaces")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;NAME&gt;</w:t></w:r><w:r><w:t>&lt;SUM1&gt;"
                              "</w:t></w:r></w:p>")
            << TagValues{{"<NAME>", " a "}, {"<SUM1>", "b"}}
            << docxParagraphs("<w:p><w:r><w:t xml:space=\"preserve\"> a </w:t></w:r><w:r><w:t>b"
                              "</w:t></w:r></w:p>");
    }
    void xmlTagsReplaced() {
        QFETCH(XmlKind, kind);
        QFETCH(QByteArray, xml);
        QFETCH(TagValues, tags);
        QFETCH(QByteArray, filled);
        QCOMPARE(templatefill::fillXml(xml, kind, tags, Family::Writer), filled);
    }

    // The text parts of a package are filled; the other entries and their order are kept.
    void packageFilled_data() {
        QTest::addColumn<QStringList>("textParts");
        QTest::addColumn<QStringList>("otherParts");
        QTest::newRow("odt") << QStringList{"content.xml", "styles.xml"}
                             << QStringList{"mimetype", "meta.xml"};
        QTest::newRow("docx") << QStringList{"word/document.xml", "word/header1.xml",
                                             "word/footer2.xml"}
                              << QStringList{"[Content_Types].xml", "word/settings.xml"};
    }
    void packageFilled() {
        QFETCH(QStringList, textParts);
        QFETCH(QStringList, otherParts);
        const bool odt = textParts.contains("content.xml");
        const QByteArray tagged =
            odt ? odtParagraphs("<text:p>&lt;SUM1&gt;</text:p>")
                : docxParagraphs("<w:p><w:r><w:t>&lt;SUM1&gt;</w:t></w:r></w:p>");
        const QByteArray filled = odt ? odtParagraphs("<text:p>7</text:p>")
                                      : docxParagraphs("<w:p><w:r><w:t>7</w:t></w:r></w:p>");
        QList<zip::Entry> entries;
        for (const QString& name : otherParts)
            entries.append({name, tagged, name == "mimetype"});
        for (const QString& name : textParts)
            entries.append({name, tagged, false});
        QTemporaryDir dir;
        const QString source = dir.filePath("template");
        const QString target = dir.filePath("filled");
        zip::write(source, entries);
        templatefill::fillPackage(source, target, {{"<SUM1>", "7"}}, Family::Word);
        const QList<zip::Entry> result = zip::read(target);
        QCOMPARE(result.size(), entries.size());
        for (qsizetype i = 0; i < result.size(); ++i) {
            QCOMPARE(result[i].name, entries[i].name);
            QCOMPARE(result[i].stored, entries[i].stored);
            QCOMPARE(result[i].data, textParts.contains(result[i].name) ? filled : tagged);
        }
    }

    void packageThatIsNoZipRefused() {
        QTemporaryDir dir;
        QFile file(dir.filePath("broken.odt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("no zip at all");
        file.close();
        QVERIFY_THROWS_EXCEPTION(
            Exception,
            templatefill::fillPackage(file.fileName(), dir.filePath("out.odt"), {}, Family::Word));
        QVERIFY(!QFile::exists(dir.filePath("out.odt")));
    }

    void unwritableTargetRefused() {
        QTemporaryDir dir;
        const QString source = dir.filePath("template.odt");
        zip::write(source, {{"content.xml", odtParagraphs("<text:p>x</text:p>"), false}});
        QVERIFY_THROWS_EXCEPTION(
            Exception,
            templatefill::fillPackage(source, dir.filePath("no/out.odt"), {}, Family::Word));
    }
};

QTEST_APPLESS_MAIN(TestTemplateFill)
#include "test_template_fill.moc"
