#include "printing/print_mode_dialog.h"

#include "ui/guard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kItemHeight = 17;
constexpr int kFixedHeight = 160;
constexpr int kScreenReserve = 200;

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

PrintModeDialog::PrintModeDialog(QWidget* owner, const QStringList& forms)
    : OwnedDialog(owner), m_forms(forms) {
    setObjectName(QStringLiteral("printModeDialog"));
    setWindowTitle(QStringLiteral("Выберите режим печати"));
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);

    m_noPreviewBox = new QCheckBox(QStringLiteral("Печать без предварительного просмотра"), this);
    m_noPreviewBox->setObjectName(QStringLiteral("noPreviewBox"));
    m_noPreviewBox->setChecked(true);
    m_noPreviewBox->installEventFilter(this);

    m_formGroup = new QGroupBox(this);
    m_formGroup->setObjectName(QStringLiteral("formGroup"));
    m_formLayout = new QGridLayout(m_formGroup);
    m_formButtons = new QButtonGroup(this);
    for (int i = 0; i < forms.size(); ++i) {
        auto* button = new QRadioButton(forms[i], m_formGroup);
        button->setObjectName(QStringLiteral("formButton%1").arg(i));
        m_formButtons->addButton(button, i);
    }
    layForms(int(forms.size()));

    auto* layout = new QVBoxLayout(this);
    // The window takes the height its forms are given, not the one the style would ask.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(m_noPreviewBox);
    layout->addWidget(m_formGroup, 1);
    layout->addWidget(createButtonPanel());
    m_noPreviewBox->setFocus();
}

QWidget* PrintModeDialog::createButtonPanel() {
    auto* panel = new QWidget(this);
    m_printButton = new QPushButton(QStringLiteral("Печать"), panel);
    m_printButton->setObjectName(QStringLiteral("printButton"));
    m_cancelButton = new QPushButton(QStringLiteral("Отмена"), panel);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton* button : {m_printButton, m_cancelButton})
        button->setAutoDefault(false);
    connect(m_printButton, &QPushButton::clicked, this, &PrintModeDialog::onPrintClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QHBoxLayout(panel);
    layout->addStretch();
    layout->addWidget(m_printButton);
    layout->addWidget(m_cancelButton);
    return panel;
}

int PrintModeDialog::execute(int itemIndex, SelectHandler onSelect) {
    m_onSelect = std::move(onSelect);
    if (QRadioButton* button = formButton(itemIndex))
        button->setChecked(true);
    fitToScreen();
    return exec();
}

int PrintModeDialog::itemIndex() const {
    return m_formButtons->checkedId();
}

bool PrintModeDialog::noPreview() const {
    return m_noPreviewBox->isChecked();
}

QRadioButton* PrintModeDialog::formButton(int index) const {
    return qobject_cast<QRadioButton*>(m_formButtons->button(index));
}

void PrintModeDialog::fitToScreen() {
    const int formsHeight = int(m_forms.size()) * kItemHeight;
    const QScreen* screen = this->screen();
    const int available = screen->geometry().height() - kScreenReserve;
    if (formsHeight <= available) {
        resize(width(), formsHeight + kFixedHeight);
        move(screen->geometry().center() - rect().center());
        return;
    }
    layForms(qMax(1, available / kItemHeight));
    setWindowState(Qt::WindowMaximized);
}

void PrintModeDialog::layForms(int rows) {
    const QList<QAbstractButton*> buttons = m_formButtons->buttons();
    for (QAbstractButton* button : buttons)
        m_formLayout->removeWidget(button);
    for (int i = 0; i < buttons.size(); ++i)
        m_formLayout->addWidget(buttons[i], i % rows, i / rows);
}

void PrintModeDialog::focusForms() {
    QAbstractButton* button = m_formButtons->checkedButton();
    if (!button)
        button = m_formButtons->button(0);
    if (button)
        button->setFocus();
}

bool PrintModeDialog::select() {
    return !m_onSelect || runGuarded([this] { m_onSelect(*this); });
}

void PrintModeDialog::onPrintClicked() {
    if (select())
        accept();
}

bool PrintModeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_noPreviewBox) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((event->type() == QEvent::KeyPress && isEnter(key)) ||
            (event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Down)) {
            focusForms();
            return true;
        }
    }
    return OwnedDialog::eventFilter(watched, event);
}

void PrintModeDialog::keyPressEvent(QKeyEvent* event) {
    if (!isEnter(event)) {
        OwnedDialog::keyPressEvent(event);
        return;
    }
    QWidget* focused = focusWidget();
    if (m_formButtons->buttons().contains(qobject_cast<QAbstractButton*>(focused)))
        select();
    else if (auto* button = qobject_cast<QPushButton*>(focused))
        button->click();
}
