#include "store/user_rights.h"

#include "core/text_helpers.h"
#include "store/data_store.h"

bool UserRights::rightsAllow(const QString& rights, const QString& key) {
    return getKeyValue(rights, key) != QStringLiteral("N");
}

bool UserRights::hasPermission(const QString& key) {
    const QString rights = dtmdlDataStoreProto->fieldValue(
        QStringLiteral("USERS"), QStringLiteral("DATA2"), dtmdlDataStoreProto->m_userKey);
    return rightsAllow(rights, key);
}
