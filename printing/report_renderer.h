#pragma once

#include "printing/report.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;

namespace printing {

// One thing drawn: on which page (from 1), what, where on the sheet (millimetres from its top
// left corner), and for a text what it said in which font (the family as found on the machine).
// A memo gives one item per line it prints, a frame one per side.
struct DrawnItem {
    int page = 1;
    ElementKind kind = ElementKind::Label;
    QRectF rect;
    QString text;
    FontSpec font;

    bool operator==(const DrawnItem&) const = default;
};

using DisplayList = QList<DrawnItem>;

// Sets the printer for the report's page: A4 in its orientation, drawn from the sheet's corner.
void setUpPrinter(QPrinter& printer, const PageSetup& page);

// Lays the report out and draws the whole of it on a printer set up for its page, in the
// orientation the printer has (which the preview lets the user change); each run starts from
// the report as given. Raises when the printer cannot be drawn on.
DisplayList renderReport(const Report& report, const ReportData& data, QPrinter& printer);

// One page drawn by a function instead of bands (a chart): paint draws into area, the part of
// the sheet inside the margins, in the painter's device pixels.
struct PaintedPage {
    PageSetup page;
    std::function<void(QPainter& painter, const QRectF& area)> paint;
};

// Draws the page on a printer set up for it, in the orientation the printer has. Raises when
// the printer cannot be drawn on.
void renderPaintedPage(const PaintedPage& page, QPrinter& printer);

} // namespace printing
