#include "store/users.h"

#include "platform/firebird/data_set.h"
#include "store/dictionary_rows.h"

namespace {

const QString kUsersArea = QStringLiteral("VocsUsers");

} // namespace

QString Users::dictionarySelect(bool hiddenView) {
    return QStringLiteral("SELECT U.*, U.ISADMIN AS DISPLAYADMIN\n"
                          "FROM USERS U\n"
                          "WHERE %1\n"
                          "ORDER BY U.LNAM")
        .arg(hiddenNameCondition(QStringLiteral("U.LNAM"), hiddenView));
}

void Users::setDictionaryWrites(fb::DataSet& rows) {
    rows.setInsertSQL(QStringLiteral("INSERT INTO USERS (PRKEY, LNAM, PASSW, ISADMIN, DATA2)\n"
                                     "VALUES (:PRKEY, :LNAM, :PASSW, :ISADMIN, :DATA2)"));
    rows.setModifySQL(
        QStringLiteral("UPDATE USERS SET LNAM=:LNAM, PASSW=:PASSW, ISADMIN=:ISADMIN, DATA2=:DATA2\n"
                       "WHERE PRKEY=:OLD_PRKEY"));
    rows.setDeleteSQL(QStringLiteral("DELETE FROM USERS WHERE PRKEY=:OLD_PRKEY"));
}

QStringList Users::columnsNotWritten() {
    return {QStringLiteral("DATA1")};
}

QList<Permission> Users::shownPermissions(bool newUser, const QString& rights, bool administrator) {
    QList<Permission> permissions = permissionsFromText(newUser ? QString() : rights);
    for (Permission& permission : permissions) {
        if (permission.action == RightsAction::Heading)
            continue;
        if (newUser)
            permission.allowed = false;
        if (permission.action == RightsAction::Open &&
            isAdministratorArea(QString::fromLatin1(rightsAreas().at(permission.area).word)))
            permission.allowed = administrator;
    }
    return permissions;
}

bool Users::isAdministratorArea(const QString& areaWord) {
    return areaWord == kUsersArea;
}
