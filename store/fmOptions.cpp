#include "store/fmOptions.h"

#include "platform/firebird/fbStatement.h"
#include "platform/firebird/fbTransaction.h"
#include "store/dmDataStoreProto.h"
#include "util/SysUtPlus.h"

namespace {

constexpr int kOwnerKey = 0;

} // namespace

QString TfrmOptions::GetOption(const QString& key) {
    return GetKeyValue(dtmdlDataStoreProto->GetFieldValue("PARTS", "ETC", kOwnerKey), key);
}

void TfrmOptions::SetOption(const QString& key, const QString& value) {
    TdtmdlDataStoreProto& store = *dtmdlDataStoreProto;
    const QString etc = SetKeyValue(store.GetFieldValue("PARTS", "ETC", kOwnerKey), key, value);
    fb::Statement& q = store.qryAny();
    q.close();
    q.prepare(QStringLiteral("UPDATE PARTS P\nSET ETC=:IETC\nWHERE PRKEY=:IPRKEY"),
              fb::ParamMode::Named);
    q.param(QStringLiteral("IPRKEY")).setInteger(kOwnerKey);
    q.param(QStringLiteral("IETC")).setString(etc);
    store.tractAny().ensureStarted();
    q.execute();
    store.tractAny().commit();
}

bool TfrmOptions::TextToFlag(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const qint64 number = t.toLongLong(&ok);
    if (ok)
        return number != 0;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return true;
}

bool TfrmOptions::GetReservBackupFlag() {
    return TextToFlag(GetOption("ReservBackupFlag"));
}

bool TfrmOptions::GetYesterdayBackupFlag() {
    return TextToFlag(GetOption("YesterdayBackupFlag"));
}

bool TfrmOptions::GetWeekBackupFlag() {
    return TextToFlag(GetOption("WeekBackupFlag"));
}

QString TfrmOptions::GetStoreCapt() {
    return GetOption("StoreCapt");
}

QString TfrmOptions::GetStoreCurrency() {
    const QString currency = GetOption("StoreCurrency");
    return currency.isEmpty() ? QStringLiteral("грн.") : currency;
}

int TfrmOptions::GetKibitzDelay() {
    bool ok = false;
    const int delay = GetOption("KibitzDelay").trimmed().toInt(&ok);
    return ok ? delay : 500;
}

QString TfrmOptions::GetRezFolder() {
    return GetOption("RezFolder");
}
