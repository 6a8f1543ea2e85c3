#include "documents/fmVocs.h"

#include "store/dmDataStoreProto.h"
#include "util/SysUtPlus.h"

bool TfrmVocsUsers::RightsAllow(const QString& rights, const QString& key) {
    return GetKeyValue(rights, key) != QStringLiteral("N");
}

bool TfrmVocsUsers::HasPermission(const QString& key) {
    const QString rights = dtmdlDataStoreProto->GetFieldValue(
        QStringLiteral("USERS"), QStringLiteral("DATA2"), dtmdlDataStoreProto->UserKey);
    return RightsAllow(rights, key);
}
