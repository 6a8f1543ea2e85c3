#include "shell/password_dialog.h"

#include "store/passwords.h"
#include "ui/message_box.h"
#include "ui/widget_helpers.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLineEdit* passwordEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(160);
    return edit;
}

} // namespace

PasswordDialog::PasswordDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(QStringLiteral("Введите пароль!"));
    buildLayout();
}

void PasswordDialog::buildLayout() {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("iconLabel"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("dialog-password"),
                                        style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    image->setPixmap(icon.pixmap(32, 32));
    image->setAlignment(Qt::AlignTop);

    auto* passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    passwordLabel->setObjectName(QStringLiteral("passwordLabel"));
    auto* confirmLabel = new QLabel(QStringLiteral("Повтор:"), this);
    confirmLabel->setObjectName(QStringLiteral("confirmLabel"));
    m_passwordEdit = passwordEdit("passwordEdit", this);
    m_confirmEdit = passwordEdit("confirmEdit", this);
    passwordLabel->setBuddy(m_passwordEdit);
    confirmLabel->setBuddy(m_confirmEdit);

    auto* fields = new QGridLayout;
    fields->addWidget(passwordLabel, 0, 0);
    fields->addWidget(m_passwordEdit, 0, 1);
    fields->addWidget(confirmLabel, 1, 0);
    fields->addWidget(m_confirmEdit, 1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(image);
    top->addSpacing(8);
    top->addLayout(fields);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("separator"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(bevel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_passwordEdit, m_confirmEdit);
    setTabOrder(m_confirmEdit, ok);
    setTabOrder(ok, cancel);
    m_passwordEdit->installEventFilter(this);
    m_confirmEdit->installEventFilter(this);

    connect(ok, &QPushButton::clicked, this, &PasswordDialog::onOkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool PasswordDialog::changePassword(QWidget* owner, QString& password) {
    PasswordDialog dialog(owner);
    dialog.m_passwordEdit->setText(password);
    dialog.m_confirmEdit->clear();
    dialog.m_passwordEdit->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = encodePassword(dialog.m_passwordEdit->text());
    return true;
}

void PasswordDialog::onOkClicked() {
    const QString problem = checkNewPassword(m_passwordEdit->text(), m_confirmEdit->text());
    if (problem.isEmpty()) {
        accept();
        return;
    }
    dialogs::messageBox(this, problem, QStringLiteral("Ошибка"), Buttons::Ok, MessageIcon::Error);
    m_passwordEdit->clear();
    m_confirmEdit->clear();
    m_passwordEdit->setFocus();
}

bool PasswordDialog::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKeyPress(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
