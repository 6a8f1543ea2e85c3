#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "printing/report_output.h"
#include "reports/sheet_grid.h"
#include "reports/sheet_print.h"
#include "store/book_kind.h"
#include "store/new_book.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <poppler-qt6.h>

using namespace printing;
using schematest::Workplace;
using testsupport::messageOf;

namespace {

const QString kPurpose = QStringLiteral("Оплата по договору поставки № 15 от 3 марта за "
                                        "канцелярские товары, бумагу и картриджи для принтеров");
const QString kTitle = QStringLiteral("Движение денежных средств за март");
const QList<int> kWidths{100, 50, 150, 80};
const QList<int> kHeights{30, 20, 40, 20};
constexpr double kPx = 25.4 / 96;
const QString kWindow = QStringLiteral("TfrmMovementReport");

FontSpec font(const QString& family, double size, bool bold = false) {
    FontSpec spec;
    spec.family = family;
    spec.pointSize = size;
    spec.bold = bold;
    return spec;
}

// Four columns of 100, 50, 150 and 80 pixels and four rows of 30, 20, 40 pixels and one the
// sheet leaves at its default height:
//   row 0: a left-aligned title, an empty cell with a bottom border, no cell, a page number;
//   row 1: a left caption cut by the amount beside it, an amount through "#0.00" on the right,
//          a right-aligned text longer than its cell, an amount without a format in the centre;
//   row 2: a wrapped text running over the empty cell beside it, too long for them both, an
//          empty cell with three borders, a centred text;
//   row 3: a right-aligned text.
void fillSheet(SheetGrid& sheet) {
    sheet.setGridSize(0, 0, 4, 3);
    for (int x = 0; x < kWidths.size(); ++x)
        sheet.setColWidth(x, kWidths[x]);
    for (int y = 0; y < 3; ++y)
        sheet.setRowHeight(y, kHeights[y]);
    sheet.setCellString(0, 0, kTitle);
    sheet.setCellBorders(1, 0, 0, 0, 0, 2);
    sheet.setCellString(3, 0, QStringLiteral("стр. 1"));
    sheet.setCellAlignment(3, 0, CellAlignment::Right);

    sheet.setCellString(0, 1, QStringLiteral("Итого за месяц"));
    sheet.setCellCurrency(1, 1, Currency{12345000});
    sheet.setCellNumberFormat(1, 1, QStringLiteral("#0.00"));
    sheet.setCellAlignment(1, 1, CellAlignment::Right);
    sheet.setCellString(2, 1, QStringLiteral("Оплата по договору поставки"));
    sheet.setCellAlignment(2, 1, CellAlignment::Right);
    sheet.setCellCurrency(3, 1, Currency{125000});
    sheet.setCellNumberFormat(3, 1, QStringLiteral("  "));
    sheet.setCellAlignment(3, 1, CellAlignment::Center);

    sheet.setCellString(0, 2, kPurpose);
    sheet.setCellWordWrap(0, 2, true);
    sheet.setCellBorders(1, 2, 1, 0, 3, 2);
    sheet.setCellString(2, 2, QStringLiteral("см. договор"));
    sheet.setCellAlignment(2, 2, CellAlignment::Center);

    sheet.setCellString(3, 3, QStringLiteral("конец"));
    sheet.setCellAlignment(3, 3, CellAlignment::Right);
}

QString number(double value) {
    return QString::number(value, 'f', 3);
}

QString describe(const QRectF& r) {
    return QStringLiteral("(%1, %2, %3 x %4)")
        .arg(number(r.left()), number(r.top()), number(r.width()), number(r.height()));
}

QString describe(const DrawnItem& item) {
    const char* kind = item.kind == ElementKind::Frame ? "frame" : "label";
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(kind), item.text, describe(item.rect));
}

