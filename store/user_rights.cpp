#include "store/user_rights.h"

#include "core/key_value_text.h"
#include "store/data_store.h"

bool UserRights::rightsAllow(const QString& rights, const QString& key) {
    return getKeyValue(rights, key) != QStringLiteral("N");
}

QString UserRights::rights() const {
    return m_store.fieldValue(QStringLiteral("USERS"), QStringLiteral("DATA2"), m_store.userKey());
}

bool UserRights::hasPermission(const QString& key) const {
    return rightsAllow(rights(), key);
}

bool UserRights::isAdministrator() const {
    return m_store.fieldValue(QStringLiteral("USERS"), QStringLiteral("ISADMIN"),
                              m_store.userKey()) == QLatin1String("1");
}
