#pragma once

#include "shell/grid_browser_pane.h"
#include "shell/period.h"

class QToolBar;
class QToolButton;

// The shortcuts of the period menu.
enum class PeriodKind { Day, Month, Quarter, Year };

// From 00:00:00.000 of the start's day to 23:59:59.999 of the end's day.
Period normalisedPeriod(const Period& period);
// The period a shortcut chooses at the moment now, normalised: from today (Day), one calendar
// month back (Month), 92 days back (Quarter) or one calendar year back (Year), each to the end
// of tomorrow.
Period shortcutPeriod(PeriodKind kind, DateTime now);
// The shortcut's menu caption at the moment now: "День " + today, "Месяц c " + 31 days back,
// "Квартал c " + 92 days back, "Год c " + 365 days back, dates as "dd.mm.yyyy".
QString shortcutCaption(PeriodKind kind, DateTime now);
// "dd.mm.yyyy" of a date-time.
QString periodDateText(DateTime value);

// A grid browser over the browse period that every period browser shares (the main window
// keeps it while the program runs). The period menu on the tool bar (also Ctrl+D) changes it and
// reads the rows again; descendants read it in prepareQuery and write the period button's
// caption.
class PeriodBrowserPane : public GridBrowserPane {
    Q_OBJECT
public:
    explicit PeriodBrowserPane(QWidget* owner = nullptr);

    // The main window's browse period.
    static Period sharedPeriod();
    static void setSharedPeriod(const Period& period);

    // The button that drops the period menu down; its caption shows the period.
    QToolButton* periodButton() const { return m_periodButton; }
    // The caption of the period button (its action's text).
    void setPeriodCaption(const QString& caption);
    QMenu* periodMenu() const { return m_periodMenu; }
    // "Выбрать период...": the period dialog on a copy of the shared period; on OK the copy,
    // normalised, becomes the shared period and the rows are read again.
    QAction* selectPeriodAction() const { return m_selectPeriodAction; }
    // A shortcut of the period menu: the shared period becomes it, the rows are read again.
    QAction* periodAction(PeriodKind kind) const;
    // Ctrl+D and the grid's pop-up menu: drops the period menu down.
    QAction* openPeriodMenuAction() const { return m_openPeriodMenuAction; }

private slots:
    void onSelectPeriodTriggered();
    // Sets the shortcuts' captions from today's date.
    void onPeriodMenuAboutToShow();

private:
    void buildPeriodMenu();
    void buildPeriodBand();
    void choosePeriod(PeriodKind kind);
    void applyPeriod(const Period& period);

    QToolButton* m_periodButton = nullptr;
    QAction* m_periodButtonAction = nullptr;
    QMenu* m_periodMenu = nullptr;
    QAction* m_selectPeriodAction = nullptr;
    QAction* m_yearPeriodAction = nullptr;
    QAction* m_quarterPeriodAction = nullptr;
    QAction* m_monthPeriodAction = nullptr;
    QAction* m_dayPeriodAction = nullptr;
    QAction* m_openPeriodMenuAction = nullptr;
};
