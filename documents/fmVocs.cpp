#include "documents/fmVocs.h"

#include "store/dmDataStoreProto.h"
#include "util/SysUtPlus.h"

bool UserRights::rightsAllow(const QString& rights, const QString& key) {
    return getKeyValue(rights, key) != QStringLiteral("N");
}

bool UserRights::hasPermission(const QString& key) {
    const QString rights = dtmdlDataStoreProto->fieldValue(
        QStringLiteral("USERS"), QStringLiteral("DATA2"), dtmdlDataStoreProto->m_userKey);
    return rightsAllow(rights, key);
}
