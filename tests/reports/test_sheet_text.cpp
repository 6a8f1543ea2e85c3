#include "core/cp1251.h"
#include "core/exceptions.h"
#include "reports/report_sheet.h"
#include "reports/sheet_text.h"

#include <QLocale>
#include <QTest>

namespace {

const QChar kEnd(0x0001);

QString tags(const char* text) {
    return QString::fromUtf8(text).replace(u'|', kEnd);
}

// Every field of cell (ax, ay) of a against cell (bx, by) of b.
void compareCell(const SheetGrid& a, int ax, int ay, const SheetGrid& b, int bx, int by) {
    const QByteArray where = QStringLiteral("cell %1,%2").arg(ax).arg(ay).toUtf8();
    QVERIFY2(a.cellExists(ax, ay) == b.cellExists(bx, by), where);
    QVERIFY2(a.cellValueKind(ax, ay) == b.cellValueKind(bx, by), where);
    QVERIFY2(a.cellText(ax, ay) == b.cellText(bx, by), where);
    QVERIFY2(a.cellParams(ax, ay) == b.cellParams(bx, by), where);
    QVERIFY2(a.cellBorders(ax, ay) == b.cellBorders(bx, by), where);
    QVERIFY2(a.cellAlignment(ax, ay) == b.cellAlignment(bx, by), where);
    QVERIFY2(a.cellNumberFormat(ax, ay) == b.cellNumberFormat(bx, by), where);
    QVERIFY2(a.cellWordWrap(ax, ay) == b.cellWordWrap(bx, by), where);
    QVERIFY2(a.cellColor(ax, ay) == b.cellColor(bx, by), where);
    QVERIFY2(a.cellTextColor(ax, ay) == b.cellTextColor(bx, by), where);
}

// A sheet with a cell of every kind, escapes, tags, colours and sizes.
void fillSheet(ReportSheet& sheet) {
    sheet.setGridSize(1, 1, 4, 5);
    sheet.setCellString(0, 0, QStringLiteral("Движение (касса), итог \\ за март"));
    sheet.setCellParams(0, 0, tags("COL_ID=COL_DATE|NOTE=a,b)|"));
    sheet.setCellBorders(0, 0, 2, 1, 2, 0);
    sheet.setCellWordWrap(0, 0, true);
    sheet.setCellAmount(2, 1, Currency{-12345678}, QStringLiteral("#,##0.00"),
                        CellAlignment::Right);
    sheet.setCellColor(2, 1, kRedColor);
    sheet.setCellTextColor(2, 1, kBlueColor);
    sheet.setCellAmount(2, 3, Currency{1}, QString(), CellAlignment::Center);
    sheet.setCellColor(2, 3, SheetColor(0xFF00000F));
    sheet.setCellParam(3, 4, QStringLiteral("H"), QStringLiteral("1"));
    sheet.setCellBorders(3, 4, 1, 1, 1, 1);
    sheet.setCellString(4, 2, QString());
    sheet.setColWidth(0, 250);
    sheet.setColWidth(3, 0);
    sheet.setRowHeight(2, 60);
    sheet.resetCounters();
    sheet.setFixedWidth(1);
    sheet.setFixedHeight(2);
    sheet.setGridOptions(SheetGrid::Option::VertLine | SheetGrid::Option::RangeSelect);
}

} // namespace

