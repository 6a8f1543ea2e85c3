#include "reports/sheet_grid.h"

#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "reports/sheet_painter.h"
#include "reports/sheet_text.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace {

const QColor kLineColor(192, 192, 192);
const QColor kFixedLineColor(Qt::black);

// The character a key press types, as the grid's key hook sees it: Enter as a carriage return,
// Escape and Backspace as their control codes; null for a key that types nothing.
QChar typedChar(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(u'\r');
    case Qt::Key_Escape:
        return QChar(0x1B);
    case Qt::Key_Backspace:
        return QChar(0x08);
    default:
        return event->text().isEmpty() ? QChar() : event->text().at(0);
    }
}

bool isEditorKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up ||
           key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

} // namespace

SheetGrid::SheetGrid(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_options(Option::FixedVertLine | Option::FixedHorzLine | Option::VertLine |
                Option::HorzLine | Option::RangeSelect) {
    setObjectName(QStringLiteral("sheetGrid"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_editor = new QLineEdit(viewport());
    m_editor->setObjectName(QStringLiteral("cellEditor"));
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    registerSheetTextCommands(*this);
    applyLines();
    resize(320, 240);
}

SheetGrid::~SheetGrid() = default;

SheetCell& SheetGrid::writable(int x, int y) {
    return m_cells.cellForWriting(x, y);
}

void SheetGrid::setCellCurrency(int x, int y, Currency value) {
    writable(x, y).value = value;
    refresh();
}

void SheetGrid::setCellString(int x, int y, const QString& text) {
    writable(x, y).value = text;
    refresh();
}

void SheetGrid::setCellNumberFormat(int x, int y, const QString& mask) {
    writable(x, y).numberFormat = mask;
    refresh();
}

void SheetGrid::setCellAlignment(int x, int y, CellAlignment alignment) {
    writable(x, y).alignment = alignment;
    refresh();
}

void SheetGrid::setCellWordWrap(int x, int y, bool wrap) {
    writable(x, y).wordWrap = wrap;
    refresh();
}

void SheetGrid::setCellParams(int x, int y, const QString& tags) {
    writable(x, y).tags = tags;
    refresh();
}

void SheetGrid::setCellColor(int x, int y, SheetColor color) {
    writable(x, y).color = color;
    refresh();
}

void SheetGrid::setCellTextColor(int x, int y, SheetColor color) {
    writable(x, y).textColor = color;
    refresh();
}

void SheetGrid::setCellBorders(int x, int y, int left, int right, int top, int bottom) {
    SheetCell& cell = writable(x, y);
    if (left != -1)
        cell.borderLeft = left;
    if (right != -1)
        cell.borderRight = right;
    if (top != -1)
        cell.borderTop = top;
    if (bottom != -1)
        cell.borderBottom = bottom;
    refresh();
}

void SheetGrid::setCellParam(int x, int y, const QString& key, const QString& value) {
    const bool made = !cellExists(x, y);
    SheetCell& cell = writable(x, y);
    cell.tags = setKeyValue(cell.tags, key, value);
    if (made)
        refresh();
}

QString SheetGrid::cellParam(int x, int y, const QString& key) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? getKeyValue(cell->tags, key) : QString();
}

void SheetGrid::addSelectedRect(int left, int top, int right, int bottom) {
    m_selectedRects.append(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void SheetGrid::clearSelectedRects() {
    m_selectedRects.clear();
}

void SheetGrid::setSelectionBorders(int left, int right, int top, int bottom) {
    for (const QRect& rect : std::as_const(m_selectedRects))
        for (int x = rect.left(); x <= rect.right(); ++x)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                setCellBorders(x, y, left, right, top, bottom);
}

CellValueKind SheetGrid::cellValueKind(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? cell->kind() : CellValueKind::Empty;
}

Currency SheetGrid::cellCurrency(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    if (!cell)
        return Currency{};
    if (const Currency* amount = std::get_if<Currency>(&cell->value))
        return *amount;
    if (const QString* text = std::get_if<QString>(&cell->value))
        return strToCurrDot(*text);
    return Currency{};
}

QString SheetGrid::cellText(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    if (!cell)
        return QString();
    if (const Currency* amount = std::get_if<Currency>(&cell->value))
        return currencyText(*amount);
    if (const QString* text = std::get_if<QString>(&cell->value))
        return *text;
    return QString();
}

SheetGrid::Borders SheetGrid::cellBorders(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? Borders{cell->borderLeft, cell->borderRight, cell->borderTop, cell->borderBottom}
                : Borders{};
}

CellAlignment SheetGrid::cellAlignment(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? cell->alignment : CellAlignment::Left;
}

QString SheetGrid::cellNumberFormat(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? cell->numberFormat : QString();
}

bool SheetGrid::cellWordWrap(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell && cell->wordWrap;
}

QString SheetGrid::cellParams(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? cell->tags : QString();
}

SheetColor SheetGrid::cellColor(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? cell->color : kWindowColor;
}

SheetColor SheetGrid::cellTextColor(int x, int y) const {
    const SheetCell* cell = m_cells.cell(x, y);
    return cell ? cell->textColor : kWindowTextColor;
}

void SheetGrid::clearCells() {
    m_cells.clear();
    refresh();
}

void SheetGrid::setDefaultColWidth(int width) {
    m_columns.setDefaultSize(width);
    layoutChanged();
}

void SheetGrid::setColWidth(int x, int width) {
    m_columns.setSize(x, width);
    layoutChanged();
}

void SheetGrid::setRowHeight(int y, int height) {
    m_rows.setSize(y, height);
    layoutChanged();
}

namespace {

Exception tooManyFixedColumns(int count, int of) {
    return Exception(
        QStringLiteral("Закреплённых столбцов должно быть меньше, чем всех столбцов (%1 из %2)")
            .arg(count)
            .arg(of));
}

Exception tooManyFixedRows(int count, int of) {
    return Exception(
        QStringLiteral("Закреплённых строк должно быть меньше, чем всех строк (%1 из %2)")
            .arg(count)
            .arg(of));
}

} // namespace

void SheetGrid::setFixedCols(int count) {
    if (count < 0 || count >= colCount())
        throw tooManyFixedColumns(count, colCount());
    m_columns.setFixed(count);
    m_col = std::max(m_col, count);
    m_anchorCol = std::max(m_anchorCol, count);
    layoutChanged();
}

void SheetGrid::setFixedRows(int count) {
    if (count < 0 || count >= rowCount())
        throw tooManyFixedRows(count, rowCount());
    m_rows.setFixed(count);
    m_row = std::max(m_row, count);
    m_anchorRow = std::max(m_anchorRow, count);
    layoutChanged();
}

void SheetGrid::setGridOptions(Options options) {
    if (!(options & Option::Editing) || (options & Option::RowSelect))
        commitEdit();
    m_options = options;
    applyLines();
    layoutChanged();
}

void SheetGrid::recheckEditing() {
    Options options = m_options;
    options.setFlag(Option::Editing, gridCanEditCell(m_col, m_row));
    setGridOptions(options);
}

void SheetGrid::setGridSize(int fixedCols, int fixedRows, int dataCols, int dataRows) {
    constexpr int kMaxCount = SheetCells::kMaxIndex + 1;
    if (fixedCols < 0 || fixedRows < 0 || dataCols < 0 || dataRows < 0 ||
        fixedCols > kMaxCount - dataCols || fixedRows > kMaxCount - dataRows)
        throw Exception(QStringLiteral("Неверный размер листа: %1 + %2 столбцов, %3 + %4 строк "
                                       "(в листе может быть до %5 столбцов и строк)")
                            .arg(fixedCols)
                            .arg(dataCols)
                            .arg(fixedRows)
                            .arg(dataRows)
                            .arg(kMaxCount));
    // A grid has at least one column and one row, and one of them scrolls.
    const int cols = std::max(fixedCols + dataCols, 1);
    const int rows = std::max(fixedRows + dataRows, 1);
    if (fixedCols >= cols)
        throw tooManyFixedColumns(fixedCols, cols);
    if (fixedRows >= rows)
        throw tooManyFixedRows(fixedRows, rows);
    commitEdit();
    m_columns.setCount(cols);
    m_rows.setCount(rows);
    m_col = std::min(m_col, cols - 1);
    m_row = std::min(m_row, rows - 1);
    m_anchorCol = std::min(m_anchorCol, cols - 1);
    m_anchorRow = std::min(m_anchorRow, rows - 1);
    setFixedCols(fixedCols);
    setFixedRows(fixedRows);
}

bool SheetGrid::setCurrentCell(int col, int row) {
    if (col < fixedCols() || col >= colCount() || row < fixedRows() || row >= rowCount())
        return false;
    return moveTo(col, row, false);
}

void SheetGrid::setGridCursor(const QCursor& cursor) {
    viewport()->setCursor(cursor);
}

bool SheetGrid::mouseToCell(const QPoint& point, int& col, int& row) const {
    col = m_columns.indexAt(point.x(), viewport()->width());
    row = m_rows.indexAt(point.y(), viewport()->height());
    if (col < 0 || row < 0) {
        col = -1;
        row = -1;
        return false;
    }
    return true;
}

QRect SheetGrid::cellRect(int col, int row) const {
    const int left = m_columns.startOf(col, viewport()->width());
    const int top = m_rows.startOf(row, viewport()->height());
    if (left < 0 || top < 0)
        return QRect();
    return QRect(left, top, colWidth(col), rowHeight(row));
}

void SheetGrid::endUpdate() {
    m_updateLocked = false;
    refresh();
}

void SheetGrid::refresh() {
    if (!m_updateLocked)
        viewport()->update();
}

void SheetGrid::setHotColor(SheetColor color) {
    m_hotColor = color;
    refresh();
}

void SheetGrid::setPopupMenu(QMenu* menu) {
    m_popupMenu = menu;
}

void SheetGrid::commitEdit() {
    if (!m_editing)
        return;
    m_editing = false;
    const QString text = m_editor->text();
    if (m_editor->hasFocus()) {
        m_innerFocusMove = true;
        setFocus(Qt::OtherFocusReason);
        m_innerFocusMove = false;
    }
    m_editor->hide();
    gridSetEditText(m_editCol, m_editRow, text);
    viewport()->update();
}

void SheetGrid::cancelEdit() {
    if (!m_editing)
        return;
    m_editing = false;
    if (m_editor->hasFocus()) {
        m_innerFocusMove = true;
        setFocus(Qt::OtherFocusReason);
        m_innerFocusMove = false;
    }
    m_editor->hide();
    viewport()->update();
}

bool SheetGrid::gridCanEditCell(int, int) {
    return false;
}

void SheetGrid::gridGetEditMask(int, int, QString&) {}
void SheetGrid::gridGetEditText(int, int, QString&) {}
void SheetGrid::gridSetEditText(int, int, const QString&) {}
void SheetGrid::gridMouseMove(Qt::KeyboardModifiers, int, int) {}
void SheetGrid::gridClick() {}
void SheetGrid::gridContextPopup(const QPoint&, bool&) {}
void SheetGrid::gridDblClick() {}
void SheetGrid::gridEnter() {}
void SheetGrid::gridExit() {}
void SheetGrid::gridKeyDown(int&, Qt::KeyboardModifiers) {}
void SheetGrid::gridKeyPress(QChar&) {}
void SheetGrid::gridKeyUp(int&, Qt::KeyboardModifiers) {}
void SheetGrid::gridMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void SheetGrid::gridMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void SheetGrid::gridMouseWheelDown(Qt::KeyboardModifiers, const QPoint&, bool&) {}
void SheetGrid::gridMouseWheelUp(Qt::KeyboardModifiers, const QPoint&, bool&) {}
void SheetGrid::gridSelectCell(int, int, bool&) {}
void SheetGrid::gridTopLeftChanged() {}

void SheetGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QRect area = viewport()->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    const std::vector<GridAxis::Span> columns = m_columns.visible(area.width());
    const std::vector<GridAxis::Span> rows = m_rows.visible(area.height());
    paintLines(painter, columns, rows);
    SheetPainter cells(painter, m_cells, palette(), m_hotColor);
    for (const GridAxis::Span& row : rows) {
        for (const GridAxis::Span& column : columns) {
            const QRect rect(column.start, row.start, column.size, row.size);
            const auto distanceTo = [&](int from) {
                return m_columns.distance(from, column.index);
            };
            cells.paintCell(column.index, row.index, rect, isSelected(column.index, row.index),
                            distanceTo);
            if (column.index < fixedCols() || row.index < fixedRows())
                paintFixedEdges(painter, rect);
        }
    }
    if (hasFocus() && !m_editing && !(m_options & Option::RowSelect)) {
        const QRect current = cellRect(m_col, m_row);
        if (!current.isEmpty()) {
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(current.adjusted(0, 0, -1, -1));
        }
    }
}

void SheetGrid::paintLines(QPainter& painter, const std::vector<GridAxis::Span>& columns,
                           const std::vector<GridAxis::Span>& rows) {
    if (columns.empty() || rows.empty())
        return;
    const int right =
        columns.back().start + columns.back().size + m_columns.lineAfter(columns.back().index);
    const int bottom = rows.back().start + rows.back().size + m_rows.lineAfter(rows.back().index);
    for (const GridAxis::Span& column : columns) {
        const int line = m_columns.lineAfter(column.index);
        if (line > 0)
            painter.fillRect(column.start + column.size, 0, line, bottom,
                             column.index < fixedCols() ? kFixedLineColor : kLineColor);
    }
    for (const GridAxis::Span& row : rows) {
        const int line = m_rows.lineAfter(row.index);
        if (line > 0)
            painter.fillRect(0, row.start + row.size, right, line,
                             row.index < fixedRows() ? kFixedLineColor : kLineColor);
    }
}

void SheetGrid::paintFixedEdges(QPainter& painter, const QRect& rect) {
    // The raised edge of a fixed cell: light above and on the left, dark below and on the right.
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, palette().color(QPalette::Light));
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), palette().color(QPalette::Light));
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, palette().color(QPalette::Mid));
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), palette().color(QPalette::Mid));
}

