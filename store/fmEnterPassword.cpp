#include "store/fmEnterPassword.h"

#include "util/SysUtPlus.h"
#include "util/uCp1251.h"
#include "util/uMessageBox.h"

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

TfrmEnterPassword::TfrmEnterPassword(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmEnterPassword"));
    setWindowTitle(QStringLiteral("Введите пароль!"));
    buildLayout();
}

void TfrmEnterPassword::buildLayout() {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("dialog-password"),
                                        style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    image->setPixmap(icon.pixmap(32, 32));
    image->setAlignment(Qt::AlignTop);

    auto* label1 = new QLabel(QStringLiteral("Пароль:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("Повтор:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_password = passwordEdit("edtPassword", this);
    m_confirm = passwordEdit("edtConfirm", this);
    label1->setBuddy(m_password);
    label2->setBuddy(m_confirm);

    auto* fields = new QGridLayout;
    fields->addWidget(label1, 0, 0);
    fields->addWidget(m_password, 0, 1);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(m_confirm, 1, 1);

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

    setTabOrder(m_password, m_confirm);
    setTabOrder(m_confirm, ok);
    setTabOrder(ok, cancel);
    m_password->installEventFilter(this);
    m_confirm->installEventFilter(this);

    connect(ok, &QPushButton::clicked, this, &TfrmEnterPassword::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmEnterPassword::EncodePassword(const QString& text) {
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

QString TfrmEnterPassword::CheckNewPassword(const QString& password, const QString& confirm) {
    if (password != confirm)
        return QStringLiteral("Пароли не совпадают.\nПовторите ввод");
    const QString foreign = firstForeignCharacter(password);
    if (!foreign.isEmpty())
        return QStringLiteral("Символ \"%1\" нельзя использовать в пароле: "
                              "его нет в кодировке Windows-1251.\nПовторите ввод")
            .arg(foreign);
    return QString();
}

bool TfrmEnterPassword::ChangePassword(QWidget* owner, QString& password) {
    TfrmEnterPassword dialog(owner);
    dialog.m_password->setText(password);
    dialog.m_confirm->clear();
    dialog.m_password->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = EncodePassword(dialog.m_password->text());
    return true;
}

void TfrmEnterPassword::btnOkClick() {
    const QString problem = CheckNewPassword(m_password->text(), m_confirm->text());
    if (problem.isEmpty()) {
        accept();
        return;
    }
    dialogs::messageBox(this, problem, QStringLiteral("Ошибка"), MB_OK | MB_ICONERROR);
    m_password->clear();
    m_confirm->clear();
    m_password->setFocus();
}

bool TfrmEnterPassword::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterKeyPress(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
