#include "reports/sheet_cells.h"

#include "core/exceptions.h"

#include <algorithm>

QString displayText(const SheetCell& cell) {
    if (const Currency* amount = std::get_if<Currency>(&cell.value))
        return cell.numberFormat.trimmed().isEmpty() ? currencyText(*amount)
                                                     : formatFloat(cell.numberFormat, *amount);
    if (const QString* text = std::get_if<QString>(&cell.value))
        return *text;
    return QString();
}

const SheetCell* SheetCells::cell(int x, int y) const {
    if (x < 0 || y < 0 || y >= int(m_rows.size()) || !m_rows[size_t(y)])
        return nullptr;
    const Row& row = *m_rows[size_t(y)];
    const auto found = row.find(x);
    return found != row.end() ? &found->second : nullptr;
}

const SheetCell* SheetCells::cellBefore(int x, int y, int& column) const {
    if (y < 0 || y >= int(m_rows.size()) || !m_rows[size_t(y)])
        return nullptr;
    const Row& row = *m_rows[size_t(y)];
    auto found = row.lower_bound(x);
    if (found == row.begin())
        return nullptr;
    --found;
    column = found->first;
    return &found->second;
}

SheetCell& SheetCells::cellForWriting(int x, int y) {
    if (x < 0 || y < 0 || x > kMaxIndex || y > kMaxIndex)
        throw Exception(
            QStringLiteral("Ячейка (%1, %2) вне листа: столбцы и строки нумеруются от 0 до %3")
                .arg(x)
                .arg(y)
                .arg(kMaxIndex));
    if (x == m_lastX && y == m_lastY)
        return *m_last;
    if (y >= int(m_rows.size()))
        m_rows.resize(size_t(y) + 1);
    std::unique_ptr<Row>& row = m_rows[size_t(y)];
    if (!row)
        row = std::make_unique<Row>();
    m_last = &row->try_emplace(x).first->second;
    m_lastX = x;
    m_lastY = y;
    m_xCount = std::max(m_xCount, x + 1);
    m_yCount = std::max(m_yCount, y + 1);
    return *m_last;
}

void SheetCells::clear() {
    m_rows.clear();
    m_lastX = -1;
    m_lastY = -1;
    m_last = nullptr;
    m_xCount = 0;
    m_yCount = 0;
}
