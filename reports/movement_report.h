#pragma once

#include "reports/report_browser.h"
#include "reports/report_figures.h"
#include "reports/report_window.h"

#include <optional>

class ReportSheet;

// The money movement report (type 101): day by day the income per payment type, the day's
// income, the issue per payment type, the day's issue and the balance at the end of the day;
// above the days the opening balance, below them the column totals and the closing balance.
//
// Rows: 0 the title (ROW_TITLE), 1 the opening balance (ROW_START_SALDO), 2 the group captions
// (ROW_CAPTION), 3 the headers (ROW_HEADER), then one row per day with documents (ROW_DATE_ID =
// the day as "dd.mm.yyyy" when any of its amounts is not 0), the totals (ROW_TOTAL) and the
// closing balance on the day after the period (ROW_END_SALDO). Columns: the date (COL_DATE), the
// income types (COL_ID_INCOME), their total (COL_TOTAL_INCOME), the issue types (COL_ID_ISSUE),
// their total (COL_TOTAL_ISSUE) and the day's balance (COL_DAY_SALDO). A payment type's amount
// of a day is a hot cell.
void layoutMovementReport(ReportSheet& sheet, const MovementFigures& figures, const Period& period,
                          const QString& bookName);

// The documents behind cell (x, y) of a movement sheet: those of its column's payment type and
// direction on its row's day; none for a cell that is not hot or whose row or column names no
// day or no direction.
std::optional<CellDocuments> movementCellDocuments(const ReportSheet& sheet, int x, int y);

// The window of the money movement report, "Движение денег"; rights word "MovementReport".
// It stores the closing balance in SUM2, which the next period's report opens with.
class MovementReport : public ReportWindow {
    Q_OBJECT
public:
    MovementReport();

protected:
    int reportType() const override { return kMovementReportType; }
    void recalc() override;
    void viewDocument() override;
    void initRights() override;
    // A report saved without a recalc keeps the closing balance it was read with.
    void storeGrid(StoredReport& report) override;

private:
    std::optional<Currency> m_closingBalance; // of the last recalc
};

// The stored movement reports, "Движение денег".
class MovementReportBrowser : public ReportBrowser {
    Q_OBJECT
public:
    explicit MovementReportBrowser(QWidget* owner = nullptr);
    QString layoutKey() const override { return QStringLiteral("TfrmMovementReportBrowser"); }
    int reportType() const override { return kMovementReportType; }
    void prepare() override;

protected:
    ReportWindow* createReport() const override { return new MovementReport; }
};
