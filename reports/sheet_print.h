#pragma once

#include "printing/report.h"
#include "reports/sheet_print_dialog.h"
#include "reports/sheet_range.h"

#include <QString>
#include <functional>

class QWidget;
class SheetGrid;

// A rectangle of a sheet printed as a banded report: one detail band per row, its cells
// scaled together to the page's width.

// The length of one pixel of a sheet on paper, as a screen of 96 pixels to the inch shows it:
// row heights, border widths and the insets of the texts are measured in these.
inline constexpr double kSheetPixelMm = 25.4 / 96;

// A report and what it runs with.
struct SheetReport {
    printing::Report report;
    printing::ReportData data;
};

// The cells of range on A4 in orientation, 10 mm margins, every text in font. Each row is a
// band as high as the row. A column takes its share of the page's width by its own width in
// the sheet; when the columns are all 0 wide, no cell prints. A cell prints its text at the bottom,
// 4 pixels in from the sides and 1 from the bottom (wrapped at blanks when the cell wraps as on
// the screen, the block of lines on the bottom and cut at the cell's top when it does not all
// fit), in black on no background; a left-aligned text runs on over
// the cells to its right up to the first that holds a value. Each border is a bar of its width
// inside the cell. The report keeps what it needs of the sheet: the sheet may change or go while it
// prints.
SheetReport sheetPrintReport(const SheetGrid& sheet, const SheetRange& range,
                             const printing::FontSpec& font, printing::Orientation orientation);

// Where a report of the sheet print dialog goes.
using SheetOutput =
    std::function<void(QWidget* owner, const SheetReport& report, SheetPrintMode mode)>;

// The modal preview over owner, or the system's default printer.
void previewOrPrintSheet(QWidget* owner, const SheetReport& report, SheetPrintMode mode);

// The print dialog of a sheet's range over owner, starting from the print settings the book
// keeps for settingsKey (the printing window's class name). Each preview or print goes through
// output on a report of the current choice, and the dialog stays open. However it closes, the
// choice is written back to the settings. A failure of the output closes the dialog and passes
// on to the caller.
void printSheet(QWidget* owner, const SheetGrid& sheet, const SheetRange& range,
                const QString& settingsKey, const SheetOutput& output = previewOrPrintSheet);
