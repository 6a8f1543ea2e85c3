#pragma once

#include "ui/owned_dialog.h"

#include <QStringList>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The choice of a simple print form and of printing at once or after a preview. "Печать" (and
// Enter on a form) hands the choice to the callback; "Печать" then closes the dialog, Enter
// keeps it open so that the same form may print again; a failure is shown and keeps it open
// too. "Отмена" and Esc close it without printing. The forms are the radio buttons "formButton0",
// "formButton1", ... of the group "formGroup".
class PrintModeDialog : public OwnedDialog {
    Q_OBJECT
public:
    using SelectHandler = std::function<void(PrintModeDialog& dialog)>;

    PrintModeDialog(QWidget* owner, const QStringList& forms);

    // Chooses the form at itemIndex, fits the window to the screen and runs the dialog modally;
    // onSelect prints. The dialog's result.
    int execute(int itemIndex, SelectHandler onSelect);

    // The chosen form (from 0), -1 when none is.
    int itemIndex() const;
    // Whether the form prints at once, without its preview (the default).
    bool noPreview() const;

    QCheckBox* noPreviewBox() const { return m_noPreviewBox; }
    QRadioButton* formButton(int index) const;
    QPushButton* printButton() const { return m_printButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void onPrintClicked();

private:
    QWidget* createButtonPanel();
    // The window's height for the forms when they fit on the screen in one column; else the
    // window fills the screen with the forms in as many columns as they need.
    void fitToScreen();
    void layForms(int rows);
    void focusForms();
    // Runs the callback; false when it raised, its message shown.
    bool select();

    QStringList m_forms;
    QCheckBox* m_noPreviewBox;
    QGroupBox* m_formGroup;
    QGridLayout* m_formLayout;
    QButtonGroup* m_formButtons;
    QPushButton* m_printButton;
    QPushButton* m_cancelButton;
    SelectHandler m_onSelect;
};
