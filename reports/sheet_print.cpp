#include "reports/sheet_print.h"

#include "printing/report_fonts.h"
#include "printing/report_output.h"
#include "reports/sheet_grid.h"
#include "reports/sheet_painter.h"
#include "store/data_store.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <memory>
#include <vector>

using printing::Band;
using printing::Element;
using printing::FontSpec;
using printing::HorizontalAlign;
using printing::Sides;

namespace {

constexpr double kSideInset = 4 * kSheetPixelMm;
constexpr double kBottomInset = 1 * kSheetPixelMm;
// Wrapped texts are broken into lines as the preview and the PDF files draw them, at 1200 dots
// to the inch.
constexpr double kMeasureDpi = 1200;
constexpr double kMeasureDotsPerMm = kMeasureDpi / 25.4;

// The font's measures at kMeasureDpi.
QFontMetricsF measuresOf(const FontSpec& font) {
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(qRound(kMeasureDpi / 0.0254));
    device.setDotsPerMeterY(qRound(kMeasureDpi / 0.0254));
    return QFontMetricsF(printing::toQFont(font), &device);
}

// What prints of one cell; lengths in millimetres from the band's left edge.
struct PrintedCell {
    double left = 0;
    double right = 0;
    double textRight = 0; // where a left-aligned text may run to
    QString text;
    CellAlignment alignment = CellAlignment::Left;
    bool wrap = false;
    int borderLeft = 0;
    int borderRight = 0;
    int borderTop = 0;
    int borderBottom = 0;
};

struct PrintedRow {
    double height = 0;
    std::vector<PrintedCell> cells;
};

bool holdsValue(const SheetCell* cell) {
    return cell && cell->kind() != CellValueKind::Empty;
}

bool isKnown(CellAlignment alignment) {
    return alignment == CellAlignment::Left || alignment == CellAlignment::Right ||
           alignment == CellAlignment::Center;
}

HorizontalAlign printedAlign(CellAlignment alignment) {
    if (alignment == CellAlignment::Right)
        return HorizontalAlign::Right;
    if (alignment == CellAlignment::Center)
        return HorizontalAlign::Center;
    return HorizontalAlign::Left;
}

// The rows of a sheet's range as they print, taken from the sheet once; each detail band is
// made from its row when the report asks for it.
class SheetBands {
public:
    SheetBands(const SheetGrid& sheet, const SheetRange& range, double pageWidth,
               const FontSpec& font)
        : m_font(font), m_metrics(measuresOf(font)) {
        // A column's left edge on the page: its share of the width by the sheet's widths.
        std::vector<double> edges{0};
        long long totalWidth = 0;
        for (int x = range.x1; x <= range.x2; ++x) {
            totalWidth += sheet.colWidth(x);
            edges.push_back(double(totalWidth));
        }
        for (double& edge : edges)
            edge = totalWidth > 0 ? edge * pageWidth / double(totalWidth) : 0;
        for (int y = range.y1; y <= range.y2; ++y)
            m_rows.push_back(takeRow(sheet, range, y, totalWidth > 0, edges));
    }

    int count() const { return int(m_rows.size()); }

    void fill(int index, Band& band) const {
        const PrintedRow& row = m_rows[size_t(index)];
        band.height = row.height;
        band.elements.clear();
        for (const PrintedCell& cell : row.cells) {
            addText(band, cell);
            addBorders(band, cell);
        }
    }

private:
    static PrintedRow takeRow(const SheetGrid& sheet, const SheetRange& range, int y,
                              bool withCells, const std::vector<double>& edges) {
        PrintedRow row;
        row.height = sheet.rowHeight(y) * kSheetPixelMm;
        if (!withCells)
            return row;
        // From the right: the first column after x that holds a value ends x's text.
        int valueColumn = range.x2 + 1;
        for (int x = range.x2; x >= range.x1; --x) {
            const SheetCell* cell = sheet.cells().cell(x, y);
            if (cell) {
                const size_t i = size_t(x - range.x1);
                PrintedCell printed;
                printed.left = edges[i];
                printed.right = edges[i + 1];
                printed.textRight = edges[size_t(valueColumn - range.x1)];
                printed.text = displayText(*cell);
                printed.alignment = cell->alignment;
                printed.wrap = cell->wordWrap;
                printed.borderLeft = cell->borderLeft;
                printed.borderRight = cell->borderRight;
                printed.borderTop = cell->borderTop;
                printed.borderBottom = cell->borderBottom;
                row.cells.push_back(printed);
            }
            if (holdsValue(cell))
                valueColumn = x;
        }
        std::reverse(row.cells.begin(), row.cells.end());
        return row;
    }