bool SheetGrid::isSelected(int col, int row) const {
    if (col < fixedCols() || row < fixedRows())
        return false;
    const bool rowSelect = bool(m_options & Option::RowSelect);
    const int left = rowSelect ? fixedCols() : std::min(m_col, m_anchorCol);
    const int right = rowSelect ? colCount() - 1 : std::max(m_col, m_anchorCol);
    const int top = std::min(m_row, m_anchorRow);
    const int bottom = std::max(m_row, m_anchorRow);
    if (col < left || col > right || row < top || row > bottom)
        return false;
    // The current cell of a grid with the focus has a focus frame instead.
    return rowSelect || !hasFocus() || col != m_col || row != m_row;
}

void SheetGrid::applyLines() {
    m_columns.setLines(m_options & Option::FixedVertLine ? 1 : 0,
                       m_options & Option::VertLine ? 1 : 0);
    m_rows.setLines(m_options & Option::FixedHorzLine ? 1 : 0,
                    m_options & Option::HorzLine ? 1 : 0);
}

void SheetGrid::layoutChanged() {
    m_layoutDirty = true;
    viewport()->update();
    if (m_layoutQueued)
        return;
    m_layoutQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_layoutQueued = false;
            ensureLayout();
        },
        Qt::QueuedConnection);
}

