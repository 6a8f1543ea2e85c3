#pragma once

#include <QDialog>

// The base of the program's small dialogs: a window that stays over its owner's window
// and goes with it.
class TfrmFormUseWndParent : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFormUseWndParent(QWidget* owner = nullptr);
};
