#pragma once

#include "core/xy_pair_list.h"
#include "reports/sheet_grid.h"

#include <functional>

// The sheet a report window shows: the grid's hooks given their behaviour. A cell tagged "W" =
// "1" may be edited (unless onCanEditCell says otherwise); the editor starts from the cell's
// amount through its number format, or from its text; what the user types is stored as an amount
// in an amount cell, as a text in any other, and the cells whose value changed are noted for
// popChangedCell. The mouse shows a pointing hand over hot cells (tag "H" = "1").
//
// A report window takes part through the events below; where two give the same thing, the first
// set is used.
class InteractiveSheet : public SheetGrid {
    Q_OBJECT
public:
    explicit InteractiveSheet(QWidget* parent = nullptr);

    std::function<bool(int x, int y)> onCanEditCell;
    std::function<void(int x, int y, QString& mask)> onGetCellEditMask;
    std::function<void(int x, int y, QString& text)> onGetCellEditText;
    std::function<void(int x, int y, const QString& text)> onSetCellEditText;
    std::function<void()> onCellDblClick;
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> onCellKeyDown;
    std::function<void(QChar& key)> onCellKeyPress;
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> onCellKeyUp;
    std::function<void(int x, int y, bool& canSelect)> onCellSelect;
    std::function<void()> onCellExit;
    std::function<void(InteractiveSheet* sender, int x, int y, QString& text)> onGetCellEditTextEx;
    std::function<void(InteractiveSheet* sender, int x, int y, const QString& text)>
        onSetCellEditTextEx;
    std::function<void(InteractiveSheet* sender, QChar& key)> onCellKeyPressEx;

    // The first cell whose value the user changed, taken from the list; false when there is none.
    // An open editor is committed first.
    bool popChangedCell(int& x, int& y);
    // The amounts of columns x1..x2, rows y1..y2; a cell that does not read as an amount counts 0.
    Currency sumCells(int x1, int y1, int x2, int y2);
    void setCellAmount(int x, int y, Currency value, const QString& mask, CellAlignment alignment);

protected:
    bool gridCanEditCell(int x, int y) override;
    void gridGetEditMask(int x, int y, QString& mask) override;
    void gridGetEditText(int x, int y, QString& text) override;
    void gridSetEditText(int x, int y, const QString& text) override;
    void gridMouseMove(Qt::KeyboardModifiers modifiers, int x, int y) override;
    void gridDblClick() override;
    void gridExit() override;
    void gridKeyDown(int& key, Qt::KeyboardModifiers modifiers) override;
    void gridKeyPress(QChar& key) override;
    void gridKeyUp(int& key, Qt::KeyboardModifiers modifiers) override;
    void gridSelectCell(int x, int y, bool& canSelect) override;

private:
    // The typed text stored in the cell, the cell noted when its value changed.
    void storeTypedText(int x, int y, const QString& text);

    XYPairList m_changedCells;
};