void SheetGrid::ensureLayout() {
    if (!m_layoutDirty)
        return;
    m_layoutDirty = false;
    const QSize area = viewport()->size();
    const auto setBar = [](QScrollBar* bar, const GridAxis& axis, int extent) {
        const QSignalBlocker blocker(bar);
        bar->setRange(axis.fixed(), axis.lastFirst(extent));
        bar->setPageStep(std::max(1, axis.scrollingShown(extent)));
        bar->setValue(axis.first());
    };
    setBar(horizontalScrollBar(), m_columns, area.width());
    setBar(verticalScrollBar(), m_rows, area.height());
    placeEditor();
}

void SheetGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layoutChanged();
}

void SheetGrid::scrollContentsBy(int, int) {
    setTopLeft(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void SheetGrid::setTopLeft(int leftCol, int topRow) {
    const int oldLeft = m_columns.first();
    const int oldTop = m_rows.first();
    m_columns.setFirst(leftCol);
    m_rows.setFirst(topRow);
    if (m_columns.first() == oldLeft && m_rows.first() == oldTop)
        return;
    {
        const QSignalBlocker horizontal(horizontalScrollBar());
        const QSignalBlocker vertical(verticalScrollBar());
        horizontalScrollBar()->setValue(m_columns.first());
        verticalScrollBar()->setValue(m_rows.first());
    }
    placeEditor();
    viewport()->update();
    gridTopLeftChanged();
}

void SheetGrid::showCurrent() {
    setTopLeft(m_columns.firstShowing(m_col, viewport()->width()),
               m_rows.firstShowing(m_row, viewport()->height()));
}

bool SheetGrid::moveTo(int col, int row, bool extend) {
    ensureLayout();
    col = std::clamp(col, fixedCols(), colCount() - 1);
    row = std::clamp(row, fixedRows(), rowCount() - 1);
    const bool spread = extend && (m_options & Option::RangeSelect);
    if (col == m_col && row == m_row) {
        if (!spread) {
            m_anchorCol = col;
            m_anchorRow = row;
            viewport()->update();
        }
        return true;
    }
    commitEdit();
    bool canSelect = true;
    gridSelectCell(col, row, canSelect);
    if (!canSelect)
        return false;
    m_options.setFlag(Option::Editing, gridCanEditCell(col, row));
    m_col = col;
    m_row = row;
    if (!spread) {
        m_anchorCol = col;
        m_anchorRow = row;
    }
    showCurrent();
    viewport()->update();
    gridClick();
    return true;
}

bool SheetGrid::canShowEditor() const {
    return (m_options & Option::Editing) && !(m_options & Option::RowSelect) &&
           m_col >= fixedCols() && m_row >= fixedRows();
}

void SheetGrid::showEditor(const QString* typed) {
    if (m_editing)
        return;
    QString mask;
    gridGetEditMask(m_col, m_row, mask);
    QString text;
    gridGetEditText(m_col, m_row, text);
    m_editor->setInputMask(mask);
    m_editor->setText(typed ? *typed : text);
    m_editor->setFont(font());
    m_editing = true;
    m_editCol = m_col;
    m_editRow = m_row;
    placeEditor();
    m_innerFocusMove = true;
    m_editor->setFocus(Qt::OtherFocusReason);
    m_innerFocusMove = false;
}

void SheetGrid::placeEditor() {
    if (!m_editing)
        return;
    const QRect rect = cellRect(m_editCol, m_editRow);
    m_editor->setGeometry(rect);
    m_editor->setVisible(!rect.isEmpty());
}

void SheetGrid::keyPressEvent(QKeyEvent* event) {
    processKey(event);
}

void SheetGrid::processKey(QKeyEvent* event) {
    int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    gridKeyDown(key, modifiers);
    bool taken = key == 0 || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key != 0 && navigate(key, modifiers))
        taken = true;
    QChar typed = typedChar(event);
    if (!typed.isNull()) {
        gridKeyPress(typed);
        if (!typed.isNull() && typed.isPrint() && canShowEditor()) {
            const QString text(typed);
            showEditor(&text);
            taken = true;
        }
    }
    event->setAccepted(taken);
}

bool SheetGrid::navigate(int key, Qt::KeyboardModifiers modifiers) {
    ensureLayout();
    const bool extend = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    const int page = std::max(1, m_rows.scrollingShown(viewport()->height()));
    switch (key) {
    case Qt::Key_Up:
        moveTo(m_col, m_row - 1, extend);
        return true;
    case Qt::Key_Down:
        moveTo(m_col, m_row + 1, extend);
        return true;
    case Qt::Key_Left:
        moveTo(m_col - 1, m_row, extend);
        return true;
    case Qt::Key_Right:
        moveTo(m_col + 1, m_row, extend);
        return true;
    case Qt::Key_PageUp:
        moveTo(m_col, m_row - page, extend);
        return true;
    case Qt::Key_PageDown:
        moveTo(m_col, m_row + page, extend);
        return true;
    case Qt::Key_Home:
        moveTo(fixedCols(), control ? fixedRows() : m_row, extend);
        return true;
    case Qt::Key_End:
        moveTo(colCount() - 1, control ? rowCount() - 1 : m_row, extend);
        return true;
    case Qt::Key_F2:
        if (!canShowEditor())
            return false;
        showEditor(nullptr);
        return true;
    default:
        return false;
    }
}

void SheetGrid::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    int key = event->key();
    gridKeyUp(key, event->modifiers());
}

void SheetGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    int col = -1;
    int row = -1;
    if (event->button() == Qt::LeftButton && mouseToCell(point, col, row) && col >= fixedCols() &&
        row >= fixedRows()) {
        commitEdit();
        setFocus(Qt::MouseFocusReason);
        const bool wasCurrent = col == m_col && row == m_row;
        const bool extend = event->modifiers() & Qt::ShiftModifier;
        if (moveTo(col, row, extend)) {
            m_selecting = bool(m_options & Option::RangeSelect);
            if (wasCurrent && !extend && canShowEditor())
                showEditor(nullptr);
        }
    }
    gridMouseDown(event->button(), event->modifiers(), point.x(), point.y());
}

void SheetGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    int col = -1;
    int row = -1;
    if (m_selecting && (event->buttons() & Qt::LeftButton) && mouseToCell(point, col, row))
        moveTo(col, row, true);
    gridMouseMove(event->modifiers(), point.x(), point.y());
}

void SheetGrid::mouseReleaseEvent(QMouseEvent* event) {
    m_selecting = false;
    const QPoint point = event->position().toPoint();
    gridMouseUp(event->button(), event->modifiers(), point.x(), point.y());
}

void SheetGrid::mouseDoubleClickEvent(QMouseEvent*) {
    gridDblClick();
}