    // Other alignments than the three print no text unless the cell wraps, which sets them
    // on the left.
    void addText(Band& band, const PrintedCell& cell) const {
        if (cell.text.isEmpty() || (!cell.wrap && !isKnown(cell.alignment)))
            return;
        const double right = cell.alignment == CellAlignment::Left ? cell.textRight : cell.right;
        const QRectF rect(cell.left + kSideInset, 0, right - cell.left - 2 * kSideInset,
                          band.height - kBottomInset);
        if (rect.width() <= 0 || rect.height() <= 0)
            return;
        const HorizontalAlign align = printedAlign(cell.alignment);
        if (cell.wrap) {
            addWrapped(band, rect, cell.text, align);
            return;
        }
        Element text = printing::label(rect, cell.text, m_font, align);
        text.verticalAlign = printing::VerticalAlign::Bottom;
        band.elements << text;
    }

    // The lines of a wrapped text in rect, the room the cell leaves it, the block on rect's
    // bottom. A line that reaches above the band's top shows what falls inside the band; one
    // wholly above it is left out. The block ends above the band's bottom, so a line is only
    // ever cut at its top: each sits on the bottom of what shows of it.
    void addWrapped(Band& band, const QRectF& rect, const QString& text,
                    HorizontalAlign align) const {
        const QStringList lines = wrapCellText(text, rect.width(), [this](const QString& line) {
            return m_metrics.horizontalAdvance(line) / kMeasureDotsPerMm;
        });
        const double lineHeight = m_metrics.height() / kMeasureDotsPerMm;
        double bottom = rect.bottom() - double(lines.size() - 1) * lineHeight;
        for (const QString& line : lines) {
            const double top = std::max(bottom - lineHeight, 0.0);
            if (bottom > 0) {
                Element shown = printing::label(
                    QRectF(rect.left(), top, rect.width(), bottom - top), line, m_font, align);
                shown.verticalAlign = printing::VerticalAlign::Bottom;
                band.elements << shown;
            }
            bottom += lineHeight;
        }
    }

    static void addBorders(Band& band, const PrintedCell& cell) {
        const QRectF rect(cell.left, 0, cell.right - cell.left, band.height);
        addBorder(band, rect, cell.borderLeft, Sides{true, false, false, false});
        addBorder(band, rect, cell.borderRight, Sides{false, false, true, false});
        addBorder(band, rect, cell.borderTop, Sides{false, true, false, false});
        addBorder(band, rect, cell.borderBottom, Sides{false, false, false, true});
    }

    static void addBorder(Band& band, const QRectF& rect, int width, Sides side) {
        if (width > 0)
            band.elements << printing::frame(rect, side, width * kSheetPixelMm);
    }

    FontSpec m_font;
    QFontMetricsF m_metrics;
    std::vector<PrintedRow> m_rows;
};

} // namespace

SheetReport sheetPrintReport(const SheetGrid& sheet, const SheetRange& range, const FontSpec& font,
                             printing::Orientation orientation) {
    SheetReport result;
    result.report.page.orientation = orientation;
    const double pageWidth = result.report.page.contentRect().width();
    auto bands = std::make_shared<const SheetBands>(sheet, range, pageWidth, font);
    result.report.detailCount = bands->count();
    result.data.beforeDetail = [bands](int index, Band& band) { bands->fill(index, band); };
    return result;
}

void previewOrPrintSheet(QWidget* owner, const SheetReport& report, SheetPrintMode mode) {
    if (mode == SheetPrintMode::Print)
        printing::printOnDefaultPrinter(report.report, report.data);
    else
        printing::previewReport(owner, report.report, report.data);
}

void printSheet(QWidget* owner, const SheetGrid& sheet, const SheetRange& range,
                const QString& settingsKey, const SheetOutput& output) {
    BookOptions options = DataStore::instance().options();
    SheetPrintDialog dialog(owner, SheetPrintSettings::read(options, settingsKey));
    std::exception_ptr failure;
    try {
        dialog.execute([&](SheetPrintDialog& chosen, SheetPrintMode mode) {
            output(&chosen, sheetPrintReport(sheet, range, chosen.font(), chosen.orientation()),
                   mode);
        });
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        dialog.settings().write(options, settingsKey);
    } catch (...) {
        // The failure that closed the dialog is the one the user is told.
        if (!failure)
            throw;
    }
    if (failure)
        std::rethrow_exception(failure);
}
