#pragma once

#include "store/product_options.h"
#include "ui/owned_dialog.h"

#include <QList>

class QListWidget;
class QPushButton;

// The choice of the simple print forms the documents of the open book offer: one line per form
// of the book's table, under a heading line per kind of document that cannot be ticked.
class SimplePrintFormsDialog : public OwnedDialog {
    Q_OBJECT
public:
    // Shows the forms ticked as the options have them, in a dialog modal for the window of
    // owner; OK stores the choice of every form at once. True when closed with OK.
    static bool configure(QWidget* owner);

    QListWidget* formList() const { return m_formList; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

private:
    explicit SimplePrintFormsDialog(QWidget* owner);
    void fillFormList();
    void storeChoices();

    QListWidget* m_formList = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QList<SimplePrintFormRow> m_rows; // one for each line of the list
};
