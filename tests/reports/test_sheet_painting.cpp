#include "reports/sheet_grid.h"
#include "reports/sheet_painter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>

namespace {

using PixelTest = std::function<bool(QRgb)>;

bool dark(QRgb p) {
    return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110;
}
bool red(QRgb p) {
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}
bool blue(QRgb p) {
    return qBlue(p) > 150 && qRed(p) < 110 && qGreen(p) < 110;
}

QImage paint(SheetGrid& grid) {
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    grid.viewport()->render(&image);
    return image;
}

int countPixels(const QImage& image, const QRect& area, const PixelTest& test) {
    const QRect rect = area & image.rect();
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += test(image.pixel(x, y));
    return count;
}

// A grid of 5 x 5 cells, none fixed, 60 x 20 pixels, on the screen, its current cell (4, 4)
// out of the way.
struct ShownGrid {
    SheetGrid grid;
    ShownGrid() {
        grid.setGridSize(0, 0, 5, 5);
        grid.setDefaultColWidth(60);
        grid.resize(400, 200);
        grid.show();
        if (!QTest::qWaitForWindowExposed(&grid))
            qFatal("the grid is not shown");
        grid.setCurrentCell(4, 4);
    }
    QRect cell(int x, int y) const { return grid.cellRect(x, y); }
};

} // namespace

