#pragma once

#include <QDialog>

// The base of the program's small dialogs: a window that stays over its owner's window and
// goes with it. With an owner the dialog is modal for the owner's window only (window
// modality), so top-level windows outside that window (the document windows, which have no
// parent) stay usable while it runs; without one it is modal for the whole application.
class OwnedDialog : public QDialog {
    Q_OBJECT
public:
    explicit OwnedDialog(QWidget* owner = nullptr);

    // Gives any dialog the same owner and modality (for dialogs with another base).
    static void useOwnerWindow(QDialog* dialog, QWidget* owner);
};
