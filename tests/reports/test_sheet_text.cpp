#include "core/cp1251.h"
#include "core/exceptions.h"
#include "reports/report_sheet.h"
#include "reports/sheet_text.h"
#include "tests/support/core/exception_message.h"

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

    // No stored text holds the program: what no sheet can show is refused with a message, and
    // what the reader takes opens and paints at once, shown at its start and at its end.
    void hostileTextOpensOrIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal"); // the message's start; empty when the text loads
        const QString wide = QStringLiteral("RS(0,0,999999,999999) X(0) Y(0) Vs(a) ");
        QTest::newRow("widest column beyond a sheet")
            << wide + "CW(0,2147483647) "
            << "Неверная ширина столбца 0: 2147483647 (она может быть от 0 до 5000 точек)";
        QTest::newRow("highest row beyond a sheet") << wide + "RH(7,5001) "
                                                    << "Неверная высота строки 7: 5001";
        QTest::newRow("negative width") << wide + "CW(1,-5) "
                                        << "Неверная ширина столбца 1: -5";
        QTest::newRow("negative height") << wide + "RH(0,-2147483648) "
                                         << "Неверная высота строки 0: -2147483648";
        QTest::newRow("width beyond an integer") << wide + "CW(0,99999999999) "
                                                 << "'99999999999' is not a valid integer value";
        QTest::newRow("border beyond a cell") << wide + "B(0,2147483647,0,0) "
                                              << "Неверная ширина рамки ячейки: 2147483647";
        QTest::newRow("more columns than a sheet")
            << "RS(1,0,1000000,5) "
            << "Неверный размер листа: 1 + 1000000 столбцов, 0 + 5 строк";
        QTest::newRow("more fixed rows than a sheet") << "RS(0,2147483647,5,2147483647) "
                                                      << "Неверный размер листа";
        QTest::newRow("negative span") << "RS(0,0,-1,5) "
                                       << "Неверный размер листа";
        QTest::newRow("column beyond a sheet") << "X(2147483647) Y(0) Vs(a) "
                                               << "Столбец 2147483647 вне листа";
        QTest::newRow("row beyond a sheet") << "X(0) Y(1000000) "
                                            << "Строка 1000000 вне листа";
        QTest::newRow("counter beyond a sheet")
            << tags("_MCR(MAX_QUANT_COLS=2147483647|) ")
            << "Неверное значение MAX_QUANT_COLS в записи листа: 2147483647";
        QTest::newRow("negative header")
            << tags("_MCR(FixedWidth=-3|) ") << "Неверное значение FixedWidth в записи листа: -3";

        QTest::newRow("the largest sheet, its widest column and highest row")
            << QStringLiteral("RS(0,0,1000000,1000000) X(0) Y(0) Vs(%1) X(999999) Y(999999) "
                              "Vs(a) B(5000,5000,5000,5000) CW(999999,5000) RH(999999,5000) ")
                   .arg(QString(300, u'ж'))
            << QString();
        QTest::newRow("all but the last column and row fixed")
            << "RS(999999,999999,1,1) X(999999) Y(999999) Vs(a) CW(0,0) RH(0,0) " << QString();
        QTest::newRow("negative borders draw nothing")
            << wide + "B(-2147483648,-1,-7,0) " << QString();
        QString farApart = QStringLiteral("RS(0,0,1000000,1000000) X(999999) ");
        for (int y = 0; y < 2000; ++y)
            farApart += QStringLiteral("Y(%1) Vs(a) ").arg(y * 499);
        QTest::newRow("far cells in many rows") << farApart << QString();
        QTest::newRow("largest counters")
            << tags("_MCR(MAX_QUANT_COLS=1000001|MAX_QUANT_ROWS=1000001|FixedWidth=1000000|) ")
            << QString();
    }
    void hostileTextOpensOrIsRefused() {
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        ReportSheet sheet;
        sheet.resize(320, 240);
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        const QString message = testsupport::messageOf([&] { loadSheetText(sheet, 0, 0, text); });
        QVERIFY2(message.startsWith(refusal) && message.isEmpty() == refusal.isEmpty(),
                 qPrintable(message));
        QVERIFY(!sheet.isUpdateLocked());
        QVERIFY(!sheet.grab().isNull());
        QTest::keyClick(&sheet, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(sheet.currentCol(), sheet.colCount() - 1);
        QCOMPARE(sheet.currentRow(), sheet.rowCount() - 1);
        QVERIFY(!sheet.grab().isNull());
    }

    // The largest sheet the reader takes, saved from its far corner, reads back whole.
    void largestSheetReadsBack() {
        constexpr int kLast = SheetCells::kMaxIndex;
        ReportSheet saved;
        saved.setGridSize(1, 1, kLast, kLast);
        for (int i = kLast - 3; i <= kLast; ++i) {
            saved.setColWidth(i, SheetGrid::kMaxCellSize);
            saved.setRowHeight(i, SheetGrid::kMaxCellSize);
        }
        saved.setCellString(kLast, kLast, QStringLiteral("конец"));
        saved.setCellBorders(kLast, kLast, 4, SheetGrid::kMaxCellSize, 0, 2);
        saved.setCellAmount(kLast - 1, kLast, Currency{125000}, QString(), CellAlignment::Right);
        saved.resetCounters();
        saved.setFixedWidth(kLast + 1);
        const QString text = saveSheetText(saved, kLast - 3, kLast - 3, kLast, kLast);

        ReportSheet loaded;
        loadSheetText(loaded, kLast - 3, kLast - 3, text);
        QCOMPARE(loaded.colCount(), kLast + 1);
        QCOMPARE(loaded.rowCount(), kLast + 1);
        for (int x = kLast - 3; x <= kLast; ++x)
            for (int y = kLast - 3; y <= kLast; ++y)
                compareCell(saved, x, y, loaded, x, y);
        QCOMPARE(loaded.colWidth(kLast), SheetGrid::kMaxCellSize);
        QCOMPARE(loaded.rowHeight(kLast - 3), SheetGrid::kMaxCellSize);
        QCOMPARE(loaded.colCounter(), kLast + 2);
        QCOMPARE(loaded.rowCounter(), kLast + 2);
        QCOMPARE(loaded.fixedWidth(), kLast + 1);
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
