#pragma once

#include "reports/report_browser.h"

// The pane "Анализ расходов": the stored money movement reports (type 101) of the browse period,
// by month and closing balance. "Открыть" (its button, Enter, a double click, the pop-up) runs
// the expense analysis of the current row's month, and the rows are read again once it closes;
// nothing when the list is empty. There is no new report here: "Новый" is hidden and does
// nothing.
class ExpenseAnalysisBrowser : public ReportBrowser {
    Q_OBJECT
public:
    explicit ExpenseAnalysisBrowser(QWidget* owner = nullptr);
    QString layoutKey() const override { return QStringLiteral("TfrmAnIssueReportBrowser"); }
    int reportType() const override;
    void prepare() override;

protected:
    // The analysis is no stored report: it has no report window.
    ReportWindow* createReport() const override { return nullptr; }
    void onNewTriggered() override;
    void onOpenTriggered() override;
};
