#include "ui/choice_dialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

bool ChoiceDialog::select(QWidget* owner, const QString& caption, int& index,
                          const QStringList& items) {
    ChoiceDialog dialog(owner, caption, items);
    dialog.setItemIndex(index);
    if (dialog.exec() != QDialog::Accepted || dialog.itemIndex() < 0)
        return false;
    index = dialog.itemIndex();
    return true;
}

ChoiceDialog::ChoiceDialog(QWidget* owner, const QString& caption, const QStringList& items)
    : OwnedDialog(owner) {
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

    m_choiceGroup = new QGroupBox(caption, panel);
    m_choiceGroup->setObjectName(QStringLiteral("rdgrpSelect"));
    m_buttons = new QButtonGroup(this);
    auto* itemsLayout = new QVBoxLayout(m_choiceGroup);
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(caption);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], m_choiceGroup);
        button->setObjectName(QStringLiteral("rdbtn%1").arg(i));
        m_buttons->addButton(button, i);
        itemsLayout->addWidget(button);
        width = qMax(width, metrics.horizontalAdvance(items[i]));
    }
    connect(m_buttons, &QButtonGroup::idToggled, this, &ChoiceDialog::updateOkButton);

    m_buttonPanel = new QWidget(panel);
    m_buttonPanel->setObjectName(QStringLiteral("pnlBottom"));
    m_buttonPanel->setFixedHeight(39);
    m_okButton = new QPushButton(QStringLiteral("OK"), m_buttonPanel);
    m_okButton->setObjectName(QStringLiteral("btnOK"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Отмена"), m_buttonPanel);
    m_cancelButton->setObjectName(QStringLiteral("btnCancel"));
    m_cancelButton->setAutoDefault(false);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottomLayout = new QHBoxLayout(m_buttonPanel);
    bottomLayout->setContentsMargins(4, 4, 4, 4);
    bottomLayout->addStretch();
    bottomLayout->addWidget(m_okButton);
    bottomLayout->addWidget(m_cancelButton);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(3, 3, 3, 3);
    panelLayout->addWidget(m_choiceGroup, 1);
    panelLayout->addWidget(m_buttonPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);

    // As wide as the widest text and as high as the items need, never below what the
    // controls take.
    const int height = int(items.size()) * metrics.boundingRect(QStringLiteral("0")).height() + 50 +
                       m_buttonPanel->height();
    const QSize wanted(width + 50, height);
    resize(wanted.expandedTo(minimumSizeHint()));
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    updateOkButton();
}

int ChoiceDialog::itemIndex() const {
    return m_buttons->checkedId();
}

void ChoiceDialog::setItemIndex(int index) {
    if (QAbstractButton* button = m_buttons->button(index)) {
        button->setChecked(true);
        button->setFocus();
    } else if (QAbstractButton* checked = m_buttons->checkedButton()) {
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
    updateOkButton();
}

void ChoiceDialog::updateOkButton() {
    m_okButton->setEnabled(itemIndex() >= 0);
}

void ChoiceDialog::keyPressEvent(QKeyEvent* event) {
    // Enter on a radio button confirms, as OK does, once something is chosen.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        qobject_cast<QRadioButton*>(focusWidget())) {
        if (m_okButton->isEnabled())
            accept();
        return;
    }
    OwnedDialog::keyPressEvent(event);
}
