// The default print templates placed beside the program: each file opens as what its
// extension says, and holds only tags that the template printing fills in for its document.
#include "core/exceptions.h"
#include "tests/resources/template_readers.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace templatereaders;

namespace {

enum class Kind { Payment, Receipt, Disbursement };

// Tags that every document controller fills in.
QSet<QString> commonTags() {
    QSet<QString> tags{
        "CONST_CURR",    "NUM",           "DAT",           "DAT_FULL",      "DAT_DD",
        "DAT_MMMM",      "DAT_YYYY",      "DAT_MONTH_UA",  "DAT_MONTH2_UA", "DAT_MONTH_RU",
        "DAT_MONTH2_RU", "DAT2",          "DAT2_FULL",     "DAT2_DD",       "DAT2_MMMM",
        "DAT2_YYYY",     "PURP1",         "PURP2",         "PURP3",         "REASON",
        "SUM1",          "SUM2",          "SUM1_L",        "SUM1_R",        "SUM2_L",
        "SUM2_R",        "SUM1_WORDS_UA", "SUM2_WORDS_UA", "SUM1_WORDS_RU", "SUM2_WORDS_RU"};
    for (const char* party : {"PLAT_", "POL_"}) {
        for (const char* field : {"PART", "CITY", "INCITY", "INBANK", "MFO", "RS", "OKPO", "INDN"})
            tags.insert(QLatin1String(party) + QLatin1String(field));
    }
    return tags;
}

// Tags that the controller of a document of this kind fills in. A payment order template
// serves incoming payments and payment orders alike.
QSet<QString> knownTags(Kind kind) {
    QSet<QString> tags = commonTags();
    if (kind == Kind::Receipt)
        tags += QSet<QString>{"DT", "KT", "POL_GLBUH", "POL_KASSIR"};
    if (kind == Kind::Disbursement)
        tags += QSet<QString>{"DT", "KT", "PLAT_DIR", "PLAT_GLBUH", "PLAT_KASSIR"};
    return tags;
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

struct Scan {
    QStringList tags;   // names of the tags found, in order, without the angle brackets
    QStringList faults; // what is wrong, one text per fault
};

// Finds the tags in the paragraphs. Every angle bracket must belong to a known tag, and a tag
// must stand as a whole word: the word processors replace whole words only.
Scan scanTags(const QStringList& paragraphs, Kind kind) {
    const QSet<QString> known = knownTags(kind);
    Scan scan;
    for (const QString& p : paragraphs) {
        qsizetype from = 0;
        while (true) {
            const qsizetype open = p.indexOf(QLatin1Char('<'), from);
            const qsizetype close = p.indexOf(QLatin1Char('>'), from);
            if (open < 0 && close < 0)
                break;
            if (open < 0 || (close >= 0 && close < open)) {
                scan.faults << QStringLiteral("a '>' without its '<' in: ") + p;
                from = close + 1;
                continue;
            }
            const qsizetype end = p.indexOf(QLatin1Char('>'), open);
            const qsizetype nextOpen = p.indexOf(QLatin1Char('<'), open + 1);
            if (end < 0 || (nextOpen >= 0 && nextOpen < end)) {
                scan.faults << QStringLiteral("an unclosed '<' in: ") + p;
                from = open + 1;
                continue;
            }
            const QString name = p.mid(open + 1, end - open - 1);
            if (!known.contains(name))
                scan.faults << QStringLiteral("unknown tag <%1> in: %2").arg(name, p);
            else if ((open > 0 && isWordChar(p.at(open - 1))) ||
                     (end + 1 < p.size() && isWordChar(p.at(end + 1))))
                scan.faults << QStringLiteral("tag <%1> glued to a word in: %2").arg(name, p);
            scan.tags << name;
            from = end + 1;
        }
    }
    return scan;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("cannot open ") + path);
    return f.readAll();
}

QString templatePath(const QString& name) {
    return QStringLiteral(KALTRO_PRINT_TEMPLATES_DIR "/") + name;
}

QStringList odtParagraphsOf(const QString& path) {
    const ZipArchive zip(readFile(path));
    return odfParagraphs(zip.read(QStringLiteral("content.xml")));
}

// The template files, named as a new book loads them.
struct Form {
    const char* name; // file name without its extension
    Kind kind;
    int numbers; // times the document number is printed: once a copy, twice on a receipt order
    QStringList needed;
};

QList<Form> forms() {
    const QStringList paymentUa{
        "NUM",       "DAT_DD",    "DAT_MONTH2_UA", "DAT_YYYY",    "SUM1",     "SUM1_WORDS_UA",
        "PLAT_PART", "PLAT_OKPO", "PLAT_INBANK",   "PLAT_INCITY", "PLAT_MFO", "PLAT_RS",
        "POL_PART",  "POL_OKPO",  "POL_INBANK",    "POL_INCITY",  "POL_MFO",  "POL_RS",
        "PURP1",     "PURP2",     "PURP3"};
    const QStringList paymentRu{"NUM",           "DAT",        "SUM1_L",     "SUM1_R",
                                "SUM1_WORDS_RU", "PLAT_PART",  "PLAT_INDN",  "PLAT_INBANK",
                                "PLAT_INCITY",   "PLAT_MFO",   "PLAT_RS",    "POL_PART",
                                "POL_INDN",      "POL_INBANK", "POL_INCITY", "POL_MFO",
                                "POL_RS",        "PURP1",      "PURP2",      "PURP3"};
    const QStringList cashOrder{"NUM",      "DT",    "KT",    "SUM1", "PLAT_PART",
                                "POL_PART", "PURP1", "PURP2", "PURP3"};
    const QStringList receipt =
        cashOrder + QStringList{"SUM2", "POL_OKPO", "POL_GLBUH", "POL_KASSIR"};
    const QStringList disbursement =
        cashOrder + QStringList{"PLAT_OKPO", "PLAT_DIR", "PLAT_GLBUH", "PLAT_KASSIR"};
    const QStringList ua{"DAT_DD", "DAT_MONTH2_UA", "DAT_YYYY", "SUM1_WORDS_UA"};
    const QStringList ru{"DAT", "SUM1_WORDS_RU"};
    return {
        {"Платежное поручение (2 экз) (Украина)", Kind::Payment, 2, paymentUa},
        {"Платежное поручение (3 экз) (Украина)", Kind::Payment, 3, paymentUa},
        {"Платежное поручение (2 экз) (Россия)", Kind::Payment, 2, paymentRu},
        {"Платежное поручение (3 экз) (Россия)", Kind::Payment, 3, paymentRu},
        {"Приходный кассовый ордер (Украина)", Kind::Receipt, 2, receipt + ua},
        {"Расходный кассовый ордер (Украина)", Kind::Disbursement, 1, disbursement + ua},
        {"Приходный кассовый ордер (Россия)", Kind::Receipt, 2,
         receipt + ru + QStringList{"POL_INDN"}},
        {"Расходный кассовый ордер (Россия)", Kind::Disbursement, 1,
         disbursement + ru + QStringList{"PLAT_INDN"}},
    };
}

void addFormRows() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("numbers");
    QTest::addColumn<QStringList>("needed");
    for (const Form& f : forms()) {
        QTest::newRow(f.name) << QString::fromUtf8(f.name) << int(f.kind) << f.numbers << f.needed;
    }
}

