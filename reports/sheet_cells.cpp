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
    if (x < 0 || y < 0)
        return nullptr;
    const auto found = m_cells.find(key(x, y));
    return found != m_cells.end() ? &found->second : nullptr;
}

const SheetCell* SheetCells::cellBefore(int x, int y, int& column) const {
    if (x <= 0 || y < 0)
        return nullptr;
    auto found = m_cells.lower_bound(key(x, y));
    if (found == m_cells.begin())
        return nullptr;
    --found;
    if (found->first < key(0, y))
        return nullptr;
    column = int(found->first - key(0, y));
    return &found->second;
}

SheetCell& SheetCells::cellForWriting(int x, int y) {
    if (x < 0 || y < 0 || x > kMaxIndex || y > kMaxIndex)
        throw Exception(
            QStringLiteral("Ячейка (%1, %2) вне листа: столбцы и строки нумеруются от 0 до %3")
                .arg(x)
                .arg(y)
                .arg(kMaxIndex));
    const qint64 place = key(x, y);
    if (place == m_lastKey)
        return *m_last;
    m_last = &m_cells.try_emplace(place).first->second;
    m_lastKey = place;
    m_xCount = std::max(m_xCount, x + 1);
    m_yCount = std::max(m_yCount, y + 1);
    return *m_last;
}

void SheetCells::clear() {
    m_cells.clear();
    m_lastKey = -1;
    m_last = nullptr;
    m_xCount = 0;
    m_yCount = 0;
}
