#include "reports/report_layout.h"

#include "core/month_names.h"
#include "reports/report_figures.h"
#include "reports/report_sheet.h"
#include "store/cash_documents.h"

namespace reportlayout {

void startLayout(ReportSheet& sheet) {
    using Option = SheetGrid::Option;
    sheet.setGridOptions(
        sheet.gridOptions() & ~SheetGrid::Options(Option::VertLine) &
        ~SheetGrid::Options(Option::HorzLine) & ~SheetGrid::Options(Option::RangeSelect) &
        ~SheetGrid::Options(Option::Editing) & ~SheetGrid::Options(Option::RowSelect));
    sheet.clearCells();
    sheet.zeroCounters();
}

void markRow(ReportSheet& sheet, int y, const QString& role) {
    sheet.setRowTags(y, {role}, {QStringLiteral("Y")});
}

void markColumn(ReportSheet& sheet, int x, const QString& role) {
    sheet.setColumnTags(x, {role}, {QStringLiteral("Y")});
}

QString monthText(DateTime day) {
    return monthNameRU(day) + datetime::decodeDate(day).toString(QStringLiteral(" yyyy г."));
}

QString periodTitle(const QString& prefix, const QString& bookName, DateTime start) {
    return prefix + bookName + QStringLiteral(" за ") + monthText(start);
}

QString dayText(DateTime day) {
    return datetime::decodeDate(day).toString(QString::fromLatin1(kDateFormat));
}

std::optional<DateTime> dayOfText(const QString& text) {
    const QDate date = QDate::fromString(text, QString::fromLatin1(kDateFormat));
    if (!date.isValid())
        return std::nullopt;
    return datetime::encode(date);
}

void boxColumn(ReportSheet& sheet, int x, int captionRow, int headerRow, const QString& caption,
               const QString& header) {
    sheet.setCellString(x, captionRow, caption);
    sheet.setCellAlignment(x, captionRow, CellAlignment::Center);
    sheet.setCellBorders(x, captionRow, 2, 2, 2, 0);
    if (!header.isEmpty()) {
        sheet.setCellString(x, headerRow, header);
        sheet.setCellAlignment(x, headerRow, CellAlignment::Center);
    }
    sheet.setCellBorders(x, headerRow, 2, 2, 0, 2);
}

void writeAmount(ReportSheet& sheet, int x, int y, Currency value) {
    sheet.setCellAmount(x, y, value, QString::fromLatin1(kAmountFormat), CellAlignment::Right);
}

void markHot(ReportSheet& sheet, int x, int y) {
    sheet.setCellParam(x, y, QString::fromLatin1(kHotTag), QStringLiteral("1"));
}

void writeHotAmount(ReportSheet& sheet, int x, int y, Currency value) {
    writeAmount(sheet, x, y, value);
    markHot(sheet, x, y);
}

bool isHot(const ReportSheet& sheet, int x, int y) {
    return sheet.cellParam(x, y, QString::fromLatin1(kHotTag)) == QLatin1String("1");
}

int documentTypeOfColumn(const ReportSheet& sheet, int x) {
    const QString column = sheet.columnTag(x, QString::fromLatin1(kColumnId));
    return column == QLatin1String(kIncomeColumn)  ? kIncomeDocument
           : column == QLatin1String(kIssueColumn) ? kIssueDocument
                                                   : 0;
}

int addColumnGroup(ReportSheet& sheet, int captionRow, int headerRow, const ColumnGroup& group) {
    const int first = sheet.colCounter();
    for (qsizetype i = 0; i < group.types.size(); ++i) {
        const int x = sheet.nextCol();
        sheet.setCellBorders(x, captionRow, 0, 0, 2, 0);
        sheet.setCellBorders(x, headerRow, 2, 2, 2, 2);
        if (i == 0)
            sheet.setCellString(x, captionRow, group.caption);
        sheet.setCellString(x, headerRow, group.types.at(i));
        sheet.setCellWordWrap(x, headerRow, true);
        sheet.setCellAlignment(x, headerRow, CellAlignment::Center);
        sheet.setColumnTags(x, {QString::fromLatin1(kColumnReason), QString::fromLatin1(kColumnId)},
                            {group.types.at(i), group.reasonId});
    }
    const int total = sheet.nextCol();
    boxColumn(sheet, total, captionRow, headerRow, QStringLiteral("Итого"), group.subCaption);
    sheet.setColumnTags(total, {QString::fromLatin1(kColumnId)}, {group.totalId});
    return first;
}

void writeRowAmounts(ReportSheet& sheet, int firstColumn, int totalColumn, int y,
                     const RowAmounts& amounts, const QString& rowTag, const QString& rowId) {
    for (qsizetype i = 0; i < amounts.byType.size(); ++i) {
        const Currency amount = amounts.byType.at(i);
        if (amount.units == 0)
            continue;
        writeHotAmount(sheet, firstColumn + int(i), y, amount);
        sheet.setRowTags(y, {rowTag}, {rowId});
    }
    if (amounts.total.units != 0)
        writeAmount(sheet, totalColumn, y, amounts.total);
}

void writeTotals(ReportSheet& sheet, int firstColumn, int totalColumn, int y,
                 const RowAmounts& totals) {
    for (qsizetype i = 0; i < totals.byType.size(); ++i)
        writeAmount(sheet, firstColumn + int(i), y, totals.byType.at(i));
    writeAmount(sheet, totalColumn, y, totals.total);
}

void thinBorders(ReportSheet& sheet, int x1, int y1, int x2, int y2) {
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            sheet.setCellBorders(x, y, 1, 1, 1, 1);
}

void fitGridToCells(ReportSheet& sheet) {
    sheet.resetCounters();
    sheet.setGridSize(0, 0, sheet.xCount(), sheet.yCount());
}

void finishLayout(ReportSheet& sheet, int headerRow, int defaultWidth) {
    fitGridToCells(sheet);
    sheet.setDefaultColWidth(defaultWidth);
    sheet.setRowHeight(headerRow, 3 * sheet.defaultRowHeight());
}

} // namespace reportlayout
