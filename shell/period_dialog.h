#pragma once

#include "core/date_time.h"

#include <QDialog>

class QDateEdit;
class QPushButton;

// A date range, passed by reference to the period dialog and kept by the main window as the
// browse period of every period browser.
struct Period {
    DateTime start = 0;
    DateTime end = 0;
};

// The modal dialog that asks for a date range: two dates "dd.mm.yyyy", each with a calendar.
class PeriodDialog : public QDialog {
    Q_OBJECT
public:
    explicit PeriodDialog(QWidget* owner = nullptr);

    // Runs the dialog with caption on period; true when the user confirmed, with period
    // replaced by the two dates chosen (at midnight: the caller normalises them).
    static bool execute(QWidget* owner, const QString& caption, Period& period);

    void setPeriod(const Period& period);
    Period period() const;

    QDateEdit* m_startDateEdit = nullptr;
    QDateEdit* m_endDateEdit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

protected:
    // Enter in a date moves on to the next field.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
