#pragma once

#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>

// A banded report as plain data: an A4 page with margins, a title band printed once at the top
// of the first page, a detail band printed a number of times, and a summary band after the last
// detail. Every length is in millimetres. A band is never split: one that does not fit in what
// is left of a page starts the next page.
namespace printing {

enum class Orientation { Portrait, Landscape };

// The A4 sheet and its margins.
struct PageSetup {
    Orientation orientation = Orientation::Portrait;
    QMarginsF margins{10, 10, 10, 10};

    // The sheet, 210 x 297 mm standing or 297 x 210 mm lying.
    QSizeF paperSize() const;
    // The part of the sheet inside the margins, from the sheet's top left corner.
    QRectF contentRect() const;
};

// A font by family and size in points. "Times New Roman" and "Arial" print in their metric twins.
struct FontSpec {
    QString family = QStringLiteral("Times New Roman");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontSpec&) const = default;
};

enum class HorizontalAlign { Left, Center, Right };
enum class VerticalAlign { Top, Center, Bottom };

// The sides of a frame that are drawn.
struct Sides {
    bool left = true;
    bool top = true;
    bool right = true;
    bool bottom = true;

    bool operator==(const Sides&) const = default;
};

enum class ElementKind {
    Label,    // a fixed text on one line
    DataText, // a text given when the report runs, by field name, on one line
    Memo,     // lines of text, each wrapped at word breaks to the width of its frame
    Line,     // a straight line from the top left to the bottom right corner of its rectangle
    Frame,    // the chosen sides of its rectangle, drawn as bars inside it
};

// One thing placed on a band; its rectangle is measured from the band's top left corner.
// Texts are cut at their rectangle.
struct Element {
    ElementKind kind = ElementKind::Label;
    QString name; // for finding the element in a band
    QRectF rect;
    QString text;  // a label's text, a memo's lines separated by "\n"
    QString field; // a data text's field, or a memo's when it shows a field
    FontSpec font;
    HorizontalAlign align = HorizontalAlign::Left;
    VerticalAlign verticalAlign = VerticalAlign::Top;
    Sides sides;            // a frame's sides
    double lineWidth = 0.2; // a line's and a frame's thickness
};

Element label(const QRectF& rect, const QString& text, const FontSpec& font = {},
              HorizontalAlign align = HorizontalAlign::Left);
Element dataText(const QRectF& rect, const QString& field, const FontSpec& font = {},
                 HorizontalAlign align = HorizontalAlign::Left);
Element memo(const QRectF& rect, const QString& text, const FontSpec& font = {},
             HorizontalAlign align = HorizontalAlign::Left);
Element line(const QPointF& from, const QPointF& to, double width = 0.2);
Element frame(const QRectF& rect, Sides sides = {}, double width = 0.2);

// A band: printed when its height is above zero.
struct Band {
    double height = 0;
    QList<Element> elements;

    // The element of that name, or null.
    Element* find(const QString& name);
};

struct Report {
    PageSetup page;
    Band title;
    Band detail;
    int detailCount = 1;
    Band summary;
};

// What a report runs with: the texts of the data fields, and a hook that may change each detail
// band (by its index from 0) before it is laid out. The hook gets a fresh copy of the detail band
// every time, so a run never sees what an earlier run did to it.
struct ReportData {
    QHash<QString, QString> fields;
    std::function<void(int index, Band& band)> beforeDetail;
};

} // namespace printing
