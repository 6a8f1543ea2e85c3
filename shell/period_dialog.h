#pragma once

#include "shell/period.h"

#include <QDialog>

class QDateEdit;
class QPushButton;

// The modal dialog that asks for a date range: two dates "dd.mm.yyyy", each with a calendar.
// An end before the start is refused with a warning and the dialog stays open; a start and an
// end on one day make a one-day period.
class PeriodDialog : public QDialog {
    Q_OBJECT
public:
    explicit PeriodDialog(QWidget* owner = nullptr);

    // Runs the dialog with caption on period; true when the user confirmed, with period
    // replaced by the two dates chosen (at midnight: the caller normalises them).
    static bool execute(QWidget* owner, const QString& caption, Period& period);

    void setPeriod(const Period& period);
    Period period() const;

    QDateEdit* startDateEdit() const { return m_startDateEdit; }
    QDateEdit* endDateEdit() const { return m_endDateEdit; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    // Closes the dialog confirmed, unless the end lies before the start.
    void accept() override;

protected:
    // Enter in a date moves on to the next field.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDateEdit* m_startDateEdit = nullptr;
    QDateEdit* m_endDateEdit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