// Checks the tags found in one file: all known, standing whole, and those the document needs.
void checkTags(const Scan& scan, int numbers, const QStringList& needed) {
    QVERIFY2(scan.faults.isEmpty(), qPrintable(scan.faults.join(QLatin1Char('\n'))));
    for (const QString& tag : needed)
        QVERIFY2(scan.tags.contains(tag), qPrintable("missing <" + tag + ">"));
    QCOMPARE(int(scan.tags.count(QStringLiteral("NUM"))), numbers);
}

} // namespace

class TestPrintTemplates : public QObject {
    Q_OBJECT
private slots:
    void folderHoldsEveryTemplate() {
        QStringList expected;
        for (const Form& f : forms()) {
            expected << QString::fromUtf8(f.name) + QStringLiteral(".doc")
                     << QString::fromUtf8(f.name) + QStringLiteral(".odt");
        }
        expected.sort();
        const QStringList present =
            QDir(QStringLiteral(KALTRO_PRINT_TEMPLATES_DIR)).entryList(QDir::Files, QDir::Name);
        QCOMPARE(present, expected);
    }

    void odtIsAnOpenDocumentText_data() { addFormRows(); }
    void odtIsAnOpenDocumentText() {
        QFETCH(QString, name);
        const ZipArchive zip(readFile(templatePath(name + ".odt")));
        QVERIFY(!zip.entries().isEmpty());
        const ZipEntry& first = zip.entries().first();
        QCOMPARE(first.name, QStringLiteral("mimetype"));
        QCOMPARE(first.method, quint16(0));
        QCOMPARE(first.localOffset, quint32(0));
        QCOMPARE(zip.read(QStringLiteral("mimetype")),
                 QByteArray("application/vnd.oasis.opendocument.text"));
        QVERIFY(zip.read(QStringLiteral("META-INF/manifest.xml")).contains("content.xml"));
        QVERIFY(!odfParagraphs(zip.read(QStringLiteral("content.xml"))).isEmpty());
    }

