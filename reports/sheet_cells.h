#pragma once

#include "core/numbers.h"

#include <QString>
#include <map>
#include <memory>
#include <variant>
#include <vector>

// A colour as a sheet keeps and stores it: 0x00BBGGRR, or a colour of the system's scheme,
// 0xFF000000 plus the scheme's index. The stored text writes it as a signed decimal.
using SheetColor = qint32;
constexpr SheetColor kWindowColor = SheetColor(0xFF000005);     // the window's background
constexpr SheetColor kWindowTextColor = SheetColor(0xFF000008); // the window's text
constexpr SheetColor kBlackColor = 0x00000000;
constexpr SheetColor kRedColor = 0x000000FF;
constexpr SheetColor kBlueColor = 0x00FF0000;

// Horizontal alignment of a cell's text; a stored byte, so other values may stand in it.
enum class CellAlignment : quint8 { Left = 0, Right = 1, Center = 2 };

// What a cell's value holds.
enum class CellValueKind { Empty, Currency, Text };

// One cell of a sheet.
struct SheetCell {
    std::variant<std::monostate, Currency, QString> value;
    // Key=value text (core/key_value_text.h): "H" = "1" a hot cell, "W" = "1" an editable one,
    // and the row and column keys of the reports.
    QString tags;
    // Border widths in pixels: 0 none, 1 thin, 2 to 4 thick.
    int borderLeft = 0;
    int borderRight = 0;
    int borderTop = 0;
    int borderBottom = 0;
    CellAlignment alignment = CellAlignment::Left;
    QString numberFormat; // a display mask of formatFloat (core/numbers.h); blank: currencyText
    bool wordWrap = false;
    SheetColor color = kWindowColor;
    SheetColor textColor = kWindowTextColor;

    CellValueKind kind() const { return CellValueKind(value.index()); }
};

// The text a cell shows: an amount through its number format (currencyText when the format is
// blank), a text as it stands, nothing for an empty value.
QString displayText(const SheetCell& cell);

// The cells of one sheet, addressed by column x and row y from 0. Only cells ever written exist,
// and only they take room, however far apart they lie. xCount and yCount are one more than the
// largest column and row written since the last clear.
class SheetCells {
public:
    // The largest column or row a sheet may address.
    static constexpr int kMaxIndex = 999999;

    SheetCells() = default;
    SheetCells(const SheetCells&) = delete;
    SheetCells& operator=(const SheetCells&) = delete;

    // nullptr where no cell was written.
    const SheetCell* cell(int x, int y) const;
    // The nearest cell of row y to the left of column x, and its column; nullptr when there is
    // none.
    const SheetCell* cellBefore(int x, int y, int& column) const;
    // The cell, made with its defaults when missing. A column or row below 0 or above kMaxIndex
    // raises Exception.
    SheetCell& cellForWriting(int x, int y);

    int xCount() const { return m_xCount; }
    int yCount() const { return m_yCount; }

    void clear();

private:
    // The cells of one row by column.
    using Row = std::map<int, SheetCell>;

    // Row by row, a row made when its first cell is written.
    std::vector<std::unique_ptr<Row>> m_rows;
    // The cell written last, which the next writes usually address again.
    int m_lastX = -1;
    int m_lastY = -1;
    SheetCell* m_last = nullptr;
    int m_xCount = 0;
    int m_yCount = 0;
};
