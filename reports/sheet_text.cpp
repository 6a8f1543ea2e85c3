#include "reports/sheet_text.h"

#include "reports/sheet_grid.h"

#include <QLocale>

namespace {

QString param(int index, const QString& arguments) {
    return CommandList::param(index, arguments);
}

int intParam(int index, const QString& arguments) {
    return strToInt(param(index, arguments));
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
        sheet->loadPlace().x = intParam(1, arguments) + sheet->loadPlace().originX;
    });
    commands.registerCommand(QStringLiteral("Y"), [sheet](const QString& arguments) {
        sheet->loadPlace().y = intParam(1, arguments) + sheet->loadPlace().originY;
    });
    commands.registerCommand(QStringLiteral("Vn"), [sheet](const QString& arguments) {
        sheet->setCellCurrency(currentX(*sheet), currentY(*sheet),
                               strToCurrDot(param(1, arguments)));
    });
    commands.registerCommand(QStringLiteral("Vs"), [sheet](const QString& arguments) {
        sheet->setCellString(currentX(*sheet), currentY(*sheet), param(1, arguments));
    });
    commands.registerCommand(QStringLiteral("B"), [sheet](const QString& arguments) {
        sheet->setCellBorders(currentX(*sheet), currentY(*sheet), intParam(1, arguments),
                              intParam(2, arguments), intParam(3, arguments),
                              intParam(4, arguments));
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
        const int width = intParam(2, arguments);
        if (column >= 0 && column < sheet->colCount())
            sheet->setColWidth(column, width);
    });
    commands.registerCommand(QStringLiteral("RH"), [sheet](const QString& arguments) {
        const int row = intParam(1, arguments);
        const int height = intParam(2, arguments);
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
