#include "shell/password_dialog.h"

#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "ui/message_box.h"

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

QString hexByte(unsigned value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

// The first character (a surrogate pair counts as one) that Windows-1251 cannot hold.
QString firstForeignCharacter(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString character = text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
        if (!cp1251::canEncode(character))
            return character;
    }
    return QString();
}

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
    setObjectName(QStringLiteral("frmEnterPassword"));
    setWindowTitle(QStringLiteral("Введите пароль!"));
    buildLayout();
}

void PasswordDialog::buildLayout() {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("dialog-password"),
                                        style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    image->setPixmap(icon.pixmap(32, 32));
    image->setAlignment(Qt::AlignTop);

    auto* passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    passwordLabel->setObjectName(QStringLiteral("Label1"));
    auto* confirmLabel = new QLabel(QStringLiteral("Повтор:"), this);
    confirmLabel->setObjectName(QStringLiteral("Label2"));
    m_passwordEdit = passwordEdit("edtPassword", this);
    m_confirmEdit = passwordEdit("edtConfirm", this);
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
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
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

QString PasswordDialog::encodePassword(const QString& text) {
    const QByteArray bytes = cp1251::encode(text);
    unsigned seed = 0;
    for (const char byte : bytes)
        seed += uchar(byte);
    seed &= 0xFF;
    if (seed == 0)
        seed = 1;
    QString result = hexByte(seed);
    for (const char byte : bytes) {
        const unsigned b = uchar(byte);
        result += hexByte((b & 0x7E) ^ seed);
        seed ^= b & 0x81;
    }
    return result;
}

QString PasswordDialog::checkNewPassword(const QString& password, const QString& confirm) {
    if (password != confirm)
        return QStringLiteral("Пароли не совпадают.\nПовторите ввод");
    const QString foreign = firstForeignCharacter(password);
    if (!foreign.isEmpty())
        return QStringLiteral("Символ \"%1\" нельзя использовать в пароле: "
                              "его нет в кодировке Windows-1251.\nПовторите ввод")
            .arg(foreign);
    return QString();
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
    dialogs::messageBox(this, problem, QStringLiteral("Ошибка"), MB_OK | MB_ICONERROR);
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