class TestSheetPainting : public QObject {
    Q_OBJECT
private slots:
    void longTextSpillsOnlyOverEmptyCells_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<QString>("neighbour"); // the value of cell (1, 0): none, "" (a tag only)
        QTest::addColumn<int>("spillsTo");      // the last column showing the text
        QTest::newRow("left over two empty cells") << 0 << false << "none" << 2;
        QTest::newRow("through a cell with a tag only") << 0 << false << "" << 2;
        QTest::newRow("stopped by a value") << 0 << false << "1" << 0;
        QTest::newRow("right-aligned stays") << 1 << false << "none" << 0;
        QTest::newRow("centred stays") << 2 << false << "none" << 0;
        QTest::newRow("wrapped stays") << 0 << true << "none" << 0;
    }
    void longTextSpillsOnlyOverEmptyCells() {
        QFETCH(int, alignment);
        QFETCH(bool, wrap);
        QFETCH(QString, neighbour);
        QFETCH(int, spillsTo);
        ShownGrid shown;
        SheetGrid& grid = shown.grid;
        // Columns so wide that the title ends inside column 2.
        const QString title = QStringLiteral("Движение денежных средств по кассе за март");
        grid.setDefaultColWidth((QFontMetrics(grid.font()).horizontalAdvance(title) + 2) * 2 / 5);
        grid.setCellString(0, 0, title);
        grid.setCellAlignment(0, 0, CellAlignment(alignment));
        grid.setCellWordWrap(0, 0, wrap);
        if (neighbour == QLatin1String("")) {
            grid.setCellParam(1, 0, QStringLiteral("H"), QStringLiteral("0"));
        } else if (neighbour != QLatin1String("none")) {
            grid.setCellString(1, 0, neighbour);
            grid.setCellTextColor(1, 0, kRedColor);
        }
        const QImage image = paint(grid);
        QVERIFY(countPixels(image, shown.cell(0, 0), dark) > 0);
        for (int x = 1; x <= 3; ++x) {
            const int pixels = countPixels(image, shown.cell(x, 0), dark);
            QVERIFY2((pixels > 0) == (x <= spillsTo), qPrintable(QString::number(x)));
        }
    }

    void spilledTextContinuesTheCellsText() {
        ShownGrid shown;
        SheetGrid& grid = shown.grid;
        grid.setGridOptions({});
        const QString title = QStringLiteral("Движение денежных средств по кассе за март");
        grid.setCellString(0, 0, title);
        const QImage spilled = paint(grid);
        // The same text in one cell wide enough to hold it: pixel for pixel the same picture.
        grid.setColWidth(0, 300);
        const QImage whole = paint(grid);
        const QRect strip(0, 0, 300, 20);
        QCOMPARE(spilled.copy(strip), whole.copy(strip));
    }

    void wrappedTextEndsAtTheBottom() {
        ShownGrid shown;
        SheetGrid& grid = shown.grid;
        grid.setRowHeight(1, 90);
        const QFontMetrics metrics(grid.font());
        const QString word = QStringLiteral("слово");
        QVERIFY(metrics.horizontalAdvance(word) < 60 - 8);
        QVERIFY(metrics.horizontalAdvance(word + u' ' + word) > 60 - 8);
        grid.setCellString(1, 1, QStringLiteral("  слово слово   слово "));
        grid.setCellWordWrap(1, 1, true);
        const QImage image = paint(grid);
        const QRect rect = shown.cell(1, 1);
        // Dark pixel rows fall into three bands, one line each, the last ending at the bottom.
        QList<int> rows;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (countPixels(image, QRect(rect.left(), y, rect.width(), 1), dark) > 0)
                rows << y;
        QVERIFY(!rows.isEmpty());
        int bands = 1;
        for (int i = 1; i < rows.size(); ++i)
            bands += rows[i] > rows[i - 1] + 1;
        QCOMPARE(bands, 3);
        const int blockTop = rect.bottom() - 3 * metrics.height();
        QVERIFY(rows.first() >= blockTop);
        QVERIFY(rows.last() > rect.bottom() - metrics.height());

        QImage canvas(10, 10, QImage::Format_RGB32);
        QPainter painter(&canvas);
        painter.setFont(grid.font());
        const SheetPainter sheetPainter(painter, grid.cells(), grid.palette(), kBlueColor);
        QCOMPARE(sheetPainter.wrappedLines(QStringLiteral("  слово слово   слово "), 60),
                 QStringList({word, word, word}));
        QCOMPARE(sheetPainter.wrappedLines(QStringLiteral("а б в"), 60),
                 QStringList({QStringLiteral("а б в")}));
        QCOMPARE(sheetPainter.wrappedLines(QStringLiteral("преогромнейшееслово а"), 30),
                 QStringList({QStringLiteral("преогромнейшееслово"), QStringLiteral("а")}));
    }

    void bordersAreStripsInsideTheCell() {
        ShownGrid shown;
        SheetGrid& grid = shown.grid;
        grid.setCellBorders(1, 1, 2, 1, 3, 4);
        const QImage image = paint(grid);
        const QRect rect = shown.cell(1, 1);
        const auto isBlack = [](QRgb p) { return p == qRgb(0, 0, 0); };
        const int middle = rect.top() + 10;
        QVERIFY(isBlack(image.pixel(rect.left(), middle)));
        QVERIFY(isBlack(image.pixel(rect.left() + 1, middle)));
        QVERIFY(!isBlack(image.pixel(rect.left() + 2, middle)));
        QVERIFY(isBlack(image.pixel(rect.right(), middle)));
        QVERIFY(!isBlack(image.pixel(rect.right() - 1, middle)));
        QVERIFY(!isBlack(image.pixel(rect.right() + 1, middle)));
        const int centre = rect.left() + 30;
        QCOMPARE(countPixels(image, QRect(centre, rect.top(), 1, rect.height()), isBlack), 3 + 4);
        QVERIFY(isBlack(image.pixel(centre, rect.top() + 2)));
        QVERIFY(isBlack(image.pixel(centre, rect.bottom() - 3)));
        QVERIFY(!isBlack(image.pixel(centre, rect.top() - 1)));
        QVERIFY(!isBlack(image.pixel(centre, rect.bottom() + 1)));
    }

    void hotCellIsBlueUnlessColoured() {
        ShownGrid shown;
        SheetGrid& grid = shown.grid;
        grid.setCellString(1, 1, QStringLiteral("Сумма"));
        grid.setCellParam(1, 1, QStringLiteral("H"), QStringLiteral("1"));
        grid.setCellString(2, 1, QStringLiteral("Сумма"));
        grid.setCellParam(2, 1, QStringLiteral("H"), QStringLiteral("1"));
        grid.setCellTextColor(2, 1, kRedColor);
        grid.setCellString(3, 1, QStringLiteral("Сумма"));
        const QImage image = paint(grid);
        QVERIFY(countPixels(image, shown.cell(1, 1), blue) > 0);
        QCOMPARE(countPixels(image, shown.cell(1, 1), red), 0);
        QVERIFY(countPixels(image, shown.cell(2, 1), red) > 0);
        QCOMPARE(countPixels(image, shown.cell(2, 1), blue), 0);
        QCOMPARE(countPixels(image, shown.cell(3, 1), blue), 0);
        QVERIFY(countPixels(image, shown.cell(3, 1), dark) > 0);
    }

    void selectedCellsAreInverted() {
        ShownGrid shown;
        SheetGrid& grid = shown.grid;
        grid.setCellColor(1, 2, kRedColor);
        QVERIFY(grid.setCurrentCell(1, 1));
        QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid.currentCol(), 2);
        QCOMPARE(grid.currentRow(), 2);
        const QImage image = paint(grid);
        const QRect red = shown.cell(1, 2);
        QCOMPARE(image.pixel(red.center()), qRgb(0, 255, 255));
        QCOMPARE(image.pixel(shown.cell(2, 1).center()), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(shown.cell(0, 1).center()), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(shown.cell(3, 2).center()), qRgb(255, 255, 255));
        // The pixel row under the cell, its line, is inverted with it.
        QCOMPARE(image.pixel(red.left() + 5, red.bottom() + 1), qRgb(63, 63, 63));
        QCOMPARE(image.pixel(shown.cell(3, 2).left() + 5, red.bottom() + 1), qRgb(192, 192, 192));
    }

    // A sheet of a million columns and rows paints at once wherever it shows, whatever the sizes
    // of its columns and rows: the widest, one pixel, or none at all and no lines, also when all
    // but the last column and row are fixed.
    void millionCellsEachWayPaintAtOnce_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("lines");
        QTest::addColumn<int>("fixed");
        constexpr int kAllButOne = SheetCells::kMaxIndex;
        QTest::newRow("widest") << SheetGrid::kMaxCellSize << true << 0;
        QTest::newRow("one pixel") << 1 << true << 1;
        QTest::newRow("one pixel, no lines") << 1 << false << 0;
        QTest::newRow("no pixels") << 0 << false << 0;
        QTest::newRow("no pixels, lines") << 0 << true << 0;
        QTest::newRow("no pixels, all but one fixed") << 0 << false << kAllButOne;
    }
    void millionCellsEachWayPaintAtOnce() {
        QFETCH(int, size);
        QFETCH(bool, lines);
        QFETCH(int, fixed);
        constexpr int kLast = SheetCells::kMaxIndex;
        SheetGrid grid;
        grid.setGridSize(fixed, fixed, kLast + 1 - fixed, kLast + 1 - fixed);
        grid.setGridOptions(
            lines ? SheetGrid::Options(SheetGrid::Option::VertLine | SheetGrid::Option::HorzLine)
                  : SheetGrid::Options());
        grid.setDefaultColWidth(size);
        for (int y = kLast - 300; y <= kLast; ++y)
            grid.setRowHeight(y, size);
        // A title far on the left of every row shown, empty cells with borders between it and
        // the end, a value in the last column.
        for (int y = kLast - 300; y <= kLast; ++y) {
            grid.setCellString(0, y, QStringLiteral("Движение денежных средств за год"));
            for (int x = kLast - 300; x < kLast; x += 7)
                grid.setCellBorders(x, y, 1, 1, 1, 1);
            grid.setCellString(kLast, y, QStringLiteral("конец"));
        }
        grid.resize(240, 160);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY(grid.setCurrentCell(kLast, kLast) || fixed > 0);
        QVERIFY(!grid.grab().isNull());
        QTest::keyClick(&grid, Qt::Key_PageUp);
        QTest::keyClick(&grid, Qt::Key_Home);
        QVERIFY(!grid.grab().isNull());
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid.currentCol(), kLast);
        QCOMPARE(grid.currentRow(), kLast);
        const QImage image = paint(grid);
        const QRect last = grid.cellRect(kLast, kLast);
        int col = -1;
        int row = -1;
        if (size == 0) {
            QVERIFY(!grid.mouseToCell(QPoint(0, 0), col, row) || lines);
            return;
        }
        QVERIFY(!last.isEmpty());
        QVERIFY(grid.mouseToCell(last.topLeft(), col, row));
        QCOMPARE(col, kLast);
        QCOMPARE(row, kLast);
        if (size == SheetGrid::kMaxCellSize)
            QVERIFY(countPixels(image, last, dark) > 0);
    }

    void systemColoursFollowThePalette() {
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(1, 2, 3));
        palette.setColor(QPalette::Text, QColor(4, 5, 6));
        QCOMPARE(toQColor(kWindowColor, palette), QColor(1, 2, 3));
        QCOMPARE(toQColor(kWindowTextColor, palette), QColor(4, 5, 6));
        QCOMPARE(toQColor(0x00332211, palette), QColor(0x11, 0x22, 0x33));
    }
};

QTEST_MAIN(TestSheetPainting)
#include "test_sheet_painting.moc"
