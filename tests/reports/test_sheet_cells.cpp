#include "core/exceptions.h"
#include "reports/sheet_cells.h"
#include "reports/sheet_grid.h"

#include <QLocale>
#include <QPaintEvent>
#include <QTest>

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void settle() {
    QTest::qWait(50);
}

} // namespace

class TestSheetCells : public QObject {
    Q_OBJECT
private slots:
    void storeGrowsToTheCellsWritten() {
        SheetCells cells;
        QCOMPARE(cells.xCount(), 0);
        QCOMPARE(cells.yCount(), 0);
        QVERIFY(!cells.cell(0, 0));
        cells.cellForWriting(5, 2).value = Currency{125000};
        QCOMPARE(cells.xCount(), 6);
        QCOMPARE(cells.yCount(), 3);
        cells.cellForWriting(1, 7);
        QCOMPARE(cells.xCount(), 6);
        QCOMPARE(cells.yCount(), 8);
        QCOMPARE(std::get<Currency>(cells.cell(5, 2)->value).units, 125000);
        // Reading beyond the counts finds nothing and grows nothing.
        QVERIFY(!cells.cell(9, 20));
        QVERIFY(!cells.cell(-1, 2));
        QVERIFY(!cells.cell(3, 2));
        QCOMPARE(cells.xCount(), 6);
        QCOMPARE(cells.yCount(), 8);
        cells.clear();
        QCOMPARE(cells.xCount(), 0);
        QCOMPARE(cells.yCount(), 0);
        QVERIFY(!cells.cell(5, 2));
        QVERIFY(!cells.cell(1, 7));
    }

