#pragma once

#include "reports/pie_chart_window.h"
#include "reports/report_figures.h"
#include "reports/report_frame.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QAction;
class QComboBox;
class QStatusBar;
class QToolBar;
class ReportSheet;

// The tags of the expense analysis's sheet; stored data of the sheet, never renamed.
inline constexpr char kExpenseRowTitle[] = "ROW_TITLE";
inline constexpr char kExpenseRowHeader[] = "ROW_HEADER";
inline constexpr char kExpenseRowReason[] = "ROW_ID_REASON";
inline constexpr char kExpenseRowKey[] = "ROW_ID_PRKEY";
inline constexpr char kExpenseRowIndex[] = "ROW_ID_INDEX";
inline constexpr char kExpenseColReason[] = "COL_REASON";
inline constexpr char kExpenseColSum[] = "COL_SUM";
inline constexpr char kExpenseColLimit[] = "COL_LIMIT";

// The sheet of the expense analysis of the month that starts at monthStart: the book's name, the
// title with the month, the header, then one row per payment type of figures that mode shows,
// in the figures' order. Row params name the payment type, its key and its index in figures; the
// spending is a hot cell (red over the limit, blue otherwise), the limit an editable one. The
// sheet is cleared first.
void layoutExpenseSheet(ReportSheet& sheet, const QString& bookName, DateTime monthStart,
                        const ExpenseFigures& figures, ExpenseMode mode);

// "за " + the month's name + " yyyy г." of the month that starts at monthStart.
QString expenseMonthText(DateTime monthStart);

// A slice per payment type of figures that spent anything, in the figures' order.
QList<PieSlice> expenseSlices(const ExpenseFigures& figures);

// The expense analysis: for the month of a report date, each issue payment type's spending set
// against its limit, the types filtered by the five modes of "Показать:". A limit is edited in
// its cell; Enter, Up or Down in it, or leaving it, stores an edited limit at once (an unchanged
// one writes nothing) and rebuilds the rows under the mode. A refused limit is reported and its
// cell shows the stored one again. A spending cell (its button or a double click) lists the
// month's issue documents of its type; "Диаграмма" shows the spending as a pie chart.
//
//   ExpenseAnalysis analysis(mainWindow, reportDate);
//   analysis.execute();
//
// The window is modal for its owner's window and shows maximized; Escape closes it. Print and
// export follow the rights "AnIssueReport7" and "AnIssueReport8". Each button has its hint, shown
// in the status bar while the pointer is over it. A database error while the figures are read
// raises out of the constructor.
class ExpenseAnalysis : public QDialog {
    Q_OBJECT
public:
    ExpenseAnalysis(QWidget* owner, DateTime reportDate);
    ~ExpenseAnalysis() override;

    // Shows the window maximized and returns once it is closed.
    void execute();

    const Period& period() const { return m_period; }
    const ExpenseFigures& figures() const { return m_figures; }
    ReportSheet* sheet() const { return m_frame->sheet(); }
    QComboBox* modeBox() const { return m_modeBox; }
    ExpenseMode mode() const;
    // The chart last shown, while it is open; nullptr before.
    PieChartWindow* chartWindow() const;

    QAction* printAction() const { return commands().print; }
    QAction* exportAction() const { return commands().exportSheet; }
    QAction* documentAction() const { return commands().document; }
    // "+Расход" and "-Расход": hidden, and they do nothing.
    QAction* addTypeAction() const { return m_addAction; }
    QAction* deleteTypeAction() const { return m_deleteAction; }
    QAction* chartAction() const { return m_chartAction; }
    QAction* helpAction() const { return commands().help; }
    QAction* contextHelpAction() const { return commands().contextHelp; }
    QAction* closeAction() const { return commands().close; }
    // Where the hints of the buttons show.
    QStatusBar* statusBar() const { return m_statusBar; }

protected:
    // A hint of a button (a status tip, empty when the pointer leaves it) goes to the status bar.
    bool event(QEvent* event) override;

private slots:
    void onDocumentTriggered();
    void onChartTriggered();
    void onModeChanged();

private:
    const ReportCommands& commands() const { return m_frame->commands(); }
    void buildCommands();
    QToolBar* buildModeBar();
    void connectSheet();
    // The rows under the mode from the figures in memory.
    void rebuild();
    // The limits the user typed since the last call stored, one by one, then the rows rebuilt;
    // run from the event loop after the key or the move that asked for it.
    void scheduleStoreLimits();
    // Notes the text typed into the limit cell x, y for storeEditedLimits.
    void takeTypedLimit(int x, int y, const QString& text);
    void storeEditedLimits();
    // Stores the limit typed for the payment type of key, unless it is the one it has. Text
    // that is no limit is refused with a message, and the old limit stays. A limit that another
    // window or copy changed meanwhile is not overwritten: the message is shown and the figures
    // are read again, with the stored limit.
    void storeLimit(int key, const QString& text);

    Period m_period;
    ExpenseFigures m_figures;
    QString m_bookName;
    ReportFrame* m_frame = nullptr;
    QComboBox* m_modeBox = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QPointer<PieChartWindow> m_chart;
    bool m_storeScheduled = false;
    // The texts typed into limit cells and not stored yet, with the keys of their payment types.
    QList<std::pair<int, QString>> m_typedLimits;

    QAction* m_addAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_chartAction = nullptr;
};
