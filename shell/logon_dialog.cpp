#include "shell/logon_dialog.h"

#include "core/ini_file.h"
#include "store/data_store.h"
#include "store/passwords.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/widget_helpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QWidget* panel(const char* name, QWidget* parent) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(QLatin1String(name));
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    return widget;
}

QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

} // namespace

LogonDialog::LogonDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("logonDialog"));
    setWindowTitle(QStringLiteral("Вход в программу"));
    buildLayout();
    loadUsers();
}

void LogonDialog::buildLayout() {
    const int labelWidth = 100;

    QWidget* user = panel("userRow", this);
    QLabel* userLabel = label("userLabel", QStringLiteral("Пользователь:"), user);
    userLabel->setFixedWidth(labelWidth);
    m_userCombo = new QComboBox(user);
    m_userCombo->setObjectName(QStringLiteral("userCombo"));
    m_userCombo->setMinimumWidth(200);
    userLabel->setBuddy(m_userCombo);
    user->layout()->addWidget(userLabel);
    user->layout()->addWidget(m_userCombo);

    QWidget* password = panel("passwordRow", this);
    QLabel* passwordLabel = label("passwordLabel", QStringLiteral("Пароль:"), password);
    passwordLabel->setFixedWidth(labelWidth);
    m_passwordEdit = new QLineEdit(password);
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(m_passwordEdit);
    password->layout()->addWidget(passwordLabel);
    password->layout()->addWidget(m_passwordEdit);

    QWidget* space = panel("buttonSpace", this);
    QWidget* okPanel = panel("okPanel", this);
    auto* ok = new QPushButton(QStringLiteral("OK"), okPanel);
    ok->setObjectName(QStringLiteral("okButton"));
    okPanel->layout()->addWidget(ok);
    QWidget* cancelPanel = panel("cancelPanel", this);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), cancelPanel);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancelPanel->layout()->addWidget(cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(space, 1);
    buttons->addWidget(okPanel);
    buttons->addWidget(cancelPanel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        label("promptLabel", QStringLiteral("Введите пароль для входа в программу!"), this));
    layout->addWidget(user);
    layout->addWidget(password);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_userCombo, m_passwordEdit);
    setTabOrder(m_passwordEdit, ok);
    setTabOrder(ok, cancel);
    m_userCombo->installEventFilter(this);
    m_passwordEdit->installEventFilter(this);

    connect(ok, &QPushButton::clicked, this, [this] { runGuarded([this] { onOkClicked(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LogonDialog::loadUsers() {
    m_passwordEdit->clear();
    m_userCombo->clear();
    for (const VisibleUser& user : visibleUsers(DataStore::instance()))
        m_userCombo->addItem(user.name + QLatin1Char(' '), user.key);
    const int last = DataStore::instance().ini().readInteger(QStringLiteral("Logon"),
                                                             QStringLiteral("LastUser"), -1);
    m_userCombo->setCurrentIndex(last == -1 ? (m_userCombo->count() > 0 ? 0 : -1)
                                            : m_userCombo->findData(last));
}

void LogonDialog::onOkClicked() {
    if (m_userCombo->currentIndex() < 0)
        return;
    const int key = m_userCombo->currentData().toInt();
    const QString stored =
        DataStore::instance().fieldValue(QStringLiteral("USERS"), QStringLiteral("PASSW"), key);
    if (!passwordAccepted(m_passwordEdit->text(), stored)) {
        dialogs::messageBox(this, QStringLiteral("Пароль неверен!"), QStringLiteral("Ошибка"),
                            Buttons::Ok, MessageIcon::Error);
        return;
    }
    // Remembering the user is a convenience: an INI that cannot be written is reported and the
    // logon goes on.
    runGuarded([key] {
        DataStore::instance().ini().writeInteger(QStringLiteral("Logon"),
                                                 QStringLiteral("LastUser"), key);
    });
    DataStore::instance().setUserKey(key);
    accept();
}

bool LogonDialog::logon() {
    const QList<VisibleUser> users = visibleUsers(DataStore::instance());
    if (users.isEmpty())
        return true;
    if (users.size() == 1 && hasNoPassword(users.first().password)) {
        DataStore::instance().setUserKey(users.first().key);
        return true;
    }
    LogonDialog window;
    return window.exec() == QDialog::Accepted;
}

bool LogonDialog::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKeyPress(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
