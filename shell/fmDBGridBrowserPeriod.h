#pragma once

#include "shell/fmDBGridBrowser.h"
#include "shell/fmSelectPeriod.h"

class QLabel;
class QToolBar;

// The shortcuts of the period menu.
enum class TPeriodKind { Day, Month, Quarter, Year };

// From 00:00:00.000 of the start's day to 23:59:59.999 of the end's day.
TPeriod NormalisedPeriod(const TPeriod& period);
// The period a shortcut chooses at the moment now, normalised: from today (Day), one calendar
// month back (Month), 92 days back (Quarter) or one calendar year back (Year), each to the end
// of tomorrow.
TPeriod ShortcutPeriod(TPeriodKind kind, TDateTime now);
// The shortcut's menu caption at the moment now: "День " + today, "Месяц c " + 31 days back,
// "Квартал c " + 92 days back, "Год c " + 365 days back, dates as "dd.mm.yyyy".
QString ShortcutCaption(TPeriodKind kind, TDateTime now);
// "dd.mm.yyyy" of a date-time.
QString PeriodDateText(TDateTime value);

// A grid browser over the browse period that every period browser shares (the main window
// keeps it while the program runs). The period menu on the tool bar (also Ctrl+D) changes it and
// reads the rows again; descendants read it in PrepareQuery and write the period button's
// caption.
class TfrmDBGridBrowserPeriod : public TfrmDBGridBrowser {
    Q_OBJECT
public:
    explicit TfrmDBGridBrowserPeriod(QWidget* owner = nullptr);

    // The main window's browse period.
    static TPeriod SharedPeriod();
    static void SetSharedPeriod(const TPeriod& period);

    // A shortcut of the period menu: the shared period becomes it, the rows are read again.
    void ChoosePeriod(TPeriodKind kind);
    // "Выбрать период...": the period dialog on a copy of the shared period; on OK the copy,
    // normalised, becomes the shared period and the rows are read again.
    void mnitSelectPeriodClick();
    // Sets the shortcuts' captions from today's date.
    void pmPeriodPopup();

    QWidget* clbrOptions = nullptr;
    QToolBar* tlbrDocsPeriod = nullptr;
    QToolButton* tlbtnPeriod = nullptr;
    QMenu* pmPeriod = nullptr;
    QAction* mnitSelectPeriod = nullptr;
    QAction* mnitYearPeriod = nullptr;
    QAction* mnitQuarterPeriod = nullptr;
    QAction* mnitMonthPeriod = nullptr;
    QAction* mnitDayPeriod = nullptr;
    QAction* mnitPeriod1 = nullptr;

private:
    void applyPeriod(const TPeriod& period);
};
