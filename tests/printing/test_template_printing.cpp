#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "platform/office.h"
#include "platform/pdf_printing.h"
#include "printing/template_printer.h"
#include "store/data_store.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/warning_log.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/platform/pdf_text.h"
#include "tests/support/platform/work_folders.h"
#include "tests/support/shell/book_machine.h"
#include "tests/support/shell/pane_machine.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QDir>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace printing;
using testsupport::leftWorkFolders;
using testsupport::messageOf;

namespace {

constexpr int kIncomeKey = 5001;
constexpr int kIssueKey = 5002;
// A partner whose name holds markup and a tag's text: it must print as it is.
const QString kPartnerName = QStringLiteral("Ромашка & <SUM1>");

QString withoutBlanks(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// A book of a kind with an income and an issue document of one partner, the main window
// started on it; every message noted and answered OK.
struct TemplateMachine {
    PaneMachine machine;
    Dialogs dialogs;
    BookKind kind;

    explicit TemplateMachine(BookKind bookKind)
        : machine(bookKind, bookKind == BookKind::CashDesk ? QStringLiteral("Касса")
                                                           : QStringLiteral("Счет")),
          kind(bookKind) {
        execute(machine.book, "UPDATE PARTS SET LNAM='ТОВ Калина' WHERE PRKEY=0");
        execute(machine.book, "INSERT INTO PARTS (PRKEY, TYP, LNAM, INBANK, INCITY) VALUES "
                              "(301, 1, '" +
                                  kPartnerName + "', 'Аваль', 'Львів')");
        addDocument(kIncomeKey, 1, "4711");
        addDocument(kIssueKey, 2, "4712");
        machine.start();
    }
    ~TemplateMachine() { machine.main->close(); }

    void addDocument(int key, int type, const QString& number) {
        execute(machine.book, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, SUM1, NUM, LPART, "
                                             "PURP1, DAT, ETC) VALUES (%1, %2, 1234.5, '%3', 301, "
                                             "'За товар', '2010-05-05', 'DT=301\001')")
                                  .arg(key)
                                  .arg(type)
                                  .arg(number));
    }

    TemplateDocument documentOf(int type) const {
        if (kind == BookKind::CashDesk)
            return type == 1 ? TemplateDocument::CashReceipt : TemplateDocument::CashDisbursement;
        return type == 1 ? TemplateDocument::IncomingPayment : TemplateDocument::PaymentOrder;
    }

    // The text of the document printed through printTemplate for the document of type.
    QString printedText(const PrintTemplate& printTemplate, TemplateProgram program, int type) {
        QString text;
        TemplatePrinter printer(nullptr, documentOf(type), program);
        printer.setPdfPrinting([&](const QString& pdf) { text = testsupport::pdfText(pdf); });
        printer.print(printTemplate, TemplateOutput::Print, type == 1 ? kIncomeKey : kIssueKey);
        return text;
    }
};

struct StoredTemplate {
    PrintTemplate printTemplate;
    int type = 0;
};

// Each default template of the book once, with the document type of its first row.
QList<StoredTemplate> defaultTemplates() {
    fb::Transaction transaction(DataStore::instance().database());
    fb::Statement select(transaction,
                         "SELECT PRKEY, LTYP, NAME, DATA, EXT FROM PRINTFORMS ORDER BY PRKEY");
    select.execute();
    QList<StoredTemplate> templates;
    QStringList seen;
    while (select.fetch()) {
        const QString file = select.field(2).asString() + u'.' + select.field(4).asString();
        if (seen.contains(file))
            continue;
        seen << file;
        templates.append({{int(select.field(0).asInteger()), select.field(2).asString(),
                           select.field(3).asBytes(), select.field(4).asString()},
                          int(select.field(1).asInteger())});
    }
    return templates;
}

PrintTemplate rtfTemplate(const QByteArray& rtf) {
    return {1001, QStringLiteral("Акт"), rtf, QStringLiteral("rtf")};
}

} // namespace