class TestSheetText : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("de_DE"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void oneCellGivesItsTokens() {
        SheetGrid grid;
        grid.setGridSize(0, 0, 2, 3);
        grid.setColWidth(1, 75);
        grid.setRowHeight(2, 33);
        grid.setCellCurrency(1, 2, Currency{125000});
        grid.setCellAlignment(1, 2, CellAlignment::Right);
        grid.setCellNumberFormat(1, 2, QStringLiteral("#0.00"));
        QCOMPARE(saveSheetText(grid, 0, 0, 1, 2),
                 QStringLiteral("RS(0,0,2,3) X(1) Y(2) Vn(12.5) B(0,0,0,0) A(2) Nf(#0.00) "
                                "CW(0,64) CW(1,75) RH(0,20) RH(1,20) RH(2,33) "));
    }

    void reportSheetEndsWithItsRecord() {
        ReportSheet sheet;
        sheet.setGridSize(0, 0, 2, 3);
        sheet.setCellCurrency(1, 2, Currency{125000});
        sheet.setRowCounter(3);
        QCOMPARE(saveSheetText(sheet, 1, 2, 1, 2),
                 QStringLiteral("RS(0,0,2,3) X(0) Y(0) Vn(12.5) B(0,0,0,0) A(1) CW(1,64) RH(2,20) "
                                "_MCR(MAX_QUANT_COLS=0\x01MAX_QUANT_ROWS=3\x01"
                                "FixedWidth=0\x01"
                                "FixedHeight=0\x01HorzLine=Y\x01VertLine=Y\x01) "));
    }

    void cellTokensInWindows1251() {
        SheetGrid grid;
        grid.setGridSize(0, 0, 1, 1);
        grid.setCellString(0, 0, QStringLiteral("Итого, а)"));
        grid.setCellParams(0, 0, tags("W=1|"));
        grid.setCellWordWrap(0, 0, true);
        grid.setCellTextColor(0, 0, SheetColor(0xFF00000F));
        grid.setCellColor(0, 0, kRedColor);
        QCOMPARE(cp1251::encode(saveSheetText(grid, 0, 0, 0, 0)),
                 QByteArray("RS(0,0,1,1) X(0) Y(0) Vs(\xC8\xF2\xEE\xE3\xEE\\44\\ \xE0\\41\\) "
                            "B(0,0,0,0) A(1) Sd(W=1\x01) WW() CC(255) TC(-16777201) "
                            "CW(0,64) RH(0,20) "));
    }

    void escapedTextReadsBack() {
        SheetGrid grid;
        grid.setGridSize(0, 0, 1, 1);
        grid.setCellString(0, 0, QStringLiteral("a,b)"));
        const QString text = saveSheetText(grid, 0, 0, 0, 0);
        QVERIFY(text.contains(QStringLiteral("Vs(a\\44\\b\\41\\) ")));
        SheetGrid loaded;
        loadSheetText(loaded, 0, 0, text);
        QCOMPARE(loaded.cellText(0, 0), QStringLiteral("a,b)"));
    }

    void saveThenLoadKeepsEveryField_data() {
        QTest::addColumn<int>("originX");
        QTest::addColumn<int>("originY");
        QTest::newRow("at 0, 0") << 0 << 0;
        QTest::newRow("at 3, 4") << 3 << 4;
    }
    void saveThenLoadKeepsEveryField() {
        QFETCH(int, originX);
        QFETCH(int, originY);
        ReportSheet saved;
        fillSheet(saved);
        const QString text = saveSheetText(saved, 0, 0, saved.xCount() - 1, saved.yCount() - 1);

        ReportSheet loaded;
        loaded.setCellString(9, 9, QStringLiteral("gone"));
        loadSheetText(loaded, originX, originY, text);
        QVERIFY(!loaded.cellExists(9, 9));
        QCOMPARE(loaded.xCount(), saved.xCount() + originX);
        QCOMPARE(loaded.yCount(), saved.yCount() + originY);
        for (int x = 0; x < saved.xCount(); ++x)
            for (int y = 0; y < saved.yCount(); ++y)
                compareCell(saved, x, y, loaded, x + originX, y + originY);
        // The shape and the sizes are the sheet's own, whatever the origin.
        QCOMPARE(loaded.colCount(), saved.colCount());
        QCOMPARE(loaded.rowCount(), saved.rowCount());
        QCOMPARE(loaded.fixedCols(), 1);
        QCOMPARE(loaded.fixedRows(), 1);
        for (int x = 0; x < saved.colCount(); ++x)
            QCOMPARE(loaded.colWidth(x), saved.colWidth(x));
        for (int y = 0; y < saved.rowCount(); ++y)
            QCOMPARE(loaded.rowHeight(y), saved.rowHeight(y));
        QCOMPARE(loaded.colCounter(), saved.colCounter());
        QCOMPARE(loaded.rowCounter(), saved.rowCounter());
        QCOMPARE(loaded.fixedWidth(), 1);
        QCOMPARE(loaded.fixedHeight(), 2);
        QCOMPARE(loaded.gridOptions() & (SheetGrid::Option::VertLine | SheetGrid::Option::HorzLine),
                 SheetGrid::Options(SheetGrid::Option::VertLine));
        QVERIFY(!loaded.isUpdateLocked());
    }

    void sizesOutsideTheGridAreIgnored() {
        SheetGrid grid;
        grid.setGridSize(0, 0, 5, 2);
        loadSheetText(grid, 0, 0, QStringLiteral("CW(10,50) CW(-1,50) RH(2,40) CW(4,50) "));
        QCOMPARE(grid.colCount(), 5);
        QCOMPARE(grid.colWidth(4), 50);
        for (int x = 0; x < 4; ++x)
            QCOMPARE(grid.colWidth(x), SheetGrid::kDefaultColWidth);
        QCOMPARE(grid.rowHeight(1), SheetGrid::kDefaultRowHeight);
    }

    void recordReadsFieldByField() {
        ReportSheet sheet;
        sheet.setColCounter(7);
        sheet.setRowCounter(8);
        sheet.setGridOptions({});
        loadSheetText(sheet, 0, 0, tags("_MCR(HorzLine=Y|MAX_QUANT_ROWS=x|VertLine=?|) "));
        QCOMPARE(sheet.colCounter(), 7);
        QCOMPARE(sheet.rowCounter(), 8);
        QCOMPARE(sheet.gridOptions(), SheetGrid::Options(SheetGrid::Option::HorzLine));
        loadSheetText(sheet, 0, 0,
                      tags("_MCR(FixedHeight=3|HorzLine=N|VertLine=Y|MAX_QUANT_COLS=12|) "));
        QCOMPARE(sheet.colCounter(), 12);
        QCOMPARE(sheet.fixedHeight(), 3);
        QCOMPARE(sheet.gridOptions(), SheetGrid::Options(SheetGrid::Option::VertLine));
    }

    void malformedTextRaisesKeepsCellsAndRepaints_data() {
        QTest::addColumn<QString>("tail");
        QTest::newRow("unknown command") << "Q(1) Y(1) Vs(b) ";
        QTest::newRow("amount that does not read") << "Y(1) Vn(1x2) ";
        QTest::newRow("integer that does not read") << "Y(z) Vs(b) ";
        QTest::newRow("missing bracket") << "Y(1) Vs(b";
        QTest::newRow("missing argument") << "Y(1) B(1,2) ";
        QTest::newRow("broken escape") << "Y(1) Vs(b\\41) ";
        QTest::newRow("cell outside the sheet") << "X(-5) Y(1) Vs(b) ";
        QTest::newRow("too many fixed columns") << "RS(3,0,0,1) ";
    }
    void malformedTextRaisesKeepsCellsAndRepaints() {
        QFETCH(QString, tail);
        SheetGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY_THROWS_EXCEPTION(
            Exception,
            loadSheetText(grid, 0, 0, QStringLiteral("RS(0,0,3,3) X(0) Y(0) Vs(a) ") + tail));
        QCOMPARE(grid.cellText(0, 0), QStringLiteral("a"));
        QVERIFY(!grid.cellExists(0, 1));
        QVERIFY(!grid.isUpdateLocked());

        // The caller's own lock stays.
        grid.beginUpdate();
        QVERIFY_THROWS_EXCEPTION(Exception, loadSheetText(grid, 0, 0, tail));
        QVERIFY(grid.isUpdateLocked());
    }

    void malformedTextStillRepaints() {
        SheetGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QTest::qWait(50);
        int paints = 0;
        struct Counter : QObject {
            int& paints;
            explicit Counter(int& p) : paints(p) {}
            bool eventFilter(QObject*, QEvent* event) override {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter(paints);
        grid.viewport()->installEventFilter(&counter);
        QVERIFY_THROWS_EXCEPTION(
            Exception, loadSheetText(grid, 0, 0, QStringLiteral("X(1) Y(1) Vs(a) Y(2) Vn(?) ")));
        QTest::qWait(50);
        QCOMPARE(paints, 1);
        grid.setCellString(2, 2, QStringLiteral("b"));
        QTest::qWait(50);
        QCOMPARE(paints, 2);
    }
};

QTEST_MAIN(TestSheetText)
#include "test_sheet_text.moc"
