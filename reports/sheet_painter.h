#pragma once

#include "reports/sheet_cells.h"

#include <QColor>
#include <QString>
#include <functional>

class QPainter;
class QPalette;
class QRect;

// The lines of a text wrapped at blanks to room, the width inside a cell's insets, as the
// screen and the paper break it: word by word, a line takes the next word while it stays
// narrower than room and no wider with it; a word too wide for room stands alone. Blanks at a
// line's start are skipped and at its end dropped. widthOf measures a line in room's units.
QStringList wrapCellText(const QString& text, double room,
                         const std::function<double(const QString&)>& widthOf);

// The colour a sheet keeps, on the screen: a colour of the system's scheme through the palette
// (the window's background as Base, its text as Text).
QColor toQColor(SheetColor color, const QPalette& palette);

// Paints the cells of a sheet, one at a time, with the painter's font: background, text at the
// bottom of the cell (4 pixels in from its sides), wrapped at blanks or running over into empty
// cells on the right, border strips and, for a selected cell, inverted pixels. A cell costs what
// its text and its pixels cost, however far the cell its text runs over from lies. One painter
// serves one paint, in one font: the cells do not change while it lives.
class SheetPainter {
public:
    // distanceTo(from): the pixels from the start of column from to the start of the column
    // being painted, for text that runs over from there.
    using Distance = std::function<qint64(int from)>;

    SheetPainter(QPainter& painter, const SheetCells& cells, const QPalette& palette,
                 SheetColor hotColor);

    void paintCell(int x, int y, const QRect& rect, bool selected, const Distance& distanceTo);

    // The lines of a wrapped text in a cell width pixels wide.
    QStringList wrappedLines(const QString& text, int width) const;

private:
    // The cell's text colour; the hot colour for a hot cell in the window's text colour.
    QColor textColor(const SheetCell& cell) const;
    void paintText(const SheetCell& cell, const QRect& rect);
    void paintSpill(int x, int y, const QRect& rect, const Distance& distanceTo);
    void paintBorders(const SheetCell& cell, const QRect& rect);
    void invert(const QRect& rect);
    // Where a line width pixels wide starts in rect.
    int lineLeft(int width, CellAlignment alignment, const QRect& rect) const;
    void drawLine(const QString& line, int left, int top, const QRect& clip);

    QPainter& m_painter;
    const SheetCells& m_cells;
    const QPalette& m_palette;
    SheetColor m_hotColor;
    // The cell whose text ran over last, its text and that text's width.
    const SheetCell* m_spilling = nullptr;
    QString m_spillText;
    int m_spillWidth = 0;
};
