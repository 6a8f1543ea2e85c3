#include "reports/movement_report.h"

#include "reports/document_drill_down.h"
#include "reports/report_layout.h"
#include "reports/report_sheet.h"
#include "store/book_options.h"
#include "store/data_store.h"
#include "store/sheet_print_settings.h"
#include "ui/data_grid.h"

using namespace reportlayout;

namespace {

const QString kDateRowTag = QStringLiteral("ROW_DATE_ID");
const QString kMovementCaption = QStringLiteral("Движение денег");

struct MovementRows {
    int title = 0;
    int startSaldo = 0;
    int caption = 0;
    int header = 0;
};

QString saldoLine(DateTime day, Currency balance) {
    return QStringLiteral("Сальдо на ") + dayText(day) + QStringLiteral(": ") +
           formatFloat(QString::fromLatin1(kAmountFormat), balance);
}

} // namespace

void layoutMovementReport(ReportSheet& sheet, const MovementFigures& figures, const Period& period,
                          const QString& bookName) {
    sheet.beginUpdate();
    startLayout(sheet);
    MovementRows rows;
    rows.title = sheet.nextRow();
    markRow(sheet, rows.title, QStringLiteral("ROW_TITLE"));
    rows.startSaldo = sheet.nextRow();
    markRow(sheet, rows.startSaldo, QStringLiteral("ROW_START_SALDO"));
    rows.caption = sheet.nextRow();
    markRow(sheet, rows.caption, QStringLiteral("ROW_CAPTION"));
    rows.header = sheet.nextRow();
    markRow(sheet, rows.header, QStringLiteral("ROW_HEADER"));
    const int dateColumn = sheet.nextCol();
    markColumn(sheet, dateColumn, QStringLiteral("COL_DATE"));
    sheet.setCellString(dateColumn, rows.title,
                        periodTitle(QStringLiteral("Движение денег по "), bookName, period.start));
    boxColumn(sheet, dateColumn, rows.caption, rows.header, QStringLiteral("Дата"), QString());
    sheet.setCellString(dateColumn, rows.startSaldo,
                        saldoLine(period.start, figures.openingBalance));

    const int firstIncome = addColumnGroup(sheet, rows.caption, rows.header,
                                           {QStringLiteral("Приход"), QStringLiteral("Дт"),
                                            figures.incomeTypes, QString::fromLatin1(kIncomeColumn),
                                            QString::fromLatin1(kIncomeTotalColumn)});
    const int incomeTotal = firstIncome + int(figures.incomeTypes.size());
    const int firstIssue =
        addColumnGroup(sheet, rows.caption, rows.header,
                       {QStringLiteral("Расход"), QStringLiteral("Кт"), figures.issueTypes,
                        QString::fromLatin1(kIssueColumn), QString::fromLatin1(kIssueTotalColumn)});
    const int issueTotal = firstIssue + int(figures.issueTypes.size());
    const int saldoColumn = sheet.nextCol();
    sheet.setColumnTags(saldoColumn, {QStringLiteral("COL_DAY_SALDO")}, {QStringLiteral("Y")});
    boxColumn(sheet, saldoColumn, rows.caption, rows.header, QStringLiteral("С-до на"),
              QStringLiteral("конец дня"));

    int y = sheet.nextRow();
    for (const MovementDay& day : figures.days) {
        const QString dayId = dayText(day.day);
        writeRowAmounts(sheet, firstIncome, incomeTotal, y, day.income, kDateRowTag, dayId);
        writeRowAmounts(sheet, firstIssue, issueTotal, y, day.issue, kDateRowTag, dayId);
        sheet.setCellString(dateColumn, y, dayId);
        if (day.balance)
            writeAmount(sheet, saldoColumn, y, *day.balance);
        y = sheet.nextRow();
    }

    const int totalRow = y;
    markRow(sheet, totalRow, QStringLiteral("ROW_TOTAL"));
    sheet.setCellString(dateColumn, totalRow, QStringLiteral("И Т О Г О :"));
    writeTotals(sheet, firstIncome, incomeTotal, totalRow, figures.incomeTotals);
    writeTotals(sheet, firstIssue, issueTotal, totalRow, figures.issueTotals);
    writeAmount(sheet, saldoColumn, totalRow, figures.closingBalance);
    const int endSaldoRow = sheet.nextRow();
    markRow(sheet, endSaldoRow, QStringLiteral("ROW_END_SALDO"));
    sheet.setCellString(dateColumn, endSaldoRow,
                        saldoLine(datetime::dateOf(period.end) + 1, figures.closingBalance));

    thinBorders(sheet, 0, rows.header + 1, saldoColumn, totalRow - 1);
    finishLayout(sheet, rows.header, 80);
    sheet.setColWidth(dateColumn, 70);
    sheet.setColWidth(saldoColumn, 75);
    sheet.endUpdate();
}

std::optional<CellDocuments> movementCellDocuments(const ReportSheet& sheet, int x, int y) {
    if (!isHot(sheet, x, y))
        return std::nullopt;
    const std::optional<DateTime> day = dayOfText(sheet.rowTag(y, kDateRowTag));
    const int type = documentTypeOfColumn(sheet, x);
    if (!day || type == 0)
        return std::nullopt;
    return CellDocuments{type, sheet.columnTag(x, QString::fromLatin1(kColumnReason)), *day,
                         datetime::endOfDay(*day), std::nullopt};
}

// ---- The window ----

MovementReport::MovementReport()
    : ReportWindow(kMovementCaption, QString::fromLatin1(kMovementReportWindow)) {}

void MovementReport::initRights() {
    applyReportRights(QStringLiteral("MovementReport"));
}

void MovementReport::recalc() {
    DataStore& store = DataStore::instance();
    const MovementFigures figures = computeMovement(store, reportPeriod());
    layoutMovementReport(*sheet(), figures, reportPeriod(), BookOptions(store).storeCaption());
    m_closingBalance = figures.closingBalance;
}

void MovementReport::storeGrid(StoredReport& report) {
    ReportWindow::storeGrid(report);
    if (m_closingBalance)
        report.closingFigure = *m_closingBalance;
}

void MovementReport::viewDocument() {
    if (const std::optional<CellDocuments> cell =
            movementCellDocuments(*sheet(), sheet()->currentCol(), sheet()->currentRow()))
        showCellDocuments(this, *cell);
}

// ---- The browser ----

MovementReportBrowser::MovementReportBrowser(QWidget* owner) : ReportBrowser(owner) {
    setWindowTitle(kMovementCaption);
    setMonthDates(true);
    setGridColumns(*grid(), {{"DAT", Qt::AlignLeft, "Дата", 150, {}, Qt::AlignHCenter},
                             {"SUM2", Qt::AlignRight, "Кон. сумма", 120, {}, Qt::AlignHCenter}});
}

void MovementReportBrowser::prepare() {
    ReportBrowser::prepare();
    enableNewByRights(QStringLiteral("MovementReport"));
}
