#pragma once

#include "core/date_time.h"
#include "reports/report_frame.h"
#include "shell/period.h"
#include "shell/run_window.h"
#include "store/stored_reports.h"

#include <optional>

class QAction;
class QMenu;
class ReportSheet;

// A report window runs for a new report or for the stored one of reportKey.
enum class ReportMode { New, Open };

// What a report window is run for. The window keeps its own copy; a new report's key goes into
// it once drawn. reportDate is the month of the expense analysis; the stored kinds ignore it.
struct ReportRequest {
    ReportMode mode = ReportMode::New;
    int reportKey = 0; // OPER.PRKEY of the stored report; 0 for a new one until it is drawn
    DateTime reportDate = 0;
};

// The period of a new report: the current month of now, or, after a stored report of the kind
// that ended at latestEnd, from the day after it to the end of that day's month. Whole days.
Period proposedReportPeriod(std::optional<DateTime> latestEnd, DateTime now);

// The window of a report: a sheet of cells (ReportSheet) computed from the documents of a
// period, with its commands as actions on two tool bars (ReportFrame: bold Arial 13 px, large
// images, their captions under them). A kind derives from it, gives its type, lays its sheet out in
// recalc(), opens what lies behind a cell in viewDocument() and applies its rights in initRights().
//
// Two uses:
// - A stored kind (money movement, payers, recipients) runs execute(request): the row of OPER
//   that holds the report is read or made, and the window shows maximized, modal for the main
//   window only (a document window opened from a cell, parentless, stays usable), and frees
//   itself when closed. "Сохранить" writes the whole sheet as text with its period and closes;
//   "Удалить" asks and closes after either answer; "Закрыть" and Escape close without saving,
//   so nothing of a new report remains. On close the report browser on screen reads its rows
//   again and stands on the report.
// - A kind that is never stored (the register of documents) makes its window parentless, sets
//   its period with setReportPeriod, builds the sheet and calls showModeless(): maximized, with
//   its own task-bar button, listed in DocumentWindows, freed when closed; no browser is told.
//   It hides the commands it has no use for (saveAction()->setVisible(false)); a button follows
//   its action's visible and enabled states.
//
// Every command is one action, also in the sheet's pop-up ("Пересчитать", F5) and under its
// shortcut, so a disabled command is disabled everywhere. Errors of a command are shown to the
// user and leave the window as it was.
class ReportWindow : public RunWindow {
    Q_OBJECT
public:
    // caption: the window's caption; printSettingsKey: the name under which the book keeps the
    // print settings of the window's sheet (kMovementReportWindow of
    // store/sheet_print_settings.h ...).
    ReportWindow(const QString& caption, const QString& printSettingsKey);
    ~ReportWindow() override;

    // The rights; for New, the period dialog "Период отчёта" on proposedReportPeriod, a key
    // drawn, the caption followed by " [Новый]" and recalc(); for Open, the stored row read
    // and its sheet loaded from its text as it was saved (not computed again). Then the window
    // shows, modal for the main window, and frees itself once closed; execute returns at once.
    // Cancelling the period dialog raises SilentAbort; a row that is gone or a text that does
    // not load raise Exception with the message. Either way the window is not shown and
    // stays the caller's to free.
    void execute(const ReportRequest& request);

    // The request it was run with (after New with the key drawn); none before execute and for
    // the kinds never stored.
    const std::optional<ReportRequest>& request() const { return m_request; }
    ReportSheet* sheet() const { return m_frame->sheet(); }
    // From 00:00 of the first day to 23:59:59 of the last, as stored in DAT and DAT2.
    const Period& reportPeriod() const { return m_period; }
    // The row as the window will store it, and as it was read (none for a new report).
    const StoredReport& report() const { return m_report; }

    // The commands.
    QAction* saveAction() const { return m_saveAction; }             // "Сохранить"
    QAction* recalcAction() const { return m_recalcAction; }         // "Пересчитать", F5
    QAction* printAction() const { return commands().print; }        // "Печать"
    QAction* deleteAction() const { return m_deleteAction; }         // "Удалить"
    QAction* exportAction() const { return commands().exportSheet; } // "Экспорт"
    QAction* documentAction() const { return commands().document; }  // "Документ"
    QAction* helpAction() const { return commands().help; } // "Справка": help context 2
    QAction* contextHelpAction() const { return commands().contextHelp; } // "Что это?"
    QAction* closeAction() const { return commands().close; } // "Закрыть", Escape
    // The sheet's pop-up menu.
    QMenu* sheetMenu() const { return m_sheetMenu; }

protected:
    // OPER.TYP of the kind (kMovementReportType ...).
    virtual int reportType() const = 0;
    // Lays the sheet out anew from the documents of reportPeriod().
    virtual void recalc() = 0;
    // Opens what lies behind the current cell of the sheet ("Документ", a double click);
    // nothing here.
    virtual void viewDocument();
    // Enables the commands by the user's rights, before anything is read; nothing here.
    virtual void initRights();
    // Writes the sheet and the period into report; a kind adds its closing figure.
    virtual void storeGrid(StoredReport& report);

    // Enables the commands by the rights keys of word: 6 "Пересчитать", 4 "Удалить",
    // 7 "Печать", 8 "Экспорт" (the register hides "Удалить" anyway).
    void applyReportRights(const QString& word);
    void setReportPeriod(const Period& period) { m_period = period; }
    // The modeless show of a kind never stored (see above).
    void showModeless();

    void closeEvent(QCloseEvent* event) override;

private slots:
    void onSaveTriggered();
    void onRecalcTriggered();
    void onDeleteTriggered();
    void onDocumentTriggered();

private:
    const ReportCommands& commands() const { return m_frame->commands(); }
    void buildActions();
    void newReport();
    void openReport();
    void showModal();
    // The main window's current pane, when it is a report browser, reads its rows again.
    void refreshBrowser();

    QString m_caption;
    std::optional<ReportRequest> m_request;
    Period m_period;
    StoredReport m_report;
    std::optional<StoredReport> m_asRead;
    bool m_closed = false;

    ReportFrame* m_frame = nullptr;
    QMenu* m_sheetMenu = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_recalcAction = nullptr;
    QAction* m_deleteAction = nullptr;
};