    void sheetWrittenRowByRowKeepsEveryCell() {
        SheetCells cells;
        constexpr int kRows = 30000;
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < 4; ++x)
                cells.cellForWriting(x, y).value = QString::number(y * 4 + x);
        QCOMPARE(cells.xCount(), 4);
        QCOMPARE(cells.yCount(), kRows);
        for (int y = 0; y < kRows; y += 997)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(std::get<QString>(cells.cell(x, y)->value), QString::number(y * 4 + x));
    }

    void newCellHasItsDefaults() {
        SheetCells cells;
        const SheetCell& cell = cells.cellForWriting(2, 3);
        QCOMPARE(cell.kind(), CellValueKind::Empty);
        QVERIFY(cell.tags.isEmpty());
        QCOMPARE(cell.borderLeft + cell.borderRight + cell.borderTop + cell.borderBottom, 0);
        QCOMPARE(cell.alignment, CellAlignment::Left);
        QVERIFY(cell.numberFormat.isEmpty());
        QVERIFY(!cell.wordWrap);
        QCOMPARE(cell.color, kWindowColor);
        QCOMPARE(cell.textColor, kWindowTextColor);
        QCOMPARE(quint32(kWindowColor), 0xFF000005u);
        QCOMPARE(quint32(kWindowTextColor), 0xFF000008u);
    }

    void addressOutsideTheSheetIsRefused_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("column below 0") << -1 << 0;
        QTest::newRow("row below 0") << 0 << -3;
        QTest::newRow("column too far") << SheetCells::kMaxIndex + 1 << 0;
        QTest::newRow("row too far") << 0 << 2000000000;
    }
    void addressOutsideTheSheetIsRefused() {
        QFETCH(int, x);
        QFETCH(int, y);
        SheetGrid grid;
        QVERIFY_THROWS_EXCEPTION(Exception, grid.setCellString(x, y, QStringLiteral("a")));
        QCOMPARE(grid.xCount(), 0);
        QCOMPARE(grid.yCount(), 0);
    }

    void missingCellReadsNeutral() {
        SheetGrid grid;
        QVERIFY(!grid.cellExists(3, 4));
        QCOMPARE(grid.cellValueKind(3, 4), CellValueKind::Empty);
        QCOMPARE(grid.cellCurrency(3, 4).units, 0);
        QVERIFY(grid.cellText(3, 4).isEmpty());
        QCOMPARE(grid.cellBorders(3, 4), SheetGrid::Borders{});
        QCOMPARE(grid.cellAlignment(3, 4), CellAlignment::Left);
        QVERIFY(grid.cellNumberFormat(3, 4).isEmpty());
        QVERIFY(!grid.cellWordWrap(3, 4));
        QVERIFY(grid.cellParams(3, 4).isEmpty());
        QVERIFY(grid.cellParam(3, 4, QStringLiteral("H")).isEmpty());
        QCOMPARE(grid.cellColor(3, 4), kWindowColor);
        QCOMPARE(grid.cellTextColor(3, 4), kWindowTextColor);
        QCOMPARE(grid.xCount(), 0);
    }

    void cellReadsWhatWasWritten() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        SheetGrid grid;
        grid.setCellCurrency(1, 1, Currency{125000});
        QCOMPARE(grid.cellValueKind(1, 1), CellValueKind::Currency);
        QCOMPARE(grid.cellText(1, 1), QStringLiteral("12,5"));
        grid.setCellString(2, 1, QStringLiteral("7,25"));
        QCOMPARE(grid.cellValueKind(2, 1), CellValueKind::Text);
        QCOMPARE(grid.cellCurrency(2, 1).units, 72500);
        grid.setCellString(3, 1, QStringLiteral("Итого"));
        QVERIFY_THROWS_EXCEPTION(ConvertError, grid.cellCurrency(3, 1));
        grid.setCellParam(3, 1, QStringLiteral("H"), QStringLiteral("1"));
        grid.setCellParam(3, 1, QStringLiteral("W"), QStringLiteral("1"));
        grid.setCellParam(3, 1, QStringLiteral("H"), QStringLiteral("0"));
        QCOMPARE(grid.cellParam(3, 1, QStringLiteral("H")), QStringLiteral("0"));
        QCOMPARE(grid.cellParams(3, 1), QStringLiteral("W=1\x01H=0\x01"));
        QLocale::setDefault(QLocale::c());
    }

    void bordersOfMinusOneStay() {
        SheetGrid grid;
        grid.setCellBorders(2, 2, 1, 1, 1, 1);
        grid.setCellBorders(2, 2, -1, 2, -1, -1);
        QCOMPARE(grid.cellBorders(2, 2), (SheetGrid::Borders{1, 2, 1, 1}));
        grid.addSelectedRect(0, 0, 1, 2);
        grid.addSelectedRect(3, 3, 3, 3);
        grid.setSelectionBorders(2, -1, 0, 3);
        for (int x = 0; x <= 1; ++x)
            for (int y = 0; y <= 2; ++y)
                QCOMPARE(grid.cellBorders(x, y), (SheetGrid::Borders{2, 0, 0, 3}));
        QCOMPARE(grid.cellBorders(3, 3), (SheetGrid::Borders{2, 0, 0, 3}));
        QVERIFY(!grid.cellExists(2, 3));
        QCOMPARE(grid.cellBorders(2, 2), (SheetGrid::Borders{1, 2, 1, 1}));
    }

    void gridSizeSetsCountsThenFixed() {
        SheetGrid grid;
        grid.setGridSize(1, 2, 3, 4);
        QCOMPARE(grid.colCount(), 4);
        QCOMPARE(grid.rowCount(), 6);
        QCOMPARE(grid.fixedCols(), 1);
        QCOMPARE(grid.fixedRows(), 2);
        grid.setGridSize(0, 0, 2, 3);
        QCOMPARE(grid.colCount(), 2);
        QCOMPARE(grid.fixedCols(), 0);
        QCOMPARE(grid.defaultRowHeight(), 20);
        // As many fixed columns as columns, or counts below 0, are refused, the grid unchanged.
        QVERIFY_THROWS_EXCEPTION(Exception, grid.setGridSize(2, 0, 0, 5));
        QVERIFY_THROWS_EXCEPTION(Exception, grid.setGridSize(0, 0, -1, 3));
        QVERIFY_THROWS_EXCEPTION(Exception, grid.setFixedRows(grid.rowCount()));
        QCOMPARE(grid.colCount(), 2);
        QCOMPARE(grid.rowCount(), 3);
        grid.setDefaultColWidth(80);
        grid.setColWidth(1, 30);
        QCOMPARE(grid.colWidth(0), 80);
        QCOMPARE(grid.colWidth(1), 30);
        grid.setDefaultColWidth(70);
        QCOMPARE(grid.colWidth(1), 70);
    }

    void lockedUpdatesRepaintOnceAtTheEnd() {
        SheetGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        settle();
        PaintCounter counter(grid.viewport());
        grid.setCellString(1, 1, QStringLiteral("a"));
        settle();
        QVERIFY(counter.paints > 0);

        counter.paints = 0;
        grid.beginUpdate();
        grid.setCellString(1, 2, QStringLiteral("b"));
        grid.setCellCurrency(2, 2, Currency{10000});
        grid.setCellBorders(2, 2, 1, 1, 1, 1);
        grid.clearCells();
        grid.setCellParam(3, 3, QStringLiteral("H"), QStringLiteral("1"));
        settle();
        QCOMPARE(counter.paints, 0);
        grid.endUpdate();
        settle();
        QCOMPARE(counter.paints, 1);

        // setRedraw only locks and unlocks.
        counter.paints = 0;
        grid.setRedraw(false);
        grid.setCellString(1, 1, QStringLiteral("c"));
        grid.setRedraw(true);
        settle();
        QCOMPARE(counter.paints, 0);
        QVERIFY(!grid.isUpdateLocked());
    }

    void tagOfAnExistingCellDoesNotRepaint() {
        SheetGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCellString(1, 1, QStringLiteral("a"));
        settle();
        PaintCounter counter(grid.viewport());
        grid.setCellParam(1, 1, QStringLiteral("H"), QStringLiteral("1"));
        settle();
        QCOMPARE(counter.paints, 0);
        grid.setCellParam(2, 2, QStringLiteral("H"), QStringLiteral("1"));
        settle();
        QCOMPARE(counter.paints, 1);
    }
};

QTEST_MAIN(TestSheetCells)
#include "test_sheet_cells.moc"
