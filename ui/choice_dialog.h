#pragma once

#include "ui/owned_dialog.h"

#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QWidget;

// Choose one of N: the items as radio buttons under the caption, OK and "Отмена". OK stays
// disabled until an item is chosen, so the dialog never confirms without a choice.
class ChoiceDialog : public OwnedDialog {
    Q_OBJECT
public:
    // Runs the dialog; true on OK with index := the chosen item (0-based). index on entry is
    // the item chosen at first (-1 or out of range: none).
    static bool select(QWidget* owner, const QString& caption, int& index,
                       const QStringList& items);

    ChoiceDialog(QWidget* owner, const QString& caption, const QStringList& items);

    int itemIndex() const;
    void setItemIndex(int index);

    QGroupBox* m_choiceGroup;
    QWidget* m_buttonPanel;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateOkButton();

    QButtonGroup* m_buttons;
};
