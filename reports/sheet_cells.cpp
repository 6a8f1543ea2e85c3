#include "reports/sheet_cells.h"

#include "core/exceptions.h"

QString displayText(const SheetCell& cell) {
    if (const Currency* amount = std::get_if<Currency>(&cell.value))
        return cell.numberFormat.trimmed().isEmpty() ? currencyText(*amount)
                                                     : formatFloat(cell.numberFormat, *amount);
    if (const QString* text = std::get_if<QString>(&cell.value))
        return *text;
    return QString();
}

const SheetCell* SheetCells::cell(int x, int y) const {
    if (x < 0 || y < 0 || y >= int(m_rows.size()))
        return nullptr;
    const std::vector<SheetCell*>& row = m_rows[size_t(y)];
    return x < int(row.size()) ? row[size_t(x)] : nullptr;
}

SheetCell& SheetCells::cellForWriting(int x, int y) {
    if (x < 0 || y < 0 || x > kMaxIndex || y > kMaxIndex)
        throw Exception(
            QStringLiteral("Ячейка (%1, %2) вне листа: столбцы и строки нумеруются от 0 до %3")
                .arg(x)
                .arg(y)
                .arg(kMaxIndex));
    if (y >= int(m_rows.size()))
        m_rows.resize(size_t(y) + 1);
    std::vector<SheetCell*>& row = m_rows[size_t(y)];
    if (x >= int(row.size()))
        row.resize(size_t(x) + 1, nullptr);
    SheetCell*& slot = row[size_t(x)];
    if (!slot) {
        slot = &m_cells.emplace_back();
        m_xCount = std::max(m_xCount, x + 1);
        m_yCount = std::max(m_yCount, y + 1);
    }
    return *slot;
}

void SheetCells::clear() {
    m_rows.clear();
    m_cells.clear();
    m_xCount = 0;
    m_yCount = 0;
}
