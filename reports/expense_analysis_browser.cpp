#include "reports/expense_analysis_browser.h"

#include "platform/firebird/data_set.h"
#include "reports/expense_analysis.h"
#include "store/stored_reports.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QAction>

ExpenseAnalysisBrowser::ExpenseAnalysisBrowser(QWidget* owner) : ReportBrowser(owner) {
    setWindowTitle(QStringLiteral("Анализ расходов"));
    setMonthDates(true);
    setGridColumns(*grid(), {{"DAT", Qt::AlignLeft, "Дата", 150, {}, Qt::AlignHCenter},
                             {"SUM2", Qt::AlignRight, "Кон. сумма", 120, {}, Qt::AlignHCenter}});
}

// The money movement reports, whose months the analysis takes.
int ExpenseAnalysisBrowser::reportType() const {
    return kMovementReportType;
}

void ExpenseAnalysisBrowser::prepare() {
    ReportBrowser::prepare();
    newAction()->setVisible(false);
    newAction()->setEnabled(false);
}

void ExpenseAnalysisBrowser::onNewTriggered() {}

void ExpenseAnalysisBrowser::onOpenTriggered() {
    if (query().isEmpty())
        return;
    runGuarded([this] {
        ExpenseAnalysis analysis(window(), query().field(QStringLiteral("DAT")).asDateTime());
        analysis.execute();
        refreshRows(0);
    });
}
