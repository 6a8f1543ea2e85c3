#include "reports/sheet_export.h"

#include "platform/office.h"
#include "platform/office_session.h"
#include "platform/work_folder.h"
#include "platform/xlsx_writer.h"
#include "reports/sheet_grid.h"
#include "ui/gauge.h"
#include "ui/message_box.h"
#include "ui/progress_window.h"

#include <QApplication>
#include <QRegularExpression>

namespace {

constexpr int kMaxSheetNameLength = 31;
// A column's width in characters per pixel of the sheet.
constexpr double kCharactersPerPixel = 0.15;

XlsxStyle::Line line(int width) {
    if (width == 1)
        return XlsxStyle::Line::Thin;
    if (width >= 2 && width <= 4)
        return XlsxStyle::Line::Thick;
    return XlsxStyle::Line::None;
}

XlsxStyle styleOf(const SheetCell& cell) {
    XlsxStyle style;
    style.left = line(cell.borderLeft);
    style.right = line(cell.borderRight);
    style.top = line(cell.borderTop);
    style.bottom = line(cell.borderBottom);
    if (cell.alignment == CellAlignment::Right)
        style.align = XlsxStyle::Align::Right;
    else if (cell.alignment == CellAlignment::Center)
        style.align = XlsxStyle::Align::Center;
    if (cell.kind() == CellValueKind::Currency)
        style.numberFormat = cell.numberFormat.trimmed();
    style.wrap = cell.wordWrap;
    return style;
}

void writeCell(XlsxWriter& writer, int x, int y, const SheetCell& cell) {
    const XlsxStyle style = styleOf(cell);
    if (const Currency* amount = std::get_if<Currency>(&cell.value))
        writer.writeNumber(y, x, amount->toDouble(), style);
    else if (const QString* text = std::get_if<QString>(&cell.value))
        writer.writeString(y, x, *text, style);
    else
        writer.writeBlank(y, x, style);
}

int existingCells(const SheetGrid& sheet, const SheetRange& range) {
    int count = 0;
    for (int x = range.x1; x <= range.x2; ++x)
        for (int y = range.y1; y <= range.y2; ++y)
            count += sheet.cellExists(x, y) ? 1 : 0;
    return count;
}

// The progress window of the export over the owner's window, on the screen and playing.
void showProgress(ProgressWindow& progress, QWidget* owner, int cells) {
    progress.setWindowTitle(QStringLiteral("Преобразование ..."));
    progress.gauge()->setMinValue(0);
    progress.gauge()->setMaxValue(cells);
    progress.gauge()->setProgress(0);
    if (owner)
        progress.move(owner->window()->geometry().center() - progress.rect().center());
    progress.show();
    progress.animation()->setActive(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void writeWorkbook(QWidget* owner, const SheetGrid& sheet, const SheetRange& range,
                   const QString& sheetName, const QString& path) {
    ProgressWindow progress(owner);
    showProgress(progress, owner, existingCells(sheet, range));
    try {
        XlsxWriter writer(path, sheetName);
        for (int x = range.x1; x <= range.x2; ++x)
            writer.setColumnWidth(x, sheet.colWidth(x) * kCharactersPerPixel);
        for (int x = range.x1; x <= range.x2; ++x) {
            for (int y = range.y1; y <= range.y2; ++y) {
                if (const SheetCell* cell = sheet.cells().cell(x, y)) {
                    writeCell(writer, x, y, *cell);
                    progress.gauge()->addProgress(1);
                }
            }
        }
        writer.close();
    } catch (const XlsxCreateError&) {
        throw Exception(QStringLiteral("Не могу создать документ. :("));
    }
}

} // namespace

void openAsNewSpreadsheet(std::unique_ptr<WorkFolder> folder, const QString& path) {
    OfficeSession* session =
        OfficeSession::open(std::move(folder), path, OfficeSession::Opening::NewDocument);
    // The report window may have closed by the time LibreOffice ends.
    QObject::connect(session, &OfficeSession::ended, session, [session] {
        if (!session->failure().isEmpty())
            showWarning(QApplication::activeWindow(), session->failure());
    });
}

QString spreadsheetSheetName(const QString& title) {
    QString name = title;
    name.replace(QLatin1Char('['), QLatin1Char('(')).replace(QLatin1Char(']'), QLatin1Char(')'));
    name.remove(QRegularExpression(QStringLiteral("[:*?/\\\\]")));
    auto trimApostrophes = [&name] {
        while (name.startsWith(QLatin1Char('\'')))
            name.remove(0, 1);
        while (name.endsWith(QLatin1Char('\'')))
            name.chop(1);
    };
    trimApostrophes();
    if (name.size() > kMaxSheetNameLength) {
        // A character of two halves is not cut in two.
        name.truncate(name.at(kMaxSheetNameLength - 1).isHighSurrogate() ? kMaxSheetNameLength - 1
                                                                         : kMaxSheetNameLength);
        trimApostrophes();
    }
    return name.isEmpty() ? QStringLiteral("Лист1") : name;
}

void exportSheet(QWidget* owner, const SheetGrid& sheet, const SheetRange& range,
                 const QString& title, const WorkbookOpener& open) {
    if (!officeShowsWindows()) {
        showWarning(owner, QStringLiteral("Операция невозможна. На компьютере не обнаружен ни "
                                          "Microsoft Excel, ни OpenOffice Calc!"));
        return;
    }
    auto folder = std::make_unique<WorkFolder>();
    const QString sheetName = spreadsheetSheetName(title);
    const QString path = folder->filePath(sheetName + QStringLiteral(".xlsx"));
    writeWorkbook(owner, sheet, range, sheetName, path);
    open(std::move(folder), path);
}
