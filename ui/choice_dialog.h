#pragma once

#include "ui/owned_dialog.h"

#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QPushButton;

// Choose one of N: the items as radio buttons under the caption, OK and "Отмена". OK stays
// disabled until an item is chosen, so the dialog never confirms without a choice. The items
// are the radio buttons "itemButton0", "itemButton1", ... of the group "choiceGroup"; the
// buttons are "okButton" and "cancelButton".
class ChoiceDialog : public OwnedDialog {
    Q_OBJECT
public:
    // Runs the dialog; true on OK with index := the chosen item (0-based). index on entry is
    // the item chosen at first (-1 or out of range: none).
    static bool select(QWidget* owner, const QString& caption, int& index,
                       const QStringList& items);

    ChoiceDialog(QWidget* owner, const QString& caption, const QStringList& items);

    // The chosen item (0-based), -1 when none is.
    int itemIndex() const;
    // Chooses the item; an index out of range chooses none.
    void setItemIndex(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void onItemToggled();

private:
    QWidget* createButtonPanel(QWidget* parent);
    // OK only once an item is chosen.
    void updateOkButton();

    QGroupBox* m_choiceGroup;
    QButtonGroup* m_itemButtons;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};
