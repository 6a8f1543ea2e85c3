#pragma once

#include "util/uDateTime.h"

#include <QDialog>

class QDateEdit;
class QPushButton;

// A date range, passed by reference to the period dialog and kept by the main window as the
// browse period of every period browser.
struct TPeriod {
    TDateTime Start = 0;
    TDateTime End = 0;
};

// The modal dialog that asks for a date range: two dates "dd.mm.yyyy", each with a calendar.
class TfrmSelectPeriod : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectPeriod(QWidget* owner = nullptr);

    // Runs the dialog with caption on period; true when the user confirmed, with period
    // replaced by the two dates chosen (at midnight: the caller normalises them).
    static bool Execute(QWidget* owner, const QString& caption, TPeriod& period);

    void SetPeriod(const TPeriod& period);
    TPeriod Period() const;

    QDateEdit* edtSDAT = nullptr;
    QDateEdit* edtEDAT = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    // Enter in a date moves on to the next field.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
