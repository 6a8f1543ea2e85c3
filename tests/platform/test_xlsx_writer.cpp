#include "platform/xlsx_writer.h"

#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/warning_log.h"
#include "tests/support/platform/xlsx_book.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using testsupport::messageOf;
using testsupport::readFile;
using testsupport::readXlsx;
using testsupport::writeFile;
using Line = XlsxStyle::Line;
using Align = XlsxStyle::Align;

namespace {

XlsxStyle framed(Line left, Line right, Line top, Line bottom) {
    XlsxStyle style;
    style.left = left;
    style.right = right;
    style.top = top;
    style.bottom = bottom;
    return style;
}

} // namespace

class TestXlsxWriter : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    // Values, styles and widths read back as a spreadsheet shows them; cells of one style share
    // one format.
    void cellsReadBackWithTheirStyles() {
        const QString path = m_dir->filePath("book.xlsx");
        XlsxStyle amount = framed(Line::Thin, Line::None, Line::Thick, Line::None);
        amount.align = Align::Right;
        amount.numberFormat = "#,##0.00";
        XlsxStyle custom = amount;
        custom.numberFormat = "#0.00;(#0.00)";
        XlsxStyle caption;
        caption.align = Align::Center;
        caption.wrap = true;
        {
            XlsxWriter writer(path, "Движение (Новый)");
            writer.setColumnWidth(0, 15);
            writer.setColumnWidth(2, 9.6);
            writer.writeString(0, 0, "Остаток на начало дня", caption);
            writer.writeNumber(1, 0, 1234.5, amount);
            writer.writeNumber(2, 0, -0.25, amount);
            writer.writeNumber(1, 2, 7, custom);
            writer.writeBlank(3, 2, framed(Line::Thick, Line::Thick, Line::Thin, Line::Thin));
            writer.writeString(3, 0, "без рамки", {});
            writer.close();
        }
        const testsupport::XlsxBook book = readXlsx(path);
        QCOMPARE(book.sheetName, QStringLiteral("Движение (Новый)"));
        QCOMPARE(book.columnWidths.value(0), 15.0);
        QCOMPARE(book.columnWidths.value(2), 9.57); // whole pixels of the digit's width
        QCOMPARE(book.cells.value("A1").describe(),
                 QStringLiteral("s:Остаток на начало дня|General|center|wrap|,,,"));
        QCOMPARE(book.cells.value("A2").describe(),
                 QStringLiteral("n:1234.5|#,##0.00|right||thin,,thick,"));
        QCOMPARE(book.cells.value("A3").describe(),
                 QStringLiteral("n:-0.25|#,##0.00|right||thin,,thick,"));
        QCOMPARE(book.cells.value("C2").describe(),
                 QStringLiteral("n:7|#0.00;(#0.00)|right||thin,,thick,"));
        QCOMPARE(book.cells.value("C4").describe(),
                 QStringLiteral("|General|||thick,thick,thin,thin"));
        QCOMPARE(book.cells.value("A4").describe(), QStringLiteral("s:без рамки|General|||,,,"));
        QCOMPARE(book.cells.size(), 6);
        QCOMPARE(book.cellFormats, 5); // the default and four styles
    }

    // A file that cannot be made raises the creation error; nothing is left behind.
    void aFileThatCannotBeMade() {
        const QString path = m_dir->filePath("missing/book.xlsx");
        XlsxWriter writer(path, "Лист");
        writer.writeNumber(0, 0, 1, {});
        bool creationError = false;
        try {
            writer.close();
        } catch (const XlsxCreateError& e) {
            creationError = true;
            QCOMPARE(e.message(),
                     QStringLiteral("Не удалось записать книгу «book.xlsx»: не удается создать "
                                    "файл."));
        }
        QVERIFY(creationError);
        QVERIFY(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    // The other failures say in one sentence with the workbook's file why, in the user's
    // words, and the library's own words go to standard error; a cell outside the sheet is
    // refused rather than put elsewhere.
    void failuresSayWhy_data() {
        QTest::addColumn<QString>("sheetName");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("logged");
        const QString outside = "лист больше, чем вмещает книга (не более 1 048 576 строк и "
                                "16 384 столбцов)";
        const QString outsideLogged = "Worksheet row or column index out of range.";
        QTest::newRow("a bracket in the name")
            << "Отчёт [Новый]" << 0 << 0 << "текст"
            << "название листа «Отчёт [Новый]» содержит недопустимые знаки [ ] : * ? / \\"
            << "Worksheet name cannot contain invalid characters: '[ ] : * ? / \\'";
        QTest::newRow("an apostrophe at the end")
            << "Отчёт'" << 0 << 0 << "текст"
            << "название листа «Отчёт'» начинается или кончается апострофом"
            << "Worksheet name cannot start or end with an apostrophe.";
        QTest::newRow("32 characters")
            << QString(32, QChar(u'Щ')) << 0 << 0 << "текст"
            << "название листа «" + QString(32, QChar(u'Щ')) + "» длиннее 31 знака"
            << "Worksheet name exceeds Excel's limit of 31 characters.";
        QTest::newRow("a text too long") << "Лист" << 0 << 0 << QString(32768, QChar(u'ы'))
                                         << "текст ячейки длиннее 32 767 знаков"
                                         << "String exceeds Excel's limit of 32,767 characters.";
        QTest::newRow("column 16384")
            << "Лист" << 0 << 16384 << "текст" << outside << outsideLogged;
        QTest::newRow("column 65536 + 1")
            << "Лист" << 0 << 65537 << "текст" << outside << outsideLogged;
        QTest::newRow("row 1048576")
            << "Лист" << 1048576 << 0 << "текст" << outside << outsideLogged;
        QTest::newRow("column -1") << "Лист" << 0 << -1 << "текст" << outside << outsideLogged;
    }
    void failuresSayWhy() {
        QFETCH(QString, sheetName);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        QFETCH(QString, logged);
        const QString path = m_dir->filePath("Движение.xlsx");
        const testsupport::WarningLog log;
        QCOMPARE(messageOf([&] {
                     XlsxWriter writer(path, sheetName);
                     writer.writeString(row, column, text, {});
                     writer.close();
                 }),
                 "Не удалось записать книгу «Движение.xlsx»: " + reason + ".");
        QCOMPARE(log.messages, QStringList{"libxlsxwriter, книга " + path + ": " + logged});
        QVERIFY(!QFile::exists(path));
    }

    // A file of the same name is replaced only by a whole workbook: a writer given up leaves it
    // as it was, one that closes replaces it.
    void anOldFileIsReplacedOnlyWhenWhole() {
        const QString path = m_dir->filePath("book.xlsx");
        writeFile(path, "old");
        {
            XlsxWriter writer(path, "Лист");
            writer.writeNumber(0, 0, 1, {});
        }
        QCOMPARE(readFile(path), QByteArray("old"));
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList{"book.xlsx"});
        {
            XlsxWriter writer(path, "Лист");
            writer.writeNumber(0, 0, 1, {});
            writer.close();
        }
        QCOMPARE(readXlsx(path).cells.value("A1").value, QStringLiteral("n:1"));
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList{"book.xlsx"});
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestXlsxWriter)
#include "test_xlsx_writer.moc"