void SheetGrid::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    bool handled = false;
    const QPoint point = event->position().toPoint();
    if (delta < 0)
        gridMouseWheelDown(event->modifiers(), point, handled);
    else
        gridMouseWheelUp(event->modifiers(), point, handled);
    if (!handled)
        moveTo(m_col, m_row + (delta < 0 ? 1 : -1), false);
}

void SheetGrid::contextMenuEvent(QContextMenuEvent* event) {
    bool handled = false;
    gridContextPopup(event->pos(), handled);
    if (!handled && m_popupMenu)
        m_popupMenu->exec(event->globalPos());
}

bool SheetGrid::crossesGrid(const QFocusEvent* event) const {
    return !m_innerFocusMove && event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

void SheetGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    if (crossesGrid(event))
        gridEnter();
}

void SheetGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    if (crossesGrid(event))
        gridExit();
}

bool SheetGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor)
        return QAbstractScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            cancelEdit();
            return true;
        }
        if (!isEditorKey(key->key()))
            return false;
        commitEdit();
        processKey(key);
        return true;
    }
    case QEvent::FocusIn:
        if (crossesGrid(static_cast<QFocusEvent*>(event)))
            gridEnter();
        return false;
    case QEvent::FocusOut:
        if (crossesGrid(static_cast<QFocusEvent*>(event))) {
            commitEdit();
            gridExit();
        }
        return false;
    default:
        return false;
    }
}