    void odtHoldsTheTagsOfItsDocument_data() { addFormRows(); }
    void odtHoldsTheTagsOfItsDocument() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(int, numbers);
        QFETCH(QStringList, needed);
        checkTags(scanTags(odtParagraphsOf(templatePath(name + ".odt")), Kind(kind)), numbers,
                  needed);
    }

    void docIsAWord97File_data() { addFormRows(); }
    void docIsAWord97File() {
        QFETCH(QString, name);
        const QByteArray data = readFile(templatePath(name + ".doc"));
        QCOMPARE(data.left(8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        const CompoundFile file(data);
        QVERIFY(file.contains(QStringLiteral("WordDocument")));
        QVERIFY(file.contains(QStringLiteral("1Table")) || file.contains(QStringLiteral("0Table")));
    }

    // The Word file holds the same tags as the OpenDocument file made from the same source.
    void docHoldsTheSameTagsAsOdt_data() { addFormRows(); }
    void docHoldsTheSameTagsAsOdt() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(int, numbers);
        QFETCH(QStringList, needed);
        const Scan scan =
            scanTags(wordParagraphs(readFile(templatePath(name + ".doc"))), Kind(kind));
        checkTags(scan, numbers, needed);
        if (QTest::currentTestFailed())
            return;
        QStringList inDoc = scan.tags;
        QStringList inOdt = scanTags(odtParagraphsOf(templatePath(name + ".odt")), Kind(kind)).tags;
        inDoc.sort();
        inOdt.sort();
        QCOMPARE(inDoc, inOdt);
    }

    // The checks above must catch what a word processor or a hand edit can do to a tag.
    void tagScanFindsFaults_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<int>("faults");
        const int payment = int(Kind::Payment);
        QTest::newRow("tags between signs")
            << "№ <NUM> від «<DAT_DD>» <SUM1_L>-<SUM1_R>" << payment
            << QStringList{"NUM", "DAT_DD", "SUM1_L", "SUM1_R"} << 0;
        QTest::newRow("unknown tag") << "<NUMBER>" << payment << QStringList{"NUMBER"} << 1;
        QTest::newRow("lower case") << "<num>" << payment << QStringList{"num"} << 1;
        QTest::newRow("glued to a word") << "№<NUM>р." << payment << QStringList{"NUM"} << 1;
        QTest::newRow("unclosed") << "<NUM <DAT>" << payment << QStringList{"DAT"} << 1;
        QTest::newRow("stray close") << "a > b" << payment << QStringList{} << 1;
        QTest::newRow("macro block")
            << "<MACRO Fill>x</MACRO>" << payment << QStringList{"MACRO Fill", "/MACRO"} << 2;
        QTest::newRow("cash-order tag on a payment")
            << "<DT> <PLAT_DIR>" << payment << QStringList{"DT", "PLAT_DIR"} << 2;
        QTest::newRow("director on a disbursement")
            << "<DT> <PLAT_DIR>" << int(Kind::Disbursement) << QStringList{"DT", "PLAT_DIR"} << 0;
        QTest::newRow("director on a receipt")
            << "<PLAT_DIR>" << int(Kind::Receipt) << QStringList{"PLAT_DIR"} << 1;
    }
    void tagScanFindsFaults() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QStringList, tags);
        QFETCH(int, faults);
        const Scan scan = scanTags({text}, Kind(kind));
        QCOMPARE(scan.tags, tags);
        QCOMPARE(int(scan.faults.size()), faults);
    }

    // A word processor may cut a tag into several runs; the paragraph text joins them.
    void odfParagraphJoinsRuns() {
        const QByteArray xml =
            "<office:document-content"
            " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
            " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
            "<office:body><office:text>"
            "<text:p>№<text:s/>&lt;N<text:span>UM</text:span>&gt;<text:s text:c=\"2\"/>x</text:p>"
            "<text:h>a<text:tab/>b<text:line-break/>c</text:h>"
            "<text:p/>"
            "</office:text></office:body></office:document-content>";
        QCOMPARE(odfParagraphs(xml),
                 QStringList({QStringLiteral("№ <NUM>  x"), QStringLiteral("a\tb\nc"), QString()}));
    }

    void readersRefuseOtherFiles() {
        const QByteArray junk("PK\x03\x04 this is no archive");
        QVERIFY_THROWS_EXCEPTION(Exception, ZipArchive{junk});
        QVERIFY(!hasCompoundFileSignature(junk));
        QVERIFY_THROWS_EXCEPTION(Exception, wordParagraphs(junk));
        const QByteArray odt = readFile(templatePath("Расходный кассовый ордер (Россия).odt"));
        QVERIFY_THROWS_EXCEPTION(Exception, wordParagraphs(odt));
    }
};

QTEST_APPLESS_MAIN(TestPrintTemplates)
#include "test_print_templates.moc"
