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
    setObjectName(QStringLiteral("choiceDialog"));
    // No frame of its own: the radio group's caption is the dialog's title.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(3);

    m_choiceGroup = new QGroupBox(caption, frame);
    m_choiceGroup->setObjectName(QStringLiteral("choiceGroup"));
    m_itemButtons = new QButtonGroup(this);
    auto* itemsLayout = new QVBoxLayout(m_choiceGroup);
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(caption);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], m_choiceGroup);
        button->setObjectName(QStringLiteral("itemButton%1").arg(i));
        m_itemButtons->addButton(button, i);
        itemsLayout->addWidget(button);
        width = qMax(width, metrics.horizontalAdvance(items[i]));
    }
    connect(m_itemButtons, &QButtonGroup::idToggled, this, &ChoiceDialog::onItemToggled);

    QWidget* buttonPanel = createButtonPanel(frame);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(3, 3, 3, 3);
    frameLayout->addWidget(m_choiceGroup, 1);
    frameLayout->addWidget(buttonPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);

    // As wide as the widest text and as high as the items need, never below what the
    // controls take.
    const int height = int(items.size()) * metrics.boundingRect(QStringLiteral("0")).height() + 50 +
                       buttonPanel->height();
    const QSize wanted(width + 50, height);
    resize(wanted.expandedTo(minimumSizeHint()));
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    updateOkButton();
}

// OK and "Отмена" at the bottom right.
QWidget* ChoiceDialog::createButtonPanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("buttonPanel"));
    panel->setFixedHeight(39);
    m_okButton = new QPushButton(QStringLiteral("OK"), panel);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Отмена"), panel);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addStretch();
    layout->addWidget(m_okButton);
    layout->addWidget(m_cancelButton);
    return panel;
}

int ChoiceDialog::itemIndex() const {
    return m_itemButtons->checkedId();
}

void ChoiceDialog::setItemIndex(int index) {
    if (QAbstractButton* button = m_itemButtons->button(index)) {
        button->setChecked(true);
        button->setFocus();
    } else if (QAbstractButton* checked = m_itemButtons->checkedButton()) {
        m_itemButtons->setExclusive(false);
        checked->setChecked(false);
        m_itemButtons->setExclusive(true);
    }
    updateOkButton();
}

void ChoiceDialog::onItemToggled() {
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
