#include "reports/sheet_painter.h"

#include "core/key_value_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

constexpr int kInset = 4;

bool isHot(const SheetCell& cell) {
    return getKeyValue(cell.tags, QStringLiteral("H")) == QLatin1String("1");
}

// The end of the next word at or after position, with the blanks behind it.
qsizetype wordEnd(const QString& text, qsizetype position) {
    while (position < text.size() && text[position] == u' ')
        ++position;
    while (position < text.size() && text[position] != u' ')
        ++position;
    while (position < text.size() && text[position] == u' ')
        ++position;
    return position;
}

QString trimmedRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

} // namespace

QStringList wrapCellText(const QString& text, double room,
                         const std::function<double(const QString&)>& widthOf) {
    QStringList lines;
    qsizetype position = 0;
    while (true) {
        while (position < text.size() && text[position] == u' ')
            ++position;
        if (position >= text.size())
            return lines;
        qsizetype end = wordEnd(text, position);
        QString line = trimmedRight(text.mid(position, end - position));
        while (widthOf(line) < room && end < text.size()) {
            const qsizetype next = wordEnd(text, end);
            const QString longer = trimmedRight(text.mid(position, next - position));
            if (widthOf(longer) > room)
                break;
            line = longer;
            end = next;
        }
        lines.append(line);
        position = end;
    }
}

QColor toQColor(SheetColor color, const QPalette& palette) {
    const quint32 value = quint32(color);
    if ((value & 0xFF000000u) != 0xFF000000u)
        return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    switch (value & 0xFF) {
    case 5: // the window
        return palette.color(QPalette::Base);
    case 8: // the window's text
        return palette.color(QPalette::Text);
    case 13: // selected items
        return palette.color(QPalette::Highlight);
    case 14: // their text
        return palette.color(QPalette::HighlightedText);
    case 15: // the face of buttons
        return palette.color(QPalette::Button);
    case 18: // their text
        return palette.color(QPalette::ButtonText);
    default:
        return palette.color(QPalette::Window);
    }
}

SheetPainter::SheetPainter(QPainter& painter, const SheetCells& cells, const QPalette& palette,
                           SheetColor hotColor)
    : m_painter(painter), m_cells(cells), m_palette(palette), m_hotColor(hotColor) {}

void SheetPainter::paintCell(int x, int y, const QRect& rect, bool selected,
                             const Distance& distanceTo) {
    const SheetCell* cell = m_cells.cell(x, y);
    m_painter.fillRect(rect, toQColor(cell ? cell->color : kWindowColor, m_palette));
    if (cell && cell->kind() != CellValueKind::Empty)
        paintText(*cell, rect);
    else
        paintSpill(x, y, rect, distanceTo);
    if (cell)
        paintBorders(*cell, rect);
    if (selected)
        invert(rect);
}

QColor SheetPainter::textColor(const SheetCell& cell) const {
    const SheetColor color =
        cell.textColor == kWindowTextColor && isHot(cell) ? m_hotColor : cell.textColor;
    return toQColor(color, m_palette);
}

void SheetPainter::paintText(const SheetCell& cell, const QRect& rect) {
    m_painter.setPen(textColor(cell));
    const QFontMetrics metrics = m_painter.fontMetrics();
    const QString text = displayText(cell);
    if (!cell.wordWrap) {
        const int left = lineLeft(metrics.horizontalAdvance(text), cell.alignment, rect);
        drawLine(text, left, rect.top() + rect.height() - metrics.height() - 1, rect);
        return;
    }
    // The block ends on the cell's bottom; the lines above the cell's top are not drawn.
    const QStringList lines = wrappedLines(text, rect.width());
    const int height = metrics.height();
    const int room = rect.height() - 1;
    const int reaching = room <= 0 ? 0 : height > 0 ? (room + height - 1) / height : 1;
    const int shown = std::min(int(lines.size()), reaching);
    int top = rect.top() + rect.height() - 1 - shown * height;
    for (qsizetype i = lines.size() - shown; i < lines.size(); ++i) {
        const QString& line = lines[i];
        drawLine(line, lineLeft(metrics.horizontalAdvance(line), cell.alignment, rect), top, rect);
        top += height;
    }
}

QStringList SheetPainter::wrappedLines(const QString& text, int width) const {
    const QFontMetrics metrics = m_painter.fontMetrics();
    return wrapCellText(text, width - 2 * kInset, [&metrics](const QString& line) {
        return metrics.horizontalAdvance(line);
    });
}

void SheetPainter::paintSpill(int x, int y, const QRect& rect, const Distance& distanceTo) {
    // The nearest cell on the left that holds a value; a wrapping cell on the way stops it.
    int from = x;
    const SheetCell* left = nullptr;
    while ((left = m_cells.cellBefore(from, y, from))) {
        if (left->wordWrap)
            return;
        if (left->kind() != CellValueKind::Empty)
            break;
    }
    if (!left || left->alignment != CellAlignment::Left)
        return;
    // The cells after it in the row ask for the same text: it is measured once.
    if (left != m_spilling) {
        m_spilling = left;
        m_spillText = displayText(*left);
        m_spillWidth = m_painter.fontMetrics().horizontalAdvance(m_spillText);
    }
    const qint64 distance = distanceTo(from);
    if (m_spillWidth <= distance)
        return;
    m_painter.setPen(textColor(*left));
    drawLine(m_spillText, rect.left() - int(distance) + kInset,
             rect.top() + rect.height() - m_painter.fontMetrics().height() - 1, rect);
}

void SheetPainter::paintBorders(const SheetCell& cell, const QRect& rect) {
    // A strip wider than the cell fills the cell, and no more.
    const QColor black(Qt::black);
    const int left = std::min(cell.borderLeft, rect.width());
    const int right = std::min(cell.borderRight, rect.width());
    const int top = std::min(cell.borderTop, rect.height());
    const int bottom = std::min(cell.borderBottom, rect.height());
    if (left > 0)
        m_painter.fillRect(rect.left(), rect.top(), left, rect.height(), black);
    if (right > 0)
        m_painter.fillRect(rect.left() + rect.width() - right, rect.top(), right, rect.height(),
                           black);
    if (top > 0)
        m_painter.fillRect(rect.left(), rect.top(), rect.width(), top, black);
    if (bottom > 0)
        m_painter.fillRect(rect.left(), rect.top() + rect.height() - bottom, rect.width(), bottom,
                           black);
}

void SheetPainter::invert(const QRect& rect) {
    // Every pixel row from the top to the top plus the row's height, that one included.
    const QPainter::CompositionMode mode = m_painter.compositionMode();
    m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    m_painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), rect.height() + 1), Qt::black);
    m_painter.setCompositionMode(mode);
}

int SheetPainter::lineLeft(int width, CellAlignment alignment, const QRect& rect) const {
    switch (alignment) {
    case CellAlignment::Left:
        return rect.left() + kInset;
    case CellAlignment::Right:
        return rect.left() + rect.width() - width - kInset;
    case CellAlignment::Center:
        return rect.left() + (rect.width() - width) / 2;
    }
    return rect.left();
}

void SheetPainter::drawLine(const QString& line, int left, int top, const QRect& clip) {
    m_painter.save();
    m_painter.setClipRect(clip, Qt::ReplaceClip);
    m_painter.drawText(left, top + m_painter.fontMetrics().ascent(), line);
    m_painter.restore();
}
