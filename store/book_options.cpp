#include "store/book_options.h"

#include "core/key_value_text.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/book_kind.h"
#include "store/data_store.h"

namespace {

constexpr int kDefaultLookupDelay = 500;

} // namespace

QString BookOptions::option(const QString& key) const {
    return getKeyValue(m_store.fieldValue("PARTS", "ETC", kOwnerKey), key);
}

void BookOptions::setOption(const QString& key, const QString& value) {
    DataStore& store = m_store;
    const QString etc = setKeyValue(store.fieldValue("PARTS", "ETC", kOwnerKey), key, value);
    fb::Statement& q = store.query();
    q.close();
    q.prepare(QStringLiteral("UPDATE PARTS P\nSET ETC=:IETC\nWHERE PRKEY=:IPRKEY"),
              fb::ParamMode::Named);
    q.param(QStringLiteral("IPRKEY")).setInteger(kOwnerKey);
    q.param(QStringLiteral("IETC")).setString(etc);
    store.transaction().ensureStarted();
    q.execute();
    store.transaction().commit();
}

bool BookOptions::textToFlag(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const qint64 number = t.toLongLong(&ok);
    if (ok)
        return number != 0;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return true;
}

bool BookOptions::reservBackupFlag() const {
    return textToFlag(option(kReservBackupFlagKey));
}

bool BookOptions::yesterdayBackupFlag() const {
    return textToFlag(option(kYesterdayBackupFlagKey));
}

bool BookOptions::weekBackupFlag() const {
    return textToFlag(option(kWeekBackupFlagKey));
}

QString BookOptions::storeCaption() const {
    return option(kStoreCaptionKey);
}

QString BookOptions::storeCurrency() const {
    const QString currency = option(kStoreCurrencyKey);
    return currency.isEmpty() ? QStringLiteral("грн.") : currency;
}

int BookOptions::lookupDelay() const {
    return lookupDelayOf(option(kLookupDelayKey));
}

QString BookOptions::extraBackupFolder() const {
    return option(kExtraBackupFolderKey);
}

QString BookOptions::flagText(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

int BookOptions::lookupDelayOf(const QString& text) {
    bool ok = false;
    const int delay = text.trimmed().toInt(&ok);
    return ok ? delay : kDefaultLookupDelay;
}
