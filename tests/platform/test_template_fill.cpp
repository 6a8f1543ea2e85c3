#include "platform/template_fill.h"

#include "core/exceptions.h"
#include "platform/zip_archive.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

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

const QString noBracket = QString::fromUtf8("Не найден закрывающий символ \">\" для \"<MACRO\" !");

QString noClosingTag(const QString& name) {
    return QString::fromUtf8("Вызов макроса ") + name +
           QString::fromUtf8(".\nНе найден закрывающий тег \"</MACRO>\" !");
}

bool isWellFormed(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
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

    // Macro blocks of Word templates: markers removed, bodies kept, the macros reported.
    void rtfMacroBlocks_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<TagValues>("tags");
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("filled");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("warning");
        const TagValues sum = {{"<SUM1>", "100"}};
        QTest::newRow("blocks removed, names in order")
            << QByteArray("{\\rtf1 <MACRO Sign><SUM1></MACRO>, <MACRO  Stamp >b</MACRO>.\\par}")
            << sum << Family::Word << QByteArray("{\\rtf1 100, b.\\par}")
            << QStringList{"Sign", "Stamp"} << QString();
        QTest::newRow("nested blocks in document order")
            << QByteArray("{\\rtf1 <MACRO A>a<MACRO B>b</MACRO>c</MACRO>}") << sum << Family::Word
            << QByteArray("{\\rtf1 abc}") << QStringList{"A", "B"} << QString();
        QTest::newRow("marker joined by a removal")
            << QByteArray("{\\rtf1 <MAC<MACRO X>RO Y>a</MACRO>b</MACRO>}") << sum << Family::Word
            << QByteArray("{\\rtf1 ab}") << QStringList{"X", "Y"} << QString();
        QTest::newRow("markers split by groups and control words")
            << QByteArray("{\\rtf1 <MAC{\\b RO A}>x<\\i /MACRO\\i0 >}") << sum << Family::Word
            << QByteArray("{\\rtf1 {\\b }x\\i \\i0 }") << QStringList{"A"} << QString();
        QTest::newRow("paragraph mark in a marker kept")
            << QByteArray("{\\rtf1 <MACRO\\par A>x</MACRO>}") << sum << Family::Word
            << QByteArray("{\\rtf1 \\par x}") << QStringList{"A"} << QString();
        QTest::newRow("no closing bracket")
            << QByteArray("{\\rtf1 <MACRO A>a</MACRO> <SUM1> <MACRO B b</MACRO}") << sum
            << Family::Word << QByteArray("{\\rtf1 a 100 <MACRO B b</MACRO}") << QStringList{"A"}
            << noBracket;
        QTest::newRow("no closing tag, later markers kept")
            << QByteArray("{\\rtf1 <MACRO A>a</MACRO><MACRO B>b <MACRO C>c <SUM1>}") << sum
            << Family::Word << QByteArray("{\\rtf1 a<MACRO B>b <MACRO C>c 100}") << QStringList{"A"}
            << noClosingTag("B");
        QTest::newRow("markers kept by Writer")
            << QByteArray("{\\rtf1 <MACRO A><SUM1></MACRO>}") << sum << Family::Writer
            << QByteArray("{\\rtf1 <MACRO A>100</MACRO>}") << QStringList() << QString();
        QTest::newRow("value holding a block and a tag")
            << QByteArray("{\\rtf1 <NAME>}")
            << TagValues{{"<NAME>", "<MACRO X><SUM1></MACRO>"}, {"<SUM1>", "100"}} << Family::Word
            << QByteArray("{\\rtf1 <MACRO X><SUM1></MACRO>}") << QStringList() << QString();
        QTest::newRow("value closes no block")
            << QByteArray("{\\rtf1 <MACRO A><NAME>}") << TagValues{{"<NAME>", "x</MACRO>"}}
            << Family::Word << QByteArray("{\\rtf1 <MACRO A>x</MACRO>}") << QStringList()
            << noClosingTag("A");
        QTest::newRow("value closes no macro name")
            << QByteArray("{\\rtf1 <MACRO <NAME>}") << TagValues{{"<NAME>", "A>"}} << Family::Word
            << QByteArray("{\\rtf1 <MACRO A>}") << QStringList() << noBracket;
        QTest::newRow("name shown with its tag's value")
            << QByteArray("{\\rtf1 <MACRO <NAME>>x</MACRO>}") << TagValues{{"<NAME>", "Sign"}}
            << Family::Word << QByteArray("{\\rtf1 x}") << QStringList{"Sign"} << QString();
    }
    void rtfMacroBlocks() {
        QFETCH(QByteArray, rtf);
        QFETCH(TagValues, tags);
        QFETCH(Family, family);
        QFETCH(QByteArray, filled);
        QFETCH(QStringList, names);
        QFETCH(QString, warning);
        templatefill::MacroBlocks macros;
        QCOMPARE(templatefill::fillRtf(rtf, tags, family, &macros), filled);
        QCOMPARE(macros.names, names);
        QCOMPARE(macros.warning, warning);
    }

    void xmlMacroBlocks_data() {
        QTest::addColumn<XmlKind>("kind");
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("filled");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("warning");
        QTest::newRow("odt blocks removed")
            << XmlKind::OpenDocument
            << odtParagraphs("<text:p>&lt;MACRO A&gt;&lt;SUM1&gt;&lt;/MACRO&gt;</text:p>"
                             "<text:p>&lt;MACRO B&gt;b&lt;/MACRO&gt;</text:p>")
            << Family::Word << odtParagraphs("<text:p>100</text:p><text:p>b</text:p>")
            << QStringList{"A", "B"} << QString();
        QTest::newRow("odt markers split across spans")
            << XmlKind::OpenDocument
            << odtParagraphs("<text:p>&lt;MAC<text:span>RO A&gt;x&lt;/MA</text:span>CRO&gt;"
                             "</text:p>")
            << Family::Word << odtParagraphs("<text:p><text:span>x</text:span></text:p>")
            << QStringList{"A"} << QString();
        QTest::newRow("odt markers kept by Writer")
            << XmlKind::OpenDocument
            << odtParagraphs("<text:p>&lt;MACRO A&gt;&lt;SUM1&gt;&lt;/MACRO&gt;</text:p>")
            << Family::Writer << odtParagraphs("<text:p>&lt;MACRO A&gt;100&lt;/MACRO&gt;</text:p>")
            << QStringList() << QString();
        QTest::newRow("docx markers split across runs and paragraphs")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;MACRO </w:t></w:r><w:r><w:rPr><w:b/></w:rPr>"
                              "<w:t>A&gt;x</w:t></w:r></w:p><w:p><w:r><w:t>y&lt;/MACRO</w:t>"
                              "</w:r><w:r><w:t>&gt;!</w:t></w:r></w:p>")
            << Family::Word
            << docxParagraphs("<w:p><w:r><w:t></w:t></w:r><w:r><w:rPr><w:b/></w:rPr>"
                              "<w:t>x</w:t></w:r></w:p><w:p><w:r><w:t>y</w:t>"
                              "</w:r><w:r><w:t>!</w:t></w:r></w:p>")
            << QStringList{"A"} << QString();
        QTest::newRow("docx no closing bracket")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;MACRO A&gt;a&lt;/MACRO&gt;&lt;MACRO B</w:t>"
                              "</w:r></w:p>")
            << Family::Word << docxParagraphs("<w:p><w:r><w:t>a&lt;MACRO B</w:t></w:r></w:p>")
            << QStringList{"A"} << noBracket;
    }
    void xmlMacroBlocks() {
        QFETCH(XmlKind, kind);
        QFETCH(QByteArray, xml);
        QFETCH(Family, family);
        QFETCH(QByteArray, filled);
        QFETCH(QStringList, names);
        QFETCH(QString, warning);
        templatefill::MacroBlocks macros;
        QCOMPARE(templatefill::fillXml(xml, kind, {{"<SUM1>", "100"}}, family, &macros), filled);
        QCOMPARE(macros.names, names);
        QCOMPARE(macros.warning, warning);
    }

    // A value's line breaks and tabs become break and tab elements; the part stays well-formed.
    void xmlValueBreaks_data() {
        QTest::addColumn<XmlKind>("kind");
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("filled");
        QTest::newRow("odt line break and tab")
            << XmlKind::OpenDocument << odtParagraphs("<text:p>a&lt;NAME&gt;b</text:p>")
            << "1\n2\t3 <&>"
            << odtParagraphs("<text:p>a1<text:line-break/>2<text:tab/>3 &lt;&amp;&gt;b</text:p>");
        QTest::newRow("odt carriage return dropped")
            << XmlKind::OpenDocument << odtParagraphs("<text:p>&lt;NAME&gt;</text:p>") << "1\r\n2"
            << odtParagraphs("<text:p>1<text:line-break/>2</text:p>");
        QTest::newRow("odt template's own line end kept")
            << XmlKind::OpenDocument << odtParagraphs("<text:p>a\n&lt;NAME&gt;</text:p>") << "x"
            << odtParagraphs("<text:p>a\nx</text:p>");
        QTest::newRow("docx line break and tab within the run")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>a&lt;NAME&gt;b</w:t></w:r></w:p>") << "1\n2\t3"
            << docxParagraphs("<w:p><w:r><w:t>a1</w:t><w:br/><w:t xml:space=\"preserve\">2</w:t>"
                              "<w:tab/><w:t xml:space=\"preserve\">3b</w:t></w:r></w:p>");
        QTest::newRow("docx space before a break kept")
            << XmlKind::WordprocessingMl
            << docxParagraphs("<w:p><w:r><w:t>&lt;NAME&gt;</w:t></w:r></w:p>") << "1 \n2"
            << docxParagraphs("<w:p><w:r><w:t xml:space=\"preserve\">1 </w:t><w:br/>"
                              "<w:t xml:space=\"preserve\">2</w:t></w:r></w:p>");
    }
    void xmlValueBreaks() {
        QFETCH(XmlKind, kind);
        QFETCH(QByteArray, xml);
        QFETCH(QString, value);
        QFETCH(QByteArray, filled);
        const QByteArray result =
            templatefill::fillXml(xml, kind, {{"<NAME>", value}}, Family::Word);
        QCOMPARE(result, filled);
        QVERIFY(isWellFormed(result));
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

    // Macro blocks are looked for in the body only: headers, footers and styles keep theirs.
    void packageMacroBlocks_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("other");
        QTest::newRow("odt") << "content.xml"
                             << "styles.xml";
        QTest::newRow("docx") << "word/document.xml"
                              << "word/header1.xml";
    }
    void packageMacroBlocks() {
        QFETCH(QString, body);
        QFETCH(QString, other);
        const bool odt = body == "content.xml";
        const QByteArray tagged =
            odt ? odtParagraphs("<text:p>&lt;MACRO A&gt;x&lt;/MACRO&gt;</text:p>")
                : docxParagraphs("<w:p><w:r><w:t>&lt;MACRO A&gt;x&lt;/MACRO&gt;</w:t></w:r></w:p>");
        const QByteArray filled = odt ? odtParagraphs("<text:p>x</text:p>")
                                      : docxParagraphs("<w:p><w:r><w:t>x</w:t></w:r></w:p>");
        QTemporaryDir dir;
        const QString source = dir.filePath("template");
        const QString target = dir.filePath("filled");
        zip::write(source, {{other, tagged, false}, {body, tagged, false}});
        const templatefill::MacroBlocks macros =
            templatefill::fillPackage(source, target, {}, Family::Word);
        QCOMPARE(macros.names, QStringList{"A"});
        QVERIFY(macros.warning.isEmpty());
        const QList<zip::Entry> result = zip::read(target);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[0].data, tagged);
        QCOMPARE(result[1].data, filled);
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
