#pragma once

#include "reports/report_window.h"
#include "shell/period_browser_pane.h"

#include <QVariant>

// A pane that lists the stored reports of one type whose period starts within the browse
// period, the newest first (PRKEY, SUM1, DAT, SUM2; the sums shown "#0.00"), and opens them.
// "Новый" runs the kind's report window on a new report, "Открыть" on the current row (nothing
// when there is none). The period button shows the browse period as "dd.mm.yyyy-dd.mm.yyyy".
// A report window that closes makes the browser on screen read its rows again and stand on its
// report (ReportWindow).
//
// A leaf gives its type, makes its window, lays its grid's columns out in its constructor and
// enables "Новый" in prepare() (enableNewByRights).
class ReportBrowser : public PeriodBrowserPane {
    Q_OBJECT
public:
    explicit ReportBrowser(QWidget* owner = nullptr);

    void prepareQuery() override;
    // Reads the rows, shows the period, then afterRefresh().
    void refreshRows(int key) override;

    // OPER.TYP of the reports listed.
    virtual int reportType() const = 0;

    // A non-empty date as its month's name and " yyyy г." ("март 2024 г.").
    static QString monthYearText(const QVariant& value);

protected:
    // The window of the browser's kind, not yet run.
    virtual ReportWindow* createReport() const = 0;
    // Called after every refreshRows; empty here.
    virtual void afterRefresh();
    // Whether the DAT column shows monthYearText (else "dd.mm.yyyy").
    void setMonthDates(bool on) { m_monthDates = on; }
    // "Новый" enabled by the rights key word + "2".
    void enableNewByRights(const QString& word);
    // Runs a window of the kind for request; a cancelled period dialog shows nothing, another
    // error its message.
    void runReport(const ReportRequest& request);

    void onNewTriggered() override;
    void onOpenTriggered() override;

private:
    bool m_monthDates = false;
};
