#include "store/book_options.h"

#include "core/key_value_text.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/book_kind.h"
#include "store/data_store.h"

#include <QRegularExpression>
#include <algorithm>

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

// A decimal number, integer or not, with "." or "," before the fraction and an optional
// exponent: its truth is whether any digit before the exponent is not zero.
bool BookOptions::textToFlag(const QString& text, bool fallback) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]*)(?:[.,]([0-9]*))?(?:[eE][+-]?[0-9]+)?$"));
    const QString t = text.trimmed();
    const QRegularExpressionMatch match = number.match(t);
    const QString digits = match.captured(1) + match.captured(2);
    if (match.hasMatch() && !digits.isEmpty())
        return std::any_of(digits.cbegin(), digits.cend(), [](QChar c) { return c != u'0'; });
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    return fallback;
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
