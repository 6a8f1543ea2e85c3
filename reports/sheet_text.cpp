#include "reports/sheet_text.h"

#include "core/exceptions.h"
#include "reports/sheet_grid.h"

#include <QLocale>

namespace {

QString param(int index, const QString& arguments) {
    return CommandList::param(index, arguments);
}

int intParam(int index, const QString& arguments) {
    return strToInt(param(index, arguments));
}

// A column or row that the text addresses from the origin; Exception outside the sheet.
int addressParam(const QString& arguments, int origin, const char* what) {
    const qint64 address = qint64(intParam(1, arguments)) + origin;
    if (address < 0 || address > SheetCells::kMaxIndex)
        throw Exception(QStringLiteral("%1 %2 вне листа: столбцы и строки нумеруются от 0 до %3")
                            .arg(QString::fromUtf8(what))
                            .arg(address)
                            .arg(SheetCells::kMaxIndex));
    return int(address);
}

// A column's width or a row's height; Exception for one that no sheet shows.
int sizeParam(const QString& arguments, const char* what) {
    const int size = intParam(2, arguments);
    if (size < 0 || size > SheetGrid::kMaxCellSize)
        throw Exception(QStringLiteral("Неверная %1 %2: %3 (она может быть от 0 до %4 точек)")
                            .arg(QString::fromUtf8(what), param(1, arguments))
                            .arg(size)
                            .arg(SheetGrid::kMaxCellSize));
    return size;
}

// A border's width; none is wider than a cell may be. Below 1 it draws nothing.
int borderParam(int index, const QString& arguments) {
    const int width = intParam(index, arguments);
    if (width > SheetGrid::kMaxCellSize)
        throw Exception(QStringLiteral("Неверная ширина рамки ячейки: %1 (рамка может быть не "
                                       "шире %2 точек)")
                            .arg(width)
                            .arg(SheetGrid::kMaxCellSize));
    return width;
}

// The cell that the text being read addresses.
int currentX(SheetGrid& grid) {
    return grid.loadPlace().x;
}

int currentY(SheetGrid& grid) {
    return grid.loadPlace().y;
}

void appendCommand(QString& text, const char* name, const QString& arguments) {
    text += QLatin1String(name);
    text += u'(';
    text += arguments;
    text += QLatin1String(") ");
}

void appendCell(QString& text, const SheetCell& cell) {
    if (const Currency* amount = std::get_if<Currency>(&cell.value))
        appendCommand(text, "Vn", currencyDotText(*amount));
    else if (const QString* value = std::get_if<QString>(&cell.value))
        appendCommand(text, "Vs", CommandList::encodeParam(*value));
    appendCommand(text, "B",
                  QStringLiteral("%1,%2,%3,%4")
                      .arg(cell.borderLeft)
                      .arg(cell.borderRight)
                      .arg(cell.borderTop)
                      .arg(cell.borderBottom));
    if (int(cell.alignment) <= int(CellAlignment::Center))
        appendCommand(text, "A", QString::number(int(cell.alignment) + 1));
    if (!cell.numberFormat.trimmed().isEmpty())
        appendCommand(text, "Nf", CommandList::encodeParam(cell.numberFormat));
    if (!cell.tags.trimmed().isEmpty())
        appendCommand(text, "Sd", CommandList::encodeParam(cell.tags));
    if (cell.wordWrap)
        appendCommand(text, "WW", QString());
    if (cell.color != kWindowColor)
        appendCommand(text, "CC", QString::number(cell.color));
    if (cell.textColor != kWindowTextColor)
        appendCommand(text, "TC", QString::number(cell.textColor));
}

// Ends a read of the text however it goes: the updates it locked are released.
class UpdateRelease {
public:
    UpdateRelease(SheetGrid& grid, bool locked) : m_grid(grid), m_locked(locked) {}
    ~UpdateRelease() {
        if (m_locked)
            m_grid.endUpdate();
    }
    UpdateRelease(const UpdateRelease&) = delete;
    UpdateRelease& operator=(const UpdateRelease&) = delete;

private:
    SheetGrid& m_grid;
    bool m_locked;
};

} // namespace

QString currencyDotText(Currency value) {
    const QLocale locale;
    QString text = currencyText(value);
    text.remove(locale.groupSeparator());
    text.replace(locale.decimalPoint(), QStringLiteral("."));
    return text;
}

