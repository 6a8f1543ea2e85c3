#include "store/payment_types.h"

#include "platform/firebird/data_set.h"
#include "store/data_store.h"

QString PaymentTypes::dictionarySelect(bool hiddenView) {
    return QStringLiteral("SELECT R.*, R.TYP AS RTYP FROM REASONS R\n"
                          "WHERE R.REASON CONTAINING :MASK\n"
                          "AND %1\n"
                          "ORDER BY R.REASON")
        .arg(hiddenNameCondition(QStringLiteral("R.REASON"), hiddenView));
}

void PaymentTypes::setDictionaryWrites(fb::DataSet& rows) {
    rows.setInsertSQL(QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON, LIMIT)\n"
                                     "VALUES (:PRKEY, :TYP, :REASON, :LIMIT)"));
    rows.setModifySQL(
        QStringLiteral("UPDATE REASONS SET PRKEY=:PRKEY, TYP=:TYP, REASON=:REASON, LIMIT=:LIMIT\n"
                       "WHERE PRKEY=:OLD_PRKEY"));
    rows.setDeleteSQL(QStringLiteral("DELETE FROM REASONS WHERE PRKEY=:OLD_PRKEY"));
}

void PaymentTypes::selectNoPaymentType(fb::DataSet& rows) {
    rows.setSQL(QStringLiteral("SELECT * FROM REASONS WHERE 1=0"));
    rows.setInsertSQL(
        QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON)\nVALUES (:PRKEY, :TYP, :REASON)"));
}

QList<DictionaryEntry> PaymentTypes::listed(int kind) const {
    return readEntries(m_store.database(),
                       QStringLiteral("SELECT R.PRKEY, R.REASON FROM REASONS R\n"
                                      "WHERE R.TYP=:TYP\n"
                                      "AND (NOT R.REASON LIKE '?%')\n"
                                      "ORDER BY R.REASON"),
                       kind);
}