// Documents printed through editable templates: the template filled with the document's tags
// by LibreOffice's hands, then printed or shown.
class TestTemplatePrinting : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setOfficeSearchPath(QString()); }

    // Every default template of both kinds of book prints with its tags replaced: the
    // document's and the parties' values show, no tag is left, and the partner's name with its
    // markup and its tag's text prints as it is. The Word family's DOC files are turned into
    // ODT documents first.
    void defaultTemplatesFilled_data() {
        QTest::addColumn<BookKind>("kind");
        QTest::newRow("bank account") << BookKind::BankAccount;
        QTest::newRow("cash desk") << BookKind::CashDesk;
    }
    void defaultTemplatesFilled() {
        QFETCH(BookKind, kind);
        TemplateMachine m(kind);
        const QList<StoredTemplate> templates = defaultTemplates();
        QCOMPARE(templates.size(), 8);
        for (const StoredTemplate& stored : templates) {
            const QString what = stored.printTemplate.name + u'.' + stored.printTemplate.ext;
            const TemplateProgram program = stored.printTemplate.ext == u"odt"
                                                ? TemplateProgram::Writer
                                                : TemplateProgram::Word;
            const QString text =
                withoutBlanks(m.printedText(stored.printTemplate, program, stored.type));
            QVERIFY2(text.contains(stored.type == 1 ? "4711" : "4712"), qPrintable(what));
            QVERIFY2(text.contains(withoutBlanks(kPartnerName)), qPrintable(what));
            QVERIFY2(text.contains(QStringLiteral("ТОВКалина")), qPrintable(what));
            QVERIFY2(text.contains(QStringLiteral("1234")), qPrintable(what));
            const QString rest = QString(text).remove(withoutBlanks(kPartnerName));
            const QRegularExpressionMatch tag =
                QRegularExpression(QStringLiteral("<[A-Z][A-Z0-9_]*>")).match(rest);
            QVERIFY2(!tag.hasMatch(), qPrintable(what + ": " + tag.captured()));
        }
        QCOMPARE(m.dialogs.texts, QStringList{});
        QCOMPARE(leftWorkFolders(), QStringList{});
    }

    // A Word template's macro blocks lose their markers and keep their bodies; that the macros
    // were not run is said once, then why the search of the blocks stopped. A Writer template
    // keeps them as text.
    void macroBlocksOfWordTemplates() {
        TemplateMachine m(BookKind::BankAccount);
        const QByteArray rtf = "{\\rtf1 N <NUM>. <MACRO Bold>first</MACRO> "
                               "<MACRO Upper>second</MACRO> <MACRO Open no end}";
        QString text = m.printedText(rtfTemplate(rtf), TemplateProgram::Word, 1);
        QVERIFY2(text.contains("N 4711. first second") && !text.contains("MACRO Bold") &&
                     !text.contains("</MACRO>"),
                 qPrintable(text));
        QCOMPARE(m.dialogs.texts,
                 (QStringList{"Макросы печатной формы не выполнены: Bold, Upper.\n"
                              "Выполнение макросов текстового процессора в этой программе "
                              "невозможно.",
                              "Не найден закрывающий символ \">\" для \"<MACRO\" !"}));

        m.dialogs.texts.clear();
        PrintTemplate writer = rtfTemplate(rtf);
        text = m.printedText(writer, TemplateProgram::Writer, 1);
        QVERIFY2(text.contains("<MACRO Bold>first</MACRO>"), qPrintable(text));
        QCOMPARE(m.dialogs.texts, QStringList{});
    }

    // Viewing opens the filled document in the word processor, which the program leaves
    // running: the file stays until it ends, then goes with its folder.
    void viewLeavesTheWordProcessorOpen() {
        TemplateMachine m(BookKind::CashDesk);
        QTemporaryDir office;
        testsupport::putOfficeScript(office.path(), R"sh(last=$(last_file "$@")
cp "$last" "$(dirname "$0")/shown"
while [ ! -e "$(dirname "$0")/close" ]; do sleep 0.05; done)sh");
        setOfficeSearchPath(office.path());
        TemplatePrinter printer(nullptr, TemplateDocument::CashDisbursement, TemplateProgram::Word);
        printer.setPdfPrinting([](const QString&) { QFAIL("a view prints nothing"); });
        printer.print(rtfTemplate("{\\rtf1 <NUM> <POL_PART>}"), TemplateOutput::View, kIssueKey);

        const QString shown = office.filePath("shown");
        QTRY_VERIFY(QFile::exists(shown));
        const QByteArray filled = testsupport::readFile(shown);
        QVERIFY2(filled.startsWith("{\\rtf1 4712 ") && filled.contains("\\u1056?"),
                 filled.constData());
        QCOMPARE(leftWorkFolders().size(), 1);
        QTest::qWait(1000);
        QCOMPARE(leftWorkFolders().size(), 1);
        testsupport::writeFile(office.filePath("close"), "");
        QTRY_COMPARE(leftWorkFolders(), QStringList{});
    }

    // A print that fails says why and leaves nothing behind.
    void failuresLeaveNothing_data() {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("message");
        QTest::newRow("no office program") << "doc"
                                           << "не найден LibreOffice";
        QTest::newRow("unknown format") << "txt"
                                        << "не поддерживаются";
        QTest::newRow("no zip archive") << "docx"
                                        << "";
    }
    void failuresLeaveNothing() {
        QFETCH(QString, ext);
        QFETCH(QString, message);
        TemplateMachine m(BookKind::BankAccount);
        QTemporaryDir empty;
        if (ext == u"doc")
            setOfficeSearchPath(empty.path());
        TemplatePrinter printer(nullptr, TemplateDocument::IncomingPayment,
                                TemplateProgram::Writer);
        const QString raised = messageOf([&] {
            printer.print({1, "Акт", "PK not really", ext}, TemplateOutput::Print, kIncomeKey);
        });
        QVERIFY2(!raised.isEmpty() && raised.contains(message), qPrintable(raised));
        QCOMPARE(leftWorkFolders(), QStringList{});
    }

    // LibreOffice failing on a template is told in one sentence with the template's file, and
    // its own words (a stack trace) go to standard error.
    void aFailedConversionSaysSoInOneSentence() {
        TemplateMachine m(BookKind::BankAccount);
        QTemporaryDir office;
        testsupport::putOfficeScript(office.path(), R"sh(echo 'Unspecified Application Error'
echo '#0 in SfxApplication::Main () at sfx2/source/appl/app.cxx:418' >&2
exit 1)sh");
        setOfficeSearchPath(office.path());
        TemplatePrinter printer(nullptr, TemplateDocument::IncomingPayment, TemplateProgram::Word);
        const testsupport::WarningLog log;
        const QString raised = messageOf([&] {
            printer.print({1, "Акт сверки", "a Word 97 file", "doc"}, TemplateOutput::Print,
                          kIncomeKey);
        });
        QCOMPARE(raised, QStringLiteral("Не удалось преобразовать документ «Акт сверки.doc»: "
                                        "LibreOffice завершился с ошибкой (код 1)."));
        QCOMPARE(log.messages.size(), 1);
        QVERIFY2(log.messages[0].contains("Акт сверки.doc") &&
                     log.messages[0].contains("Unspecified Application Error") &&
                     log.messages[0].contains("SfxApplication::Main"),
                 qPrintable(log.messages[0]));
        QCOMPARE(m.dialogs.texts, QStringList{});
        QCOMPARE(leftWorkFolders(), QStringList{});
    }

    // A viewer that crashes, or ends with an error, is told with the document's file; one that
    // the user closes says nothing.
    void aFailedViewerIsTold_data() {
        QTest::addColumn<QByteArray>("viewer");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("crashed") << QByteArray("echo 'Fatal exception: Signal 11' >&2; kill -11 $$")
                                 << QStringList{"LibreOffice аварийно завершил работу с документом "
                                                "«Акт.rtf»."};
        QTest::newRow("ended with an error")
            << QByteArray("exit 81")
            << QStringList{"LibreOffice завершился с ошибкой (код 81) при работе с документом "
                           "«Акт.rtf»."};
        QTest::newRow("closed") << QByteArray("exit 0") << QStringList{};
    }
    void aFailedViewerIsTold() {
        QFETCH(QByteArray, viewer);
        QFETCH(QStringList, told);
        TemplateMachine m(BookKind::CashDesk);
        QTemporaryDir office;
        testsupport::putOfficeScript(office.path(), viewer);
        setOfficeSearchPath(office.path());
        TemplatePrinter printer(nullptr, TemplateDocument::CashDisbursement, TemplateProgram::Word);
        printer.print(rtfTemplate("{\\rtf1 <NUM>}"), TemplateOutput::View, kIssueKey);
        QTRY_COMPARE(leftWorkFolders(), QStringList{});
        QCOMPARE(m.dialogs.texts, told);
    }

    // A cash receipt order printed through its template on a PDF printer, as a book keeper
    // prints it: one page, with the order on it.
    void cashReceiptOnAPdfPrinter() {
        TemplateMachine m(BookKind::CashDesk);
        QTemporaryDir out;
        const QString printed = out.filePath("printed.pdf");
        PrintTemplate receipt;
        for (const StoredTemplate& stored : defaultTemplates())
            if (stored.type == 1 && stored.printTemplate.ext == u"odt" &&
                stored.printTemplate.name.contains(QStringLiteral("Россия")))
                receipt = stored.printTemplate;
        QVERIFY(!receipt.data.isEmpty());
        TemplatePrinter printer(nullptr, TemplateDocument::CashReceipt, TemplateProgram::Writer);
        printer.setPdfPrinting([&](const QString& pdf) {
            QPrinter pdfPrinter(QPrinter::HighResolution);
            pdfPrinter.setOutputFormat(QPrinter::PdfFormat);
            pdfPrinter.setOutputFileName(printed);
            printPdf(pdf, pdfPrinter);
        });
        printer.print(receipt, TemplateOutput::Print, kIncomeKey);
        QCOMPARE(testsupport::pdfPageCount(printed), 1);
    }
};

QTEST_MAIN(TestTemplatePrinting)
#include "test_template_printing.moc"