void registerSheetTextCommands(SheetGrid& grid) {
    CommandList& commands = grid.commands();
    SheetGrid* sheet = &grid;
    commands.registerCommand(QStringLiteral("X"), [sheet](const QString& arguments) {
        sheet->loadPlace().x = addressParam(arguments, sheet->loadPlace().originX, "Столбец");
    });
    commands.registerCommand(QStringLiteral("Y"), [sheet](const QString& arguments) {
        sheet->loadPlace().y = addressParam(arguments, sheet->loadPlace().originY, "Строка");
    });
    commands.registerCommand(QStringLiteral("Vn"), [sheet](const QString& arguments) {
        sheet->setCellCurrency(currentX(*sheet), currentY(*sheet),
                               strToCurrDot(param(1, arguments)));
    });
    commands.registerCommand(QStringLiteral("Vs"), [sheet](const QString& arguments) {
        sheet->setCellString(currentX(*sheet), currentY(*sheet), param(1, arguments));
    });
    commands.registerCommand(QStringLiteral("B"), [sheet](const QString& arguments) {
        sheet->setCellBorders(currentX(*sheet), currentY(*sheet), borderParam(1, arguments),
                              borderParam(2, arguments), borderParam(3, arguments),
                              borderParam(4, arguments));
    });
    commands.registerCommand(QStringLiteral("A"), [sheet](const QString& arguments) {
        const int alignment = intParam(1, arguments);
        if (alignment >= 1 && alignment <= 3)
            sheet->setCellAlignment(currentX(*sheet), currentY(*sheet),
                                    CellAlignment(alignment - 1));
    });
    commands.registerCommand(QStringLiteral("Nf"), [sheet](const QString& arguments) {
        sheet->setCellNumberFormat(currentX(*sheet), currentY(*sheet), param(1, arguments));
    });
    commands.registerCommand(QStringLiteral("Sd"), [sheet](const QString& arguments) {
        sheet->setCellParams(currentX(*sheet), currentY(*sheet), param(1, arguments));
    });
    commands.registerCommand(QStringLiteral("CW"), [sheet](const QString& arguments) {
        const int column = intParam(1, arguments);
        const int width = sizeParam(arguments, "ширина столбца");
        if (column >= 0 && column < sheet->colCount())
            sheet->setColWidth(column, width);
    });
    commands.registerCommand(QStringLiteral("RH"), [sheet](const QString& arguments) {
        const int row = intParam(1, arguments);
        const int height = sizeParam(arguments, "высота строки");
        if (row >= 0 && row < sheet->rowCount())
            sheet->setRowHeight(row, height);
    });
    commands.registerCommand(QStringLiteral("WW"), [sheet](const QString&) {
        sheet->setCellWordWrap(currentX(*sheet), currentY(*sheet), true);
    });
    commands.registerCommand(QStringLiteral("RS"), [sheet](const QString& arguments) {
        sheet->setGridSize(intParam(1, arguments), intParam(2, arguments), intParam(3, arguments),
                           intParam(4, arguments));
        sheet->clearCells();
    });
    commands.registerCommand(QStringLiteral("CC"), [sheet](const QString& arguments) {
        sheet->setCellColor(currentX(*sheet), currentY(*sheet), intParam(1, arguments));
    });
    commands.registerCommand(QStringLiteral("TC"), [sheet](const QString& arguments) {
        sheet->setCellTextColor(currentX(*sheet), currentY(*sheet), intParam(1, arguments));
    });
}

QString saveSheetText(SheetGrid& grid, int x1, int y1, int x2, int y2) {
    grid.commitEdit();
    QString text;
    appendCommand(text, "RS",
                  QStringLiteral("%1,%2,%3,%4")
                      .arg(grid.fixedCols())
                      .arg(grid.fixedRows())
                      .arg(grid.colCount() - grid.fixedCols())
                      .arg(grid.rowCount() - grid.fixedRows()));
    for (int x = x1; x <= x2; ++x) {
        bool columnWritten = false;
        for (int y = y1; y <= y2; ++y) {
            const SheetCell* cell = grid.cells().cell(x, y);
            if (!cell)
                continue;
            if (!columnWritten)
                appendCommand(text, "X", QString::number(x - x1));
            columnWritten = true;
            appendCommand(text, "Y", QString::number(y - y1));
            appendCell(text, *cell);
            if (grid.onSaveCell)
                text += grid.onSaveCell(x, y);
        }
    }
    for (int x = x1; x <= x2; ++x)
        appendCommand(text, "CW", QStringLiteral("%1,%2").arg(x).arg(grid.colWidth(x)));
    for (int y = y1; y <= y2; ++y)
        appendCommand(text, "RH", QStringLiteral("%1,%2").arg(y).arg(grid.rowHeight(y)));
    if (grid.onSaveExtra)
        text += grid.onSaveExtra();
    return text;
}

void loadSheetText(SheetGrid& grid, int x0, int y0, const QString& text) {
    const bool locks = !grid.isUpdateLocked();
    if (locks)
        grid.beginUpdate();
    const UpdateRelease release(grid, locks);
    grid.loadPlace() = SheetGrid::LoadPlace{x0, y0, x0, y0};
    grid.commands().executeLine(text);
}
