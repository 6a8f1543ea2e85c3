#include "documents/users_pane.h"

#include "core/exceptions.h"
#include "documents/rights_editor.h"
#include "platform/firebird/data_set.h"
#include "shell/password_dialog.h"
#include "store/data_store.h"
#include "store/users.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kAdminField = QStringLiteral("ISADMIN");
const QString kRightsField = QStringLiteral("DATA2");

} // namespace

UsersPane::UsersPane(QWidget* owner)
    : DictionaryPane(QString::fromLatin1(kUsersTable), QString::fromLatin1(kUserNameField), owner) {
    setWindowTitle(QStringLiteral("Пользователи"));
    hideFilter();
    Users::setDictionaryWrites(query());

    m_passwordAction = buildAction(
        this,
        {.name = QStringLiteral("passwordAction"), .text = QStringLiteral("Пароль"), .image = 14});
    addToolButton(m_passwordAction, QStringLiteral("passwordButton"));
    connect(m_passwordAction, &QAction::triggered, this, &UsersPane::onPasswordTriggered);

    // USERS.LNAM holds 50 characters.
    addFieldEdit(QStringLiteral("LNAM"), QStringLiteral("Имя"), 50);
    m_adminLabel = new QLabel;
    m_adminLabel->setObjectName(QStringLiteral("adminLabel"));
    addFieldRow(QString(), m_adminLabel);
    followField(m_adminLabel, kAdminField, [this] { showAdmin(); });
    m_rightsEditor = new RightsEditor;
    addFieldRow(QString(), m_rightsEditor);
    connect(m_rightsEditor, &RightsEditor::areaToggled, this, &UsersPane::onAreaToggled);

    // The administrator's flag as "Да" in the grid.
    setDisplayText(QStringLiteral("DISPLAYADMIN"), [](const QVariant& value) {
        return value.toInt() == 1 ? QStringLiteral("Да") : QString();
    });
    setGridColumns(*grid(), {{"LNAM", Qt::AlignLeft, "Имя", 400},
                             {"DisplayAdmin", Qt::AlignLeft, "Администратор", 120}});
}

QString UsersPane::rowsSelect(bool hiddenView) const {
    return Users::dictionarySelect(hiddenView);
}

void UsersPane::setMode(bool browse, bool edit, bool focus) {
    DictionaryPane::setMode(browse, edit, focus);
    m_passwordAction->setVisible(edit);
}

void UsersPane::initNewRow() {
    query().field(kAdminField).setAsInteger(0);
    query().field(kRightsField).clear();
}

void UsersPane::beforeEdit() {
    const QList<Permission> permissions =
        Users::shownPermissions(query().state() == fb::DataSetState::Insert,
                                currentText(kRightsField), currentText(kAdminField).toInt() == 1);
    m_shownRights = permissionsText(permissions);
    m_rightsEditor->setPermissions(permissions);
}

void UsersPane::beforePost() {
    if (currentText(nameField()).trimmed().isEmpty())
        throw Exception(QStringLiteral("Укажите имя пользовтеля!"));
    const bool inserting = query().state() == fb::DataSetState::Insert;
    if (!inserting && m_rightsEditor->text() == m_shownRights)
        return; // the rights were not changed: the stored text stays as it is
    DataStore::instance().editIfBrowsing(query());
    query().field(kRightsField).setAsString(m_rightsEditor->text());
}

QStringList UsersPane::columnsNotWritten() const {
    return Users::columnsNotWritten();
}

void UsersPane::checkHiding() {
    if (currentText(kAdminField).toInt() == 1)
        throw Exception(QStringLiteral("Администратора скрыть нельзя."));
}

void UsersPane::showAdmin() {
    const bool admin = currentText(kAdminField).toInt() == 1;
    m_adminLabel->setText(admin ? QStringLiteral("имеет права Администратора")
                                : QStringLiteral("имеет права простого пользователя"));
    QPalette palette = m_adminLabel->palette();
    palette.setColor(QPalette::WindowText, admin ? QColor(Qt::red) : QColor(0, 128, 128));
    m_adminLabel->setPalette(palette);
}

void UsersPane::onPasswordTriggered() {
    runGuarded([this] {
        DataStore::instance().editIfBrowsing(query());
        QString password;
        if (PasswordDialog::changePassword(this, password))
            query().field(QStringLiteral("PASSW")).setAsString(password);
    });
}

void UsersPane::onAreaToggled(const QString& word, bool allowed) {
    if (!Users::isAdministratorArea(word))
        return;
    runGuarded([this, allowed] {
        DataStore::instance().editIfBrowsing(query());
        query().field(kAdminField).setAsInteger(allowed ? 1 : 0);
    });
}
