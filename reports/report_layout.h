#pragma once

#include "core/date_time.h"
#include "core/numbers.h"

#include <QString>
#include <QStringList>
#include <optional>

class ReportSheet;
struct RowAmounts;

// What the layouts of the stored reports share. Rows and columns carry their roles as tags
// (ReportSheet: row tags in column 0, column tags in row 0); "Y" marks the row or column of a
// role. Borders are given left, right, top, bottom: 0 none, 1 thin, 2 thick.
namespace reportlayout {

inline constexpr char kIncomeColumn[] = "COL_ID_INCOME";
inline constexpr char kIssueColumn[] = "COL_ID_ISSUE";
inline constexpr char kIncomeTotalColumn[] = "COL_TOTAL_INCOME";
inline constexpr char kIssueTotalColumn[] = "COL_TOTAL_ISSUE";
inline constexpr char kColumnId[] = "COL_ID";
inline constexpr char kColumnReason[] = "COL_REASON";
inline constexpr char kHotTag[] = "H";
inline constexpr char kAmountFormat[] = "#0.00";
inline constexpr char kDateFormat[] = "dd.MM.yyyy";

// The grid lines, range selection, editing and row selection switched off, the cells cleared
// and the counters at 0.
void startLayout(ReportSheet& sheet);
// One tag of a row or a column: "Y".
void markRow(ReportSheet& sheet, int y, const QString& role);
void markColumn(ReportSheet& sheet, int x, const QString& role);

// The month of day and its year: "март 2024 г.".
QString monthText(DateTime day);
// prefix + the book's name + " за " + the month of start and its year.
QString periodTitle(const QString& prefix, const QString& bookName, DateTime start);
// "dd.mm.yyyy" of a day.
QString dayText(DateTime day);
// The day of a text written by dayText; none for any other text.
std::optional<DateTime> dayOfText(const QString& text);

// A caption over a header framed as one box: caption 2, 2, 2, 0 and header 2, 2, 0, 2.
void boxColumn(ReportSheet& sheet, int x, int captionRow, int headerRow, const QString& caption,
               const QString& header);
// An amount right-aligned in "#0.00".
void writeAmount(ReportSheet& sheet, int x, int y, Currency value);
// A drill-down cell: marked hot.
void markHot(ReportSheet& sheet, int x, int y);
// An amount of a drill-down cell: written and marked hot.
void writeHotAmount(ReportSheet& sheet, int x, int y, Currency value);
bool isHot(const ReportSheet& sheet, int x, int y);
// The OPER.TYP of the documents behind a cell of column x, from the column's COL_ID: 1 income,
// 2 issue, 0 for a column of neither.
int documentTypeOfColumn(const ReportSheet& sheet, int x);

// The columns of one direction of money: one per payment type (its name word-wrapped in the
// header, the group caption over the first; caption cell with a thick top, header cell thick
// all round; tags COL_REASON = the type and COL_ID = reasonId), then the total column ("Итого"
// over subCaption, boxed, COL_ID = totalId). Returns the first column of the types; the total
// column follows the last.
struct ColumnGroup {
    QString caption;
    QString subCaption;
    QStringList types;
    QString reasonId;
    QString totalId;
};
int addColumnGroup(ReportSheet& sheet, int captionRow, int headerRow, const ColumnGroup& group);

// The amounts of one row of a column group, firstColumn its first type column: every amount not
// 0 written hot, the row then tagged rowTag = rowId; the row's total when it is not 0.
void writeRowAmounts(ReportSheet& sheet, int firstColumn, int totalColumn, int y,
                     const RowAmounts& amounts, const QString& rowTag, const QString& rowId);
// The total row of a column group: every amount, 0 too.
void writeTotals(ReportSheet& sheet, int firstColumn, int totalColumn, int y,
                 const RowAmounts& totals);

// Thin borders on every cell of columns x1..x2 and rows y1..y2.
void thinBorders(ReportSheet& sheet, int x1, int y1, int x2, int y2);
// The counters after the cells, and the grid as many columns and rows as the cells take
// (xCount by yCount), without fixed columns or rows.
void fitGridToCells(ReportSheet& sheet);
// The grid fitted to its cells, every column defaultWidth wide, the header row three default
// rows high.
void finishLayout(ReportSheet& sheet, int headerRow, int defaultWidth);

} // namespace reportlayout
