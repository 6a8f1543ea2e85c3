#include "core/exceptions.h"
#include "reports/report_sheet.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/reports/sheet_keys.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace sheetkeys;
using testsupport::messageOf;

namespace {

struct ShownSheet {
    ReportSheet sheet;
    ShownSheet() {
        sheet.setGridSize(0, 0, 6, 8);
        sheet.show();
        if (!QTest::qWaitForWindowExposed(&sheet))
            qFatal("the sheet is not shown");
    }
};

} // namespace

class TestInteractiveSheet : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("de_DE"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void editingFollowsTheWTag() {
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        sheet.setCellCurrency(2, 2, Currency{100000});
        sheet.setCellParam(2, 2, QStringLiteral("W"), QStringLiteral("1"));
        sheet.setCellCurrency(3, 2, Currency{100000});
        QVERIFY(!(sheet.gridOptions() & SheetGrid::Option::Editing));
        QVERIFY(sheet.setCurrentCell(2, 2));
        QVERIFY(sheet.gridOptions() & SheetGrid::Option::Editing);
        QTest::keyClick(&sheet, Qt::Key_Right);
        QCOMPARE(sheet.currentCol(), 3);
        QVERIFY(!(sheet.gridOptions() & SheetGrid::Option::Editing));
        type(sheet, QStringLiteral("5"));
        QVERIFY(!sheet.isEditing());
        QCOMPARE(sheet.cellCurrency(3, 2).units, 100000);
        // The report's own rule comes first.
        sheet.onCanEditCell = [](int x, int) { return x == 3; };
        QVERIFY(sheet.setCurrentCell(2, 2));
        QVERIFY(!(sheet.gridOptions() & SheetGrid::Option::Editing));
    }

    void typedTextIsStored_data() {
        QTest::addColumn<QString>("kind"); // none, amount, text
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // cellText afterwards
        QTest::addColumn<bool>("noted");
        QTest::newRow("amount in the locale's notation") << "amount"
                                                         << "12,5"
                                                         << "12,5" << true;
        QTest::newRow("amount with a point") << "amount"
                                             << "7.25"
                                             << "7,25" << true;
        QTest::newRow("amount that does not read") << "amount"
                                                   << "abc"
                                                   << "10" << false;
        QTest::newRow("the same amount") << "amount"
                                         << "10,00"
                                         << "10" << false;
        QTest::newRow("new text") << "text"
                                  << "Итог"
                                  << "Итог" << true;
        QTest::newRow("the same text") << "text"
                                       << "Касса"
                                       << "Касса" << false;
        QTest::newRow("into a missing cell") << "none"
                                             << "15"
                                             << "15" << true;
    }
    void typedTextIsStored() {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, noted);
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        if (kind == QLatin1String("amount"))
            sheet.setCellCurrency(2, 3, Currency{100000});
        else if (kind == QLatin1String("text"))
            sheet.setCellString(2, 3, QStringLiteral("Касса"));
        sheet.onCanEditCell = [](int, int) { return true; };
        QVERIFY(sheet.setCurrentCell(2, 3));
        type(sheet, typed);
        QVERIFY(sheet.isEditing());
        press(sheet, Qt::Key_Return);
        QVERIFY(!sheet.isEditing());
        QCOMPARE(sheet.cellText(2, 3), stored);
        if (kind == QLatin1String("none"))
            QCOMPARE(sheet.cellValueKind(2, 3), CellValueKind::Text);
        int x = -1;
        int y = -1;
        QCOMPARE(sheet.popChangedCell(x, y), noted);
        if (noted) {
            QCOMPARE(x, 2);
            QCOMPARE(y, 3);
        }
        QVERIFY(!sheet.popChangedCell(x, y));
    }

    void cellChangedTwiceIsNotedOnce() {
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        sheet.setCellCurrency(1, 4, Currency{100000});
        sheet.setCellParam(1, 4, QStringLiteral("W"), QStringLiteral("1"));
        sheet.setCellParam(1, 5, QStringLiteral("W"), QStringLiteral("1"));
        QVERIFY(sheet.setCurrentCell(1, 4));
        type(sheet, QStringLiteral("20"));
        press(sheet, Qt::Key_Return);
        type(sheet, QStringLiteral("30"));
        // Leaving the cell stores the text too.
        press(sheet, Qt::Key_Down);
        QCOMPARE(sheet.currentRow(), 5);
        QCOMPARE(sheet.cellCurrency(1, 4).units, 300000);
        // So does a reader of the changed cells, while the editor is still open.
        type(sheet, QStringLiteral("x"));
        QVERIFY(sheet.isEditing());
        int x = -1;
        int y = -1;
        QVERIFY(sheet.popChangedCell(x, y));
        QCOMPARE(QPoint(x, y), QPoint(1, 4));
        QVERIFY(sheet.popChangedCell(x, y));
        QCOMPARE(QPoint(x, y), QPoint(1, 5));
        QCOMPARE(sheet.cellText(1, 5), QStringLiteral("x"));
        QVERIFY(!sheet.popChangedCell(x, y));
    }

    void editorStartsFromTheCell_data() {
        QTest::addColumn<bool>("amount");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::newRow("amount through its format") << true << "#,##0.00"
                                                   << "1.234,50";
        QTest::newRow("amount without a format") << true << ""
                                                 << "1234,5";
        QTest::newRow("text cell") << false << ""
                                   << "Примечание к отчёту";
    }
    void editorStartsFromTheCell() {
        QFETCH(bool, amount);
        QFETCH(QString, mask);
        QFETCH(QString, text);
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        if (amount)
            sheet.setCellAmount(4, 4, Currency{12345000}, mask, CellAlignment::Right);
        else
            sheet.setCellString(4, 4, text);
        sheet.setCellParam(4, 4, QStringLiteral("W"), QStringLiteral("1"));
        QVERIFY(sheet.setCurrentCell(4, 4));
        QTest::keyClick(&sheet, Qt::Key_F2);
        QVERIFY(sheet.isEditing());
        QCOMPARE(editorOf(sheet)->text(), text);
        // Escape leaves the cell as it was.
        editorOf(sheet)->setText(QStringLiteral("999"));
        QTest::keyClick(editorOf(sheet), Qt::Key_Escape);
        QVERIFY(!sheet.isEditing());
        QCOMPARE(sheet.cellValueKind(4, 4), amount ? CellValueKind::Currency : CellValueKind::Text);
        int x = -1;
        int y = -1;
        QVERIFY(!sheet.popChangedCell(x, y));
    }

    void keyHookSeesTheTypedValue_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row"); // the current row after the key
        QTest::newRow("Enter") << int(Qt::Key_Return) << 3;
        QTest::newRow("Down") << int(Qt::Key_Down) << 4;
        QTest::newRow("Up") << int(Qt::Key_Up) << 2;
    }
    void keyHookSeesTheTypedValue() {
        QFETCH(int, key);
        QFETCH(int, row);
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        sheet.setCellAmount(2, 3, Currency{100000}, QStringLiteral("#0.00"), CellAlignment::Right);
        sheet.setCellParam(2, 3, QStringLiteral("W"), QStringLiteral("1"));
        QList<qint64> seenDown;
        QList<qint64> seenUp;
        sheet.onCellKeyDown = [&](int& pressed, Qt::KeyboardModifiers) {
            if (pressed == key)
                seenDown << sheet.cellCurrency(2, 3).units;
        };
        sheet.onCellKeyUp = [&](int& released, Qt::KeyboardModifiers) {
            if (released == key)
                seenUp << sheet.cellCurrency(2, 3).units;
        };
        int afterKeyPress = 0;
        sheet.onAfterKeyPress = [&] { ++afterKeyPress; };
        QVERIFY(sheet.setCurrentCell(2, 3));
        type(sheet, QStringLiteral("25,5"));
        QCOMPARE(afterKeyPress, 1); // the key that opened the editor
        QTest::keyPress(editorOf(sheet), Qt::Key(key));
        QTest::keyRelease(&sheet, Qt::Key(key));
        QCOMPARE(seenDown, QList<qint64>{255000});
        QCOMPARE(seenUp, QList<qint64>{255000});
        QCOMPARE(sheet.currentRow(), row);
        QCOMPARE(afterKeyPress, key == Qt::Key_Return ? 2 : 1);
    }

    void sumCountsEveryCellThatReads() {
        ReportSheet sheet;
        sheet.setCellCurrency(1, 0, Currency{100000});
        sheet.setCellString(1, 1, QStringLiteral("Итого"));
        sheet.setCellCurrency(1, 2, Currency{25000});
        sheet.setCellString(2, 2, QStringLiteral("7,5"));
        sheet.setCellParam(2, 1, QStringLiteral("H"), QStringLiteral("1"));
        sheet.setCellAmount(2, 3, Currency{-5000}, QStringLiteral("#0.00"), CellAlignment::Right);
        QCOMPARE(sheet.sumCells(1, 0, 2, 5).units, 100000 + 25000 + 75000 - 5000);
        QCOMPARE(sheet.sumCells(1, 1, 1, 2).units, 25000);
        QCOMPARE(sheet.sumCells(4, 4, 5, 5).units, 0);
    }

    void handCursorOverHotCells() {
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        sheet.setCellParam(1, 1, QStringLiteral("H"), QStringLiteral("1"));
        sheet.setCellString(2, 1, QStringLiteral("x"));
        QTest::mouseMove(sheet.viewport(), sheet.cellRect(1, 1).center());
        QCOMPARE(sheet.viewport()->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(sheet.viewport(), sheet.cellRect(2, 1).center());
        QCOMPARE(sheet.viewport()->cursor().shape(), Qt::ArrowCursor);
    }

    void countersFollowTheCells() {
        ReportSheet sheet;
        sheet.setCellString(3, 2, QStringLiteral("a"));
        sheet.resetCounters();
        QCOMPARE(sheet.colCounter(), 5);
        QCOMPARE(sheet.rowCounter(), 4);
        QCOMPARE(sheet.nextCol(), 5);
        QCOMPARE(sheet.colCounter(), 6);
        QCOMPARE(sheet.nextRow(), 4);
        QCOMPARE(sheet.rowCounter(), 5);
        sheet.setFixedWidth(2);
        sheet.zeroCounters();
        QCOMPARE(sheet.colCounter() + sheet.rowCounter() + sheet.fixedWidth(), 0);
        QCOMPARE(sheet.gridOptions(), SheetGrid::Option::VertLine | SheetGrid::Option::HorzLine |
                                          SheetGrid::Option::RangeSelect);
    }

    void tagListsOfDifferentLengthsAreRefused() {
        ReportSheet sheet;
        const QStringList two{QStringLiteral("A"), QStringLiteral("B")};
        const QStringList one{QStringLiteral("1")};
        QCOMPARE(messageOf([&] { sheet.setRowTags(3, two, one); }),
                 QStringLiteral("T_Set_TechnoParam_byRow: кол-во параметров не соответсвует "
                                "кол-ву значений"));
        QCOMPARE(messageOf([&] { sheet.setColumnTags(3, two, one); }),
                 QStringLiteral("T_Set_TechnoParam_byCol: кол-во параметров не соответсвует "
                                "кол-ву значений"));
        QVERIFY(!sheet.cellExists(0, 3));
        QVERIFY(!sheet.cellExists(3, 0));
        int x = 0;
        QCOMPARE(
            messageOf([&] { sheet.findNextColumn(x, two, one); }),
            QStringLiteral("FindColNext_byTechnoParamsAndValues: High(Parameters)<>High(Values)"));
        QCOMPARE(
            messageOf([&] { sheet.findFirstRow(x, two, one); }),
            QStringLiteral("FindRowNext_byTechnoParamsAndValues: High(Parameters)<>High(Values)"));
    }

    void columnsAndRowsAreFoundByTags() {
        ReportSheet sheet;
        const QString id = QStringLiteral("COL_ID");
        const QString kind = QStringLiteral("KIND");
        sheet.setColumnTags(1, {id, kind}, {QStringLiteral("COL_ID_INCOME"), QStringLiteral("1")});
        sheet.setColumnTags(2, {id}, {QStringLiteral("COL_ID_ISSUE")});
        sheet.setColumnTags(4, {id, kind}, {QStringLiteral("COL_ID_INCOME"), QStringLiteral("2")});
        sheet.setRowTags(3, {QStringLiteral("ROW_ID")}, {QStringLiteral("5")});
        QCOMPARE(sheet.columnTag(4, kind), QStringLiteral("2"));
        QCOMPARE(sheet.rowTag(3, QStringLiteral("ROW_ID")), QStringLiteral("5"));
        int x = 99;
        QVERIFY(sheet.findFirstColumn(x, {id}, {QStringLiteral("COL_ID_INCOME")}));
        QCOMPARE(x, 1);
        QVERIFY(sheet.findNextColumn(x, {id}, {QStringLiteral("COL_ID_INCOME")}));
        QCOMPARE(x, 4);
        QVERIFY(!sheet.findNextColumn(x, {id}, {QStringLiteral("COL_ID_INCOME")}));
        QVERIFY(sheet.findFirstColumn(x, {id, kind}, {QStringLiteral("COL_ID_INCOME"), "2"}));
        QCOMPARE(x, 4);
        QVERIFY(!sheet.findFirstColumn(x, {id}, {QStringLiteral("col_id_income")}));
        // A missing tag reads as empty; no keys match every column.
        QVERIFY(sheet.findFirstColumn(x, {kind}, {QString()}));
        QCOMPARE(x, 0);
        QVERIFY(sheet.findFirstColumn(x, {}, {}));
        QCOMPARE(x, 0);
        int y = -1;
        QVERIFY(sheet.findFirstRow(y, {QStringLiteral("ROW_ID")}, {QStringLiteral("5")}));
        QCOMPARE(y, 3);
        QVERIFY(!sheet.findNextRow(y, {QStringLiteral("ROW_ID")}, {QStringLiteral("5")}));
    }

    void ctrlAltYShowsTheTags() {
        ShownSheet shown;
        ReportSheet& sheet = shown.sheet;
        sheet.setColumnTags(2, {QStringLiteral("COL_ID"), QStringLiteral("N")},
                            {QStringLiteral("COL_INCOME"), QStringLiteral("1")});
        sheet.setRowTags(3, {QStringLiteral("ROW_ID")}, {QStringLiteral("5")});
        sheet.setCellParam(2, 3, QStringLiteral("H"), QStringLiteral("1"));
        QVERIFY(sheet.setCurrentCell(2, 3));
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        sheet.setFocus();
        Dialogs dialogs;
        QTest::keyClick(&sheet, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(dialogs.texts,
                 QStringList{QStringLiteral("============> Параметры колонки\nCOL_ID=COL_INCOME\n"
                                            "N=1\n============> Параметры строки\nROW_ID=5\n"
                                            "============> Параметры ячейки\nH=1\n")});
        QCOMPARE(sheet.tagDumpAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y));
    }
};

QTEST_MAIN(TestInteractiveSheet)
#include "test_interactive_sheet.moc"
