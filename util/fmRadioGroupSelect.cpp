#include "util/fmRadioGroupSelect.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

bool TfrmRadioGroupSelect::Select(QWidget* owner, const QString& caption, int& index,
                                  const QStringList& items) {
    TfrmRadioGroupSelect dialog(owner, caption, items);
    dialog.SetItemIndex(index);
    if (dialog.exec() != QDialog::Accepted || dialog.ItemIndex() < 0)
        return false;
    index = dialog.ItemIndex();
    return true;
}

TfrmRadioGroupSelect::TfrmRadioGroupSelect(QWidget* owner, const QString& caption,
                                           const QStringList& items)
    : TfrmFormUseWndParent(owner) {
    // No frame of its own: the radio group's caption is the dialog's title.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(3);

    rdgrpSelect = new QGroupBox(caption, panel);
    rdgrpSelect->setObjectName(QStringLiteral("rdgrpSelect"));
    m_buttons = new QButtonGroup(this);
    auto* itemsLayout = new QVBoxLayout(rdgrpSelect);
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(caption);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], rdgrpSelect);
        button->setObjectName(QStringLiteral("rdbtn%1").arg(i));
        m_buttons->addButton(button, i);
        itemsLayout->addWidget(button);
        width = qMax(width, metrics.horizontalAdvance(items[i]));
    }
    connect(m_buttons, &QButtonGroup::idToggled, this, &TfrmRadioGroupSelect::UpdateOK);

    pnlBottom = new QWidget(panel);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->setFixedHeight(39);
    btnOK = new QPushButton(QStringLiteral("OK"), pnlBottom);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), pnlBottom);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottomLayout = new QHBoxLayout(pnlBottom);
    bottomLayout->setContentsMargins(4, 4, 4, 4);
    bottomLayout->addStretch();
    bottomLayout->addWidget(btnOK);
    bottomLayout->addWidget(btnCancel);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(3, 3, 3, 3);
    panelLayout->addWidget(rdgrpSelect, 1);
    panelLayout->addWidget(pnlBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);

    // As wide as the widest text and as high as the items need, never below what the
    // controls take.
    const int height = int(items.size()) * metrics.boundingRect(QStringLiteral("0")).height() + 50 +
                       pnlBottom->height();
    const QSize wanted(width + 50, height);
    resize(wanted.expandedTo(minimumSizeHint()));
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    UpdateOK();
}

int TfrmRadioGroupSelect::ItemIndex() const {
    return m_buttons->checkedId();
}

void TfrmRadioGroupSelect::SetItemIndex(int index) {
    if (QAbstractButton* button = m_buttons->button(index)) {
        button->setChecked(true);
        button->setFocus();
    } else if (QAbstractButton* checked = m_buttons->checkedButton()) {
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
    UpdateOK();
}

void TfrmRadioGroupSelect::UpdateOK() {
    btnOK->setEnabled(ItemIndex() >= 0);
}

void TfrmRadioGroupSelect::keyPressEvent(QKeyEvent* event) {
    // Enter on a radio button confirms, as OK does, once something is chosen.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        qobject_cast<QRadioButton*>(focusWidget())) {
        if (btnOK->isEnabled())
            accept();
        return;
    }
    TfrmFormUseWndParent::keyPressEvent(event);
}
