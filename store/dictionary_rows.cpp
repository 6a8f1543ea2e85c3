#include "store/dictionary_rows.h"

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

QString hiddenNameCondition(const QString& column, bool hidden) {
    const char* condition = hidden ? "(%1 LIKE '?%')" : "(NOT %1 LIKE '?%')";
    return QString::fromLatin1(condition).arg(column);
}

QList<DictionaryEntry> readEntries(fb::Attachment& database, const QString& sql, int type) {
    QList<DictionaryEntry> entries;
    fb::Transaction transaction(database, fb::TransactionKind::ReadOnly);
    fb::Statement select(transaction, sql);
    select.param(QStringLiteral("TYP")).setInteger(type);
    select.execute();
    while (select.fetch())
        entries.append({int(select.field(0).asInteger()), select.field(1).asString()});
    transaction.commit();
    return entries;
}
