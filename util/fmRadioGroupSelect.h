#pragma once

#include "util/fmFormUseWndParent.h"

#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QWidget;

// Choose one of N: the items as radio buttons under the caption, OK and "Отмена". OK stays
// disabled until an item is chosen, so the dialog never confirms without a choice.
class TfrmRadioGroupSelect : public TfrmFormUseWndParent {
    Q_OBJECT
public:
    // Runs the dialog; true on OK with index := the chosen item (0-based). index on entry is
    // the item chosen at first (-1 or out of range: none).
    static bool Select(QWidget* owner, const QString& caption, int& index,
                       const QStringList& items);

    TfrmRadioGroupSelect(QWidget* owner, const QString& caption, const QStringList& items);

    int ItemIndex() const;
    void SetItemIndex(int index);

    QGroupBox* rdgrpSelect;
    QWidget* pnlBottom;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateOK();

    QButtonGroup* m_buttons;
};
