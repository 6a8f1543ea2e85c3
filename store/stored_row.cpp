#include "store/stored_row.h"

#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "platform/firebird/value_text.h"

namespace {

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a == b;
}

} // namespace

RowLockedElsewhere::RowLockedElsewhere()
    : Exception(QStringLiteral("Запись сейчас сохраняется в другом окне или другим "
                               "пользователем. Ваши изменения не сохранены: повторите "
                               "сохранение чуть позже.")) {}

StoredRow::StoredRow(fb::Transaction& transaction, const QString& table, int key,
                     const QString& changedMessage)
    : m_message(changedMessage) {
    try {
        // The table is the program's constant, never user text.
        fb::Statement stored(
            transaction,
            QStringLiteral("SELECT * FROM %1 WHERE PRKEY=:PRKEY WITH LOCK").arg(table));
        stored.param(QStringLiteral("PRKEY")).setInteger(key);
        stored.execute();
        if (!stored.fetch())
            throw RowChangedElsewhere(m_message);
        const QStringList names = stored.fieldNames();
        QList<fb::FieldType> types;
        for (int i = 0; i < stored.fieldCount(); ++i)
            types << stored.field(i).type();
        const std::vector<QVariant> values = stored.takeRow();
        stored.close();
        for (int i = 0; i < names.size(); ++i) {
            const QString name = names[i].toUpper();
            m_values.insert(name, values[i]);
            m_texts.insert(name,
                           fb::value::toString(values[i], types[i], fb::value::DecimalPoint::Dot));
        }
    } catch (const fb::Error& e) {
        if (e.isLockConflict())
            throw RowLockedElsewhere();
        throw;
    }
}

QVariant StoredRow::value(const QString& column) const {
    return m_values.value(column.toUpper());
}

QString StoredRow::text(const QString& column) const {
    return m_texts.value(column.toUpper());
}

void StoredRow::requireAsRead(fb::DataSet& dataSet, const QStringList& unchecked) const {
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        if (unchecked.contains(it.key(), Qt::CaseInsensitive) || dataSet.fieldIndex(it.key()) < 0)
            continue;
        if (!sameValue(dataSet.field(it.key()).oldValue(), it.value()))
            throw RowChangedElsewhere(m_message);
    }
}

void requireRowAsRead(fb::Transaction& transaction, const char* table, int key,
                      const QString& changedMessage,
                      const std::function<bool(const StoredRow&)>& isAsRead) {
    try {
        if (!isAsRead(StoredRow(transaction, QString::fromLatin1(table), key, changedMessage)))
            throw RowChangedElsewhere(changedMessage);
    } catch (const RowLockedElsewhere&) {
        throw RowChangedElsewhere(changedMessage);
    }
}
