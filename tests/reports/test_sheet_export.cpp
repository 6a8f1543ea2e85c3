#include "platform/office.h"
#include "platform/work_folder.h"
#include "reports/sheet_export.h"
#include "reports/sheet_grid.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/warning_log.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/platform/work_folders.h"
#include "tests/support/platform/xlsx_book.h"
#include "tests/support/ui/dialog_recorder.h"
#include "ui/gauge.h"
#include "ui/progress_window.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using testsupport::messageOf;
using testsupport::readXlsx;

namespace {

const QString kNoProgram = QStringLiteral(
    "Операция невозможна. На компьютере не обнаружен ни Microsoft Excel, ни OpenOffice Calc!");
const QString kTitle = QStringLiteral("Движение денежных средств [Новый]");

// Five columns, the first 100 pixels wide, and seven cells among the twenty of four rows:
//   (0, 0) a title;
//   (1, 1) an amount through "#,##0.00" on the right, borders 1, 0, 3, 0;
//   (2, 1) an amount through " #0.00;(#0.00) " in the centre, wrapped;
//   (3, 1) an amount without a format, borders 0, 1, 1, 1;
//   (1, 2) an empty cell with borders 2, 4, 5, 0;
//   (2, 2) a wrapped text;
//   (0, 3) a text with a number format, which a text does not take.
void fillSheet(SheetGrid& sheet) {
    sheet.setGridSize(0, 0, 5, 4);
    sheet.setColWidth(0, 100);
    sheet.setColWidth(2, 200);
    sheet.setColWidth(4, 0);
    sheet.setCellString(0, 0, QStringLiteral("Движение денежных средств"));
    sheet.setCellCurrency(1, 1, Currency{12345000});
    sheet.setCellNumberFormat(1, 1, QStringLiteral("#,##0.00"));
    sheet.setCellAlignment(1, 1, CellAlignment::Right);
    sheet.setCellBorders(1, 1, 1, 0, 3, 0);
    sheet.setCellCurrency(2, 1, Currency{-72500});
    sheet.setCellNumberFormat(2, 1, QStringLiteral(" #0.00;(#0.00) "));
    sheet.setCellAlignment(2, 1, CellAlignment::Center);
    sheet.setCellWordWrap(2, 1, true);
    sheet.setCellCurrency(3, 1, Currency{125000});
    sheet.setCellBorders(3, 1, 0, 1, 1, 1);
    sheet.setCellBorders(1, 2, 2, 4, 5, 0);
    sheet.setCellString(2, 2, QStringLiteral("Оплата по договору поставки"));
    sheet.setCellWordWrap(2, 2, true);
    sheet.setCellString(0, 3, QStringLiteral("Итого"));
    sheet.setCellNumberFormat(0, 3, QStringLiteral("0.00"));
}

// The gauge's progress and end at each of its paints.
class GaugeWatch : public QObject {
public:
    GaugeWatch() { qApp->installEventFilter(this); }
    ~GaugeWatch() override { qApp->removeEventFilter(this); }
    QList<QPair<int, int>> paints;
    QString caption;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            if (auto* gauge = qobject_cast<Gauge*>(watched)) {
                paints << qMakePair(gauge->progress(), gauge->maxValue());
                caption = gauge->window()->windowTitle();
            }
        return false;
    }
};

// The workbooks handed on, read while their folder is still there.
struct Opened {
    QStringList paths;
    QList<testsupport::XlsxBook> books;
    WorkbookOpener opener() {
        return [this](std::unique_ptr<WorkFolder> folder, const QString& path) {
            if (!QFileInfo(path).absolutePath().startsWith(folder->path()))
                qFatal("the workbook is not in its work folder");
            paths << path;
            books << readXlsx(path);
        };
    }
};

} // namespace

class TestSheetExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        fillSheet(m_sheet);
    }
    void init() {
        m_office = std::make_unique<QTemporaryDir>();
        testsupport::putFakeOffice(m_office->path());
        setOfficeSearchPath(m_office->path());
    }
    void cleanup() { setOfficeSearchPath(QString()); }

    // Every cell of the range that exists goes to its own row and column with its value, its
    // mask unchanged (under a decimal comma too), its borders (1 thin, 2 to 4 thick, others
    // none), alignment and wrap; the widths are 0.15 characters a pixel; the sheet takes the
    // cleaned title. The gauge counts the cells written, under its caption.
    void cellsGoToTheirPlaces_data() {
        QTest::addColumn<int>("x1");
        QTest::addColumn<int>("y1");
        QTest::addColumn<int>("x2");
        QTest::addColumn<int>("y2");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QList<double>>("widths");
        const QString title = "s:Движение денежных средств|General|||,,,";
        const QString amount = "n:1234.5|#,##0.00|right||thin,,thick,";
        const QString negative = "n:-7.25|#0.00;(#0.00)|center|wrap|,,,";
        const QString plain = "n:12.5|General|||,thin,thin,thin";
        const QString framed = "|General|||thick,thick,,";
        const QString text = "s:Оплата по договору поставки|General||wrap|,,,";
        const QString total = "s:Итого|General|||,,,";
        QTest::newRow("whole sheet")
            << 0 << 0 << 4 << 3
            << QStringList{"A1 " + title,    "A4 " + total, "B2 " + amount, "B3 " + framed,
                           "C2 " + negative, "C3 " + text,  "D2 " + plain}
            << QList<double>{15, 9.57, 30, 9.57, 0};
        QTest::newRow("a part") << 1 << 1 << 2 << 2
                                << QStringList{"B2 " + amount, "B3 " + framed, "C2 " + negative,
                                               "C3 " + text}
                                << QList<double>{-1, 9.57, 30};
    }
    void cellsGoToTheirPlaces() {
        QFETCH(int, x1);
        QFETCH(int, y1);
        QFETCH(int, x2);
        QFETCH(int, y2);
        QFETCH(QStringList, cells);
        QFETCH(QList<double>, widths);
        Dialogs dialogs;
        QWidget owner;
        owner.show();
        Opened opened;
        GaugeWatch watch;
        exportSheet(&owner, m_sheet, {x1, y1, x2, y2}, kTitle, opened.opener());

        QCOMPARE(dialogs.texts, QStringList());
        QCOMPARE(opened.books.size(), 1);
        const testsupport::XlsxBook& book = opened.books[0];
        QCOMPARE(book.sheetName, QStringLiteral("Движение денежных средств (Новы"));
        QStringList written;
        for (auto cell = book.cells.cbegin(); cell != book.cells.cend(); ++cell)
            written << cell.key() + " " + cell->describe();
        QCOMPARE(written, cells);
        for (int x = 0; x < widths.size(); ++x)
            if (widths[x] >= 0)
                QCOMPARE(book.columnWidths.value(x, -1), widths[x]);
        QCOMPARE(book.columnWidths.size(), x2 - x1 + 1);

        QCOMPARE(watch.caption, QStringLiteral("Преобразование ..."));
        QVERIFY(!watch.paints.isEmpty());
        QCOMPARE(watch.paints.first(), qMakePair(0, int(cells.size())));
        QCOMPARE(watch.paints.last(), qMakePair(int(cells.size()), int(cells.size())));
        QVERIFY(owner.findChildren<ProgressWindow*>().isEmpty());
        QVERIFY(testsupport::leftWorkFolders().isEmpty());
    }

    // A sheet's name holds none of [ ] : * ? / \, no apostrophe at its ends and 31 characters
    // at most; a title becomes one that a spreadsheet takes.
    void titlesBecomeSheetNames_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("as it is") << "Отчёт по плательщикам"
                                  << "Отчёт по плательщикам";
        QTest::newRow("a new report's caption") << "Движение денежных средств [Новый]"
                                                << "Движение денежных средств (Новы";
        QTest::newRow("characters that go") << "Итоги: 1/2*3?\\4"
                                            << "Итоги 1234";
        QTest::newRow("apostrophes at the ends") << "'Касса' за 'март'"
                                                 << "Касса' за 'март";
        QTest::newRow("an apostrophe at the cut")
            << QString(30, QChar(u'Я')) + "'ab" << QString(30, QChar(u'Я'));
        QTest::newRow("nothing left") << "''"
                                      << "Лист1";
        QTest::newRow("empty") << ""
                               << "Лист1";
    }
    void titlesBecomeSheetNames() {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(spreadsheetSheetName(title), name);
        QVERIFY(spreadsheetSheetName(title).size() <= 31);
    }

    // Without a LibreOffice that shows windows: the warning, and no workbook.
    void noLibreOfficeWarns() {
        const QTemporaryDir noOffice;
        setOfficeSearchPath(noOffice.path());
        Dialogs dialogs;
        Opened opened;
        exportSheet(nullptr, m_sheet, {0, 0, 4, 3}, kTitle, opened.opener());
        QCOMPARE(dialogs.texts, QStringList{kNoProgram});
        QCOMPARE(dialogs.requests[0].icon, MessageIcon::Warning);
        QVERIFY(opened.paths.isEmpty());
        QVERIFY(testsupport::leftWorkFolders().isEmpty());
    }

    // LibreOffice gets the workbook, as a file URL, as the template of a new document; its
    // folder goes when LibreOffice ends, and an end the user closed tells nothing.
    void libreOfficeOpensANewDocument() {
        testsupport::putOfficeScript(m_office->path(), R"sh(
last=$(last_file "$@")
cp "$last" "$(dirname "$0")/opened.xlsx"
printf '%s\n' "$@" > "$(dirname "$0")/args.part"
mv "$(dirname "$0")/args.part" "$(dirname "$0")/args")sh");
        Dialogs dialogs;
        exportSheet(nullptr, m_sheet, {0, 0, 4, 3}, kTitle);
        QTRY_VERIFY(QFile::exists(m_office->filePath("args")));
        const QStringList args =
            QString::fromUtf8(testsupport::readFile(m_office->filePath("args"))).split('\n');
        QCOMPARE(args.size(), 6);
        QCOMPARE(args[3], QStringLiteral("-n"));
        const QString workbook = QUrl(args[4]).toLocalFile();
        QCOMPARE(args[4], officeFileUrl(workbook));
        QCOMPARE(QFileInfo(workbook).fileName(),
                 QStringLiteral("Движение денежных средств (Новы.xlsx"));
        QCOMPARE(readXlsx(m_office->filePath("opened.xlsx")).cells.size(), 7);
        QTRY_VERIFY(!QFileInfo::exists(QFileInfo(workbook).absolutePath()));
        QCOMPARE(dialogs.texts, QStringList());
    }

    // A LibreOffice that ends with an error on the workbook is told, with the workbook's file.
    void aFailedLibreOfficeIsTold() {
        testsupport::putOfficeScript(m_office->path(), "echo 'General Error.' >&2; exit 1");
        Dialogs dialogs;
        exportSheet(nullptr, m_sheet, {0, 0, 4, 3}, kTitle);
        QTRY_COMPARE(dialogs.texts,
                     QStringList{"LibreOffice завершился с ошибкой (код 1) при работе с "
                                 "документом «Движение денежных средств (Новы.xlsx»."});
        QCOMPARE(dialogs.requests[0].icon, MessageIcon::Warning);
        QTRY_VERIFY(testsupport::leftWorkFolders().isEmpty());
    }

    // A failure while writing ends the export with its message in the user's words (the
    // library's own goes to standard error): the progress window and the work folder go,
    // nothing is opened.
    void aFailureEndsTheExport() {
        SheetGrid sheet;
        sheet.setCellString(0, 0, QStringLiteral("Слева"));
        sheet.setCellString(20000, 0, QStringLiteral("За краем листа"));
        QWidget owner;
        Opened opened;
        Dialogs dialogs;
        const testsupport::WarningLog log;
        QCOMPARE(messageOf([&] {
                     exportSheet(&owner, sheet, wholeSheet(sheet), kTitle, opened.opener());
                 }),
                 QStringLiteral("Не удалось записать книгу «Движение денежных средств "
                                "(Новы.xlsx»: лист больше, чем вмещает книга (не более "
                                "1 048 576 строк и 16 384 столбцов)."));
        const QStringList logged = log.messages.filter("libxlsxwriter");
        QCOMPARE(logged.size(), 1);
        QVERIFY2(logged[0].endsWith("Движение денежных средств (Новы.xlsx: Worksheet row or "
                                    "column index out of range."),
                 qPrintable(logged[0]));
        QVERIFY(opened.paths.isEmpty());
        QVERIFY(owner.findChildren<ProgressWindow*>().isEmpty());
        QVERIFY(testsupport::leftWorkFolders().isEmpty());
        QVERIFY(dialogs.texts.isEmpty());
    }

private:
    SheetGrid m_sheet;
    std::unique_ptr<QTemporaryDir> m_office;
};

QTEST_MAIN(TestSheetExport)
#include "test_sheet_export.moc"
