#include "store/partners.h"

#include "core/key_value_text.h"
#include "platform/firebird/data_set.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/stored_row.h"

namespace {

const QString kEtcField = QStringLiteral("ETC");

// The writes of a whole row, as a card makes it.
void setCardWrites(fb::DataSet& rows) {
    rows.setInsertSQL(
        QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM, CITY, INCITY, INBANK, MFO, RS, ID, "
                       "INDN, PASSW, LOWNER, ETC)\nVALUES (:PRKEY, :TYP, :LNAM, :CITY, :INCITY, "
                       ":INBANK, :MFO, :RS, :ID, :INDN, :PASSW, :LOWNER, :ETC)"));
    rows.setModifySQL(
        QStringLiteral("UPDATE PARTS SET TYP=:TYP, LNAM=:LNAM, CITY=:CITY, INCITY=:INCITY, "
                       "INBANK=:INBANK, MFO=:MFO, RS=:RS, ID=:ID, INDN=:INDN, PASSW=:PASSW, "
                       "LOWNER=:LOWNER, ETC=:ETC\nWHERE PRKEY=:OLD_PRKEY"));
}

} // namespace

QString Partners::dictionarySelect(int type, bool hiddenView) {
    return QStringLiteral("SELECT * FROM PARTS\n"
                          "WHERE LNAM CONTAINING :MASK\n"
                          "and TYP=%1\n"
                          "AND %2\n"
                          "ORDER BY LNAM")
        .arg(QString::number(type), hiddenNameCondition(QStringLiteral("LNAM"), hiddenView));
}

void Partners::setDictionaryWrites(fb::DataSet& rows) {
    rows.setInsertSQL(
        QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM, CITY, INCITY, INBANK, MFO, RS, ID,\n"
                       "INDN, PASSW, LOWNER)\n"
                       "VALUES (:PRKEY, :TYP, :LNAM, :CITY, :INCITY, :INBANK, :MFO, :RS, :ID,\n"
                       ":INDN, :PASSW, :LOWNER)"));
    rows.setModifySQL(
        QStringLiteral("UPDATE PARTS SET PRKEY=:PRKEY, TYP=:TYP, LNAM=:LNAM, CITY=:CITY,\n"
                       "INCITY=:INCITY, INBANK=:INBANK, MFO=:MFO, RS=:RS, ID=:ID, INDN=:INDN,\n"
                       "PASSW=:PASSW, LOWNER=:LOWNER\nWHERE PRKEY=:OLD_PRKEY"));
    rows.setDeleteSQL(QStringLiteral("DELETE FROM PARTS WHERE PRKEY=:OLD_PRKEY"));
}

void Partners::selectNoPartner(fb::DataSet& rows) {
    rows.setSQL(QStringLiteral("SELECT * FROM PARTS WHERE 1=0"));
    setCardWrites(rows);
}

void Partners::selectOwner(fb::DataSet& rows) {
    rows.setSQL(QStringLiteral("SELECT * FROM PARTS WHERE PRKEY=:IPRKEY"));
    rows.setParam(QStringLiteral("IPRKEY"), kOwnerKey);
    setCardWrites(rows);
}

OwnerNames Partners::ownerNamesOf(const QString& etc) {
    return {getKeyValue(etc, kDirectorNameKey), getKeyValue(etc, kChiefAccountantNameKey),
            getKeyValue(etc, kCashierNameKey)};
}

QString Partners::withOwnerNames(const QString& etc, const OwnerNames& names) {
    QString text = setKeyValue(etc, kDirectorNameKey, names.director);
    text = setKeyValue(text, kChiefAccountantNameKey, names.chiefAccountant);
    return setKeyValue(text, kCashierNameKey, names.cashier);
}

void Partners::takeOwnerNames(fb::DataSet& row, const QString& readEtc, const OwnerNames& names,
                              const QString& changedMessage) {
    const StoredRow stored(row.transaction(), QString::fromLatin1(kPartnersTable), kOwnerKey,
                           changedMessage);
    stored.requireAsRead(row, {kEtcField});
    const QString etc = stored.text(kEtcField);
    if (ownerNamesOf(etc) != ownerNamesOf(readEtc))
        throw RowChangedElsewhere(changedMessage);
    row.edit();
    row.field(kEtcField).setAsString(withOwnerNames(etc, names));
}

QList<DictionaryEntry> Partners::listed(int type) const {
    return readEntries(m_store.database(),
                       QStringLiteral("SELECT V.PRKEY, V.LNAM FROM PARTS V\n"
                                      "WHERE V.TYP=:TYP AND (NOT LNAM LIKE '?%')\n"
                                      "ORDER BY V.LNAM"),
                       type);
}
