#include "reports/interactive_sheet.h"

#include "core/exceptions.h"

namespace {

// Switches repainting off for its life and then back to what it was.
class RedrawOff {
public:
    explicit RedrawOff(SheetGrid& grid) : m_grid(grid), m_wasLocked(grid.isUpdateLocked()) {
        m_grid.setRedraw(false);
    }
    ~RedrawOff() { m_grid.setRedraw(!m_wasLocked); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    SheetGrid& m_grid;
    bool m_wasLocked;
};

} // namespace

InteractiveSheet::InteractiveSheet(QWidget* parent) : SheetGrid(parent) {}

bool InteractiveSheet::popChangedCell(int& x, int& y) {
    commitEdit();
    if (m_changedCells.count() == 0)
        return false;
    m_changedCells.get(0, x, y);
    m_changedCells.removeAt(0);
    return true;
}

Currency InteractiveSheet::sumCells(int x1, int y1, int x2, int y2) {
    commitEdit();
    Currency sum;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            try {
                sum.units += cellCurrency(x, y).units;
            } catch (const ConvertError&) {
                // a cell that holds no amount adds nothing
            }
        }
    }
    return sum;
}

void InteractiveSheet::setCellAmount(int x, int y, Currency value, const QString& mask,
                                     CellAlignment alignment) {
    setCellCurrency(x, y, value);
    setCellNumberFormat(x, y, mask);
    setCellAlignment(x, y, alignment);
}

bool InteractiveSheet::gridCanEditCell(int x, int y) {
    if (onCanEditCell)
        return onCanEditCell(x, y);
    return cellParam(x, y, QStringLiteral("W")) == QLatin1String("1");
}

void InteractiveSheet::gridGetEditMask(int x, int y, QString& mask) {
    if (onGetCellEditMask)
        onGetCellEditMask(x, y, mask);
}

void InteractiveSheet::gridGetEditText(int x, int y, QString& text) {
    if (onGetCellEditText) {
        onGetCellEditText(x, y, text);
    } else if (onGetCellEditTextEx) {
        onGetCellEditTextEx(this, x, y, text);
    } else if (cellValueKind(x, y) == CellValueKind::Currency) {
        text = formatFloat(cellNumberFormat(x, y), cellCurrency(x, y));
    } else {
        text = cellText(x, y);
    }
}

void InteractiveSheet::gridSetEditText(int x, int y, const QString& text) {
    const RedrawOff redrawOff(*this);
    if (onSetCellEditText)
        onSetCellEditText(x, y, text);
    else if (onSetCellEditTextEx)
        onSetCellEditTextEx(this, x, y, text);
    else
        storeTypedText(x, y, text);
}

void InteractiveSheet::storeTypedText(int x, int y, const QString& text) {
    if (!cellExists(x, y)) {
        setCellString(x, y, text);
        m_changedCells.add(x, y);
        return;
    }
    if (cellValueKind(x, y) == CellValueKind::Currency) {
        Currency amount;
        try {
            amount = strToCurrDot(text);
        } catch (const ConvertError&) {
            return; // the cell keeps its amount
        }
        const Currency old = cellCurrency(x, y);
        setCellCurrency(x, y, amount);
        if (amount != old)
            m_changedCells.add(x, y);
        return;
    }
    const QString old = cellText(x, y);
    setCellString(x, y, text);
    if (text != old)
        m_changedCells.add(x, y);
}

void InteractiveSheet::gridMouseMove(Qt::KeyboardModifiers, int x, int y) {
    int col = -1;
    int row = -1;
    const bool hot = mouseToCell(QPoint(x, y), col, row) &&
                     cellParam(col, row, QStringLiteral("H")) == QLatin1String("1");
    setGridCursor(hot ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void InteractiveSheet::gridDblClick() {
    if (onCellDblClick)
        onCellDblClick();
}

void InteractiveSheet::gridExit() {
    if (onCellExit)
        onCellExit();
}

void InteractiveSheet::gridKeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    SheetGrid::gridKeyDown(key, modifiers);
    if (onCellKeyDown)
        onCellKeyDown(key, modifiers);
}

void InteractiveSheet::gridKeyPress(QChar& key) {
    SheetGrid::gridKeyPress(key);
    if (onCellKeyPress)
        onCellKeyPress(key);
    if (onCellKeyPressEx)
        onCellKeyPressEx(this, key);
}

void InteractiveSheet::gridKeyUp(int& key, Qt::KeyboardModifiers modifiers) {
    SheetGrid::gridKeyUp(key, modifiers);
    if (onCellKeyUp)
        onCellKeyUp(key, modifiers);
}

void InteractiveSheet::gridSelectCell(int x, int y, bool& canSelect) {
    SheetGrid::gridSelectCell(x, y, canSelect);
    if (onCellSelect)
        onCellSelect(x, y, canSelect);
}