// The page's left edge plus the sheet's own x in pixels, scaled to a page width of width mm.
struct Page {
    double width;
    double x(int pixels) const { return 10 + pixels * width / 380; }
    // A text between two column edges: 4 pixels in at the sides, 1 up from the band's bottom.
    QRectF text(int leftPixels, int rightPixels, double top, int heightPixels) const {
        return QRectF(x(leftPixels) + 4 * kPx, top, x(rightPixels) - x(leftPixels) - 8 * kPx,
                      (heightPixels - 1) * kPx);
    }
};

double rowTop(int row) {
    double top = 10;
    for (int y = 0; y < row; ++y)
        top += kHeights[y] * kPx;
    return top;
}

QString label(const QString& text, const QRectF& rect) {
    return QStringLiteral("label %1 %2").arg(text, describe(rect));
}

QString bar(const QRectF& rect) {
    return QStringLiteral("frame  %1").arg(describe(rect));
}

// The pixels of a PDF file's first page at dpi dots to the inch; a null image when it does not
// read.
QImage firstPage(const QString& path, int dpi) {
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->numPages() < 1)
        return QImage();
    return document->page(0)->renderToImage(dpi, dpi);
}

// Whether any pixel of image dark inside the rectangle of the page given in millimetres.
bool inked(const QImage& image, int dpi, const QRectF& mm) {
    const double scale = dpi / 25.4;
    const QRect area =
        QRectF(mm.topLeft() * scale, mm.bottomRight() * scale).toRect() & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

// A sheet, its print dialog answered by action once it shows.
void onDialog(const std::function<void(SheetPrintDialog&)>& action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<SheetPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the sheet print dialog did not show");
        action(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

class TestSheetPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        fb::prepareEmbeddedEngine();
        m_place = std::make_unique<Workplace>();
        const QString book = createNewBook(BookKind::BankAccount, QStringLiteral("Банк"),
                                           m_place->folder(), schematest::templatesFolder());
        m_place->store().database().attach(book);
        fillSheet(m_sheet);
    }
    void cleanupTestCase() { m_place.reset(); }
    void init() { QVERIFY(m_dir.isValid()); }

    // Each row is a band of its height; the columns share the page's width by their widths; a
    // left-aligned text runs over the empty cells to its right up to the next value, others
    // keep to their cell; borders are bars of their sheet pixels inside the cell. A second run
    // prints the same.
    void rowsPrintAsBandsOfScaledCells_data() {
        QTest::addColumn<Orientation>("orientation");
        QTest::addColumn<double>("pageWidth");
        QTest::newRow("portrait") << Orientation::Portrait << 190.0;
        QTest::newRow("landscape") << Orientation::Landscape << 277.0;
    }
    void rowsPrintAsBandsOfScaledCells() {
        QFETCH(Orientation, orientation);
        QFETCH(double, pageWidth);
        const FontSpec asked = font("Times New Roman", 12, true);
        const SheetReport sheet = sheetPrintReport(m_sheet, {0, 0, 3, 3}, asked, orientation);
        QCOMPARE(sheet.report.page.orientation, orientation);
        QCOMPARE(sheet.report.page.margins, QMarginsF(10, 10, 10, 10));
        QCOMPARE(sheet.report.detailCount, 4);
        const DisplayList drawn = printToPdf(sheet.report, sheet.data, m_dir.filePath("a.pdf"));
        QCOMPARE(printToPdf(sheet.report, sheet.data, m_dir.filePath("b.pdf")), drawn);

        const Page page{pageWidth};
        const double top1 = rowTop(1), top2 = rowTop(2), top3 = rowTop(3);
        const double height2 = 40 * kPx;
        const QStringList expected{
            label(kTitle, page.text(0, 300, 10, 30)),
            bar(QRectF(page.x(100), 10 + 28 * kPx, page.x(150) - page.x(100), 2 * kPx)),
            label("стр. 1", page.text(300, 380, 10, 30)),
            label("Итого за месяц", page.text(0, 100, top1, 20)),
            label("1234,50", page.text(100, 150, top1, 20)),
            label("Оплата по договору поставки", page.text(150, 300, top1, 20)),
            label("12,5", page.text(300, 380, top1, 20)),
            bar(QRectF(page.x(100), top2, kPx, height2)),
            bar(QRectF(page.x(100), top2, page.x(150) - page.x(100), 3 * kPx)),
            bar(QRectF(page.x(100), top2 + height2 - 2 * kPx, page.x(150) - page.x(100), 2 * kPx)),
            label("см. договор", page.text(150, 300, top2, 40)),
            label("конец", page.text(300, 380, top3, 20)),
        };
        // The wrapped text's lines are the labels that start on its cell's left in its row.
        const QRectF wrapped = page.text(0, 150, top2, 40);
        const auto isWrappedLine = [&](const DrawnItem& item) {
            return item.kind == ElementKind::Label &&
                   number(item.rect.left()) == number(wrapped.left()) &&
                   item.rect.top() >= top2 - 1e-6 && item.rect.bottom() <= top3 + 1e-6;
        };
        QStringList shown;
        DisplayList memoLines;
        for (const DrawnItem& item : drawn) {
            QCOMPARE(item.page, 1);
            if (isWrappedLine(item))
                memoLines << item;
            else
                shown << describe(item);
            if (item.kind != ElementKind::Frame)
                QCOMPARE(item.font, font("Liberation Serif", 12, true));
        }
        QCOMPARE(shown, expected);

        // The wrapped text keeps its last lines, the last one on the cells' bottom.
        QVERIFY(!memoLines.isEmpty());
        QStringList lines;
        for (const DrawnItem& line : memoLines) {
            lines << line.text;
            QVERIFY2(line.rect.top() >= wrapped.top() - 1e-6, qPrintable(describe(line.rect)));
            QCOMPARE(number(line.rect.width()), number(wrapped.width()));
        }
        QVERIFY2((QLatin1Char(' ') + kPurpose).endsWith(QLatin1Char(' ') + lines.join(u' ')),
                 qPrintable(lines.join('|')));
        QCOMPARE(number(memoLines.last().rect.bottom()), number(top2 + 39 * kPx));
    }

    // A wrapped 14 pt text in a row of 30 pixels, too low for its three lines: the block sits on
    // the row's bottom, its last line whole, the line above shows its lower part cut at the row's
    // top, and the first line, wholly above the row, is left out. Nothing reaches the empty row
    // above.
    void wrappedLineCutAtTheRowsTop() {
        const QString text = QStringLiteral("Оплата по договору поставки канцелярских товаров");
        SheetGrid sheet;
        sheet.setGridSize(0, 0, 2, 2);
        sheet.setColWidth(0, 100);
        sheet.setColWidth(1, 280);
        sheet.setRowHeight(1, 30);
        sheet.setCellString(0, 1, text);
        sheet.setCellWordWrap(0, 1, true);
        sheet.setCellString(1, 1, QStringLiteral("конец"));
        sheet.setCellAlignment(1, 1, CellAlignment::Right);
        const SheetReport printed = sheetPrintReport(
            sheet, {0, 0, 1, 1}, font("Times New Roman", 14), Orientation::Portrait);
        const QString path = m_dir.filePath("cut.pdf");
        const DisplayList drawn = printToPdf(printed.report, printed.data, path);

        const Page page{190};
        const double rowTop = 10 + 20 * kPx;
        const QRectF cell = page.text(0, 100, rowTop, 30);
        DisplayList lines;
        for (const DrawnItem& item : drawn)
            if (number(item.rect.left()) == number(cell.left()))
                lines << item;
        QCOMPARE(lines.size(), 2);
        const DrawnItem& cut = lines[0];
        const DrawnItem& last = lines[1];
        QVERIFY2(text.endsWith(QLatin1Char(' ') + cut.text + QLatin1Char(' ') + last.text),
                 qPrintable(cut.text + '|' + last.text));
        QCOMPARE(number(last.rect.bottom()), number(rowTop + 29 * kPx));
        QCOMPARE(number(cut.rect.top()), number(rowTop));
        QCOMPARE(number(cut.rect.bottom()), number(last.rect.top()));
        QVERIFY(cut.rect.height() > 0.5 && cut.rect.height() < last.rect.height() - 0.5);
        QVERIFY(last.rect.height() > 3 * kPx + cut.rect.height());
        QCOMPARE(number(cut.rect.width()), number(cell.width()));

        constexpr int kDpi = 300;
        const QImage image = firstPage(path, kDpi);
        QVERIFY(!image.isNull());
        const double left = page.x(0);
        const double right = page.x(100);
        constexpr double kEdge = 0.1;
        QVERIFY(
            inked(image, kDpi,
                  QRectF(QPointF(left, rowTop + kEdge), QPointF(right, last.rect.top() - kEdge))));
        QVERIFY(inked(
            image, kDpi,
            QRectF(QPointF(left, last.rect.top() + kEdge), QPointF(right, last.rect.bottom()))));
        QVERIFY(!inked(image, kDpi, QRectF(QPointF(0, 0), QPointF(210, rowTop - kEdge))));
    }

    // Columns that are all 0 wide, or none at all, leave the rows' bands empty rather than
    // divide by nothing.
    void noWidthPrintsNoCells_data() {
        QTest::addColumn<bool>("zeroWidths");
        QTest::addColumn<int>("x2");
        QTest::newRow("all columns 0 wide") << true << 3;
        QTest::newRow("no columns") << false << -1;
    }
    void noWidthPrintsNoCells() {
        QFETCH(bool, zeroWidths);
        QFETCH(int, x2);
        SheetGrid sheet;
        fillSheet(sheet);
        if (zeroWidths)
            for (int x = 0; x < 4; ++x)
                sheet.setColWidth(x, 0);
        const SheetReport printed =
            sheetPrintReport(sheet, {0, 0, x2, 3}, font("Arial", 10), Orientation::Portrait);
        QCOMPARE(printed.report.detailCount, 4);
        for (int y = 0; y < 4; ++y) {
            Band band = printed.report.detail;
            printed.data.beforeDetail(y, band);
            QCOMPARE(band.height, kHeights[y] * kPx);
            QVERIFY(band.elements.isEmpty());
        }
        QVERIFY(printToPdf(printed.report, printed.data, m_dir.filePath("empty.pdf")).isEmpty());
    }

    // The dialog opens with the window's stored settings, the focus on "Просмотр"; the font
    // dialog and the orientation change the choice, and cancelling writes it back.
    void settingsReadAndWrittenBackOnCancel() {
        BookOptions options = m_place->store().options();
        options.setOption(kWindow + ".DingerFontName", "Arial");
        options.setOption(kWindow + ".DingerFontSize", "14");
        options.setOption(kWindow + ".DingerFontPageOrientation", "1");
        const QFont chosen(QStringLiteral("Liberation Mono"), 9);
        Dialogs dialogs([&](const DialogRequest& request) {
            return DialogAnswer{Answer::Ok,
                                request.kind == DialogKind::Font ? chosen.toString() : QString()};
        });
        int outputs = 0;
        onDialog([](SheetPrintDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Выберите режим печати:"));
            QCOMPARE(d.size(), QSize(328, 183));
            QCOMPARE(d.fontNameLabel()->text(), QStringLiteral("Arial"));
            QCOMPARE(d.fontSizeLabel()->text(), QStringLiteral("Размер 14"));
            QVERIFY(d.landscapeButton()->isChecked());
            QCOMPARE(d.focusWidget(), d.previewButton());
            d.selectFontButton()->click();
            QCOMPARE(d.fontNameLabel()->text(), QStringLiteral("Liberation Mono"));
            QCOMPARE(d.fontSizeLabel()->text(), QStringLiteral("Размер 9"));
            d.portraitButton()->click();
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        });
        printSheet(nullptr, m_sheet, {0, 0, 3, 3}, kWindow,
                   [&](QWidget*, const SheetReport&, SheetPrintMode) { ++outputs; });
        QCOMPARE(outputs, 0);
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].kind, DialogKind::Font);
        QCOMPARE(dialogs.requests[0].caption, QStringLiteral("Шрифт"));
        QFont asked;
        QVERIFY(asked.fromString(dialogs.requests[0].value));
        QCOMPARE(asked.family(), QStringLiteral("Arial"));
        QCOMPARE(asked.pointSize(), 14);
        QCOMPARE(options.option(kWindow + ".DingerFontName"), QStringLiteral("Liberation Mono"));
        QCOMPARE(options.option(kWindow + ".DingerFontSize"), QStringLiteral("9"));
        QCOMPARE(options.option(kWindow + ".DingerFontPageOrientation"), QStringLiteral("0"));
    }

    // Preview and print each take a report of the choice at that moment, and the dialog stays
    // open; a cancelled font dialog changes nothing.
    void previewAndPrintThroughTheOutput() {
        BookOptions options = m_place->store().options();
        options.setOption(kWindow + ".DingerFontName", "");
        options.setOption(kWindow + ".DingerFontSize", "");
        options.setOption(kWindow + ".DingerFontPageOrientation", "");
        Dialogs dialogs([](const DialogRequest&) { return DialogAnswer{Answer::Cancel, {}}; });
        QStringList outputs;
        onDialog([](SheetPrintDialog& d) {
            QCOMPARE(d.fontNameLabel()->text(), QStringLiteral("Times New Roman"));
            QCOMPARE(d.fontSizeLabel()->text(), QStringLiteral("Размер 10"));
            QVERIFY(d.portraitButton()->isChecked());
            d.previewButton()->click();
            QVERIFY(d.isVisible());
            d.selectFontButton()->click();
            d.landscapeButton()->click();
            d.printButton()->click();
            QVERIFY(d.isVisible());
            d.cancelButton()->click();
        });
        printSheet(nullptr, m_sheet, {0, 0, 3, 3}, kWindow,
                   [&](QWidget* owner, const SheetReport& printed, SheetPrintMode mode) {
                       QVERIFY(qobject_cast<SheetPrintDialog*>(owner));
                       Band band = printed.report.detail;
                       printed.data.beforeDetail(0, band);
                       outputs << QStringLiteral("%1 %2 %3 %4")
                                      .arg(mode == SheetPrintMode::Print ? "print" : "preview")
                                      .arg(printed.report.page.orientation == Orientation::Landscape
                                               ? "landscape"
                                               : "portrait")
                                      .arg(band.elements.first().font.family)
                                      .arg(band.elements.first().font.pointSize);
                   });
        QCOMPARE(outputs, QStringList({"preview portrait Times New Roman 10",
                                       "print landscape Times New Roman 10"}));
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(options.option(kWindow + ".DingerFontPageOrientation"), QStringLiteral("1"));
        QCOMPARE(options.option(kWindow + ".DingerFontName"), QStringLiteral("Times New Roman"));
    }

    // A failure of the output closes the dialog and reaches the caller; the choice is kept.
    void aFailureReachesTheCaller() {
        onDialog([](SheetPrintDialog& d) {
            d.portraitButton()->click();
            d.printButton()->click();
            QVERIFY(!d.isVisible());
        });
        const QString message = messageOf([&] {
            printSheet(nullptr, m_sheet, {0, 0, 3, 3}, kWindow,
                       [](QWidget*, const SheetReport&, SheetPrintMode) {
                           throw Exception(QStringLiteral("Принтер не отвечает"));
                       });
        });
        QCOMPARE(message, QStringLiteral("Принтер не отвечает"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_place->store().options().option(kWindow + ".DingerFontPageOrientation"),
                 QStringLiteral("0"));
    }

private:
    std::unique_ptr<Workplace> m_place;
    SheetGrid m_sheet;
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestSheetPrint)
#include "test_sheet_print.moc"
