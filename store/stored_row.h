#pragma once

#include "core/exceptions.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace fb {
class DataSet;
class Transaction;
} // namespace fb

// A save refused because another window or another copy of the program changed or deleted the
// row since it was read here, or is changing it now; the message is the saving window's own.
class RowChangedElsewhere : public Exception {
public:
    using Exception::Exception;
};

// A save refused because another window or copy of the program is writing the row at this very
// moment (its transaction holds the row): nothing was written, and the save may be tried again
// once the other one is done.
class RowLockedElsewhere : public Exception {
public:
    RowLockedElsewhere();
};

// The row of a table as the book holds it at the moment of a save, locked for the saving
// transaction until that transaction ends, so that no other copy changes it in between. A save
// that writes over a row compares it first with the row as it was read, and writes nothing
// when they differ: what another window or another copy of the program stored meanwhile is
// never overwritten with old values.
//
//   StoredRow(row.transaction(), "PARTS", key, message).requireAsRead(row);
//   store.postAndCommit(row); // the commit ends the lock
class StoredRow {
public:
    // Locks and reads the row of table under the key PRKEY in transaction. RowChangedElsewhere
    // with changedMessage when there is no such row; RowLockedElsewhere when another
    // transaction holds it.
    StoredRow(fb::Transaction& transaction, const QString& table, int key,
              const QString& changedMessage);

    // A column's value as the book holds it (the form of fb::DataSet's fields); null when the
    // table has no such column.
    QVariant value(const QString& column) const;
    // A column's value as text (a text blob decoded from Windows-1251).
    QString text(const QString& column) const;

    // RowChangedElsewhere unless every column of the row, but those of unchecked, still holds
    // what the current row of dataSet read (its values before any change made here). A column
    // the dataset did not read is not compared: the dataset cannot write it either.
    void requireAsRead(fb::DataSet& dataSet, const QStringList& unchecked = {}) const;

private:
    QString m_message;
    QHash<QString, QVariant> m_values; // by upper-case column name
    QHash<QString, QString> m_texts;
};

// The check of a save that writes over a row it read earlier, before anything is written: the
// row of key in table is locked for the saving transaction (until that ends) and must satisfy
// isAsRead, the comparison with the row as it was read. A row that another window or another
// copy of the program changed or deleted since, or is writing at this moment, raises
// RowChangedElsewhere with changedMessage.
//
//   requireRowAsRead(transaction, "OPER", asRead.key, message,
//                    [&](const StoredRow& stored) { return documentOf(stored) == asRead; });
//   ... write, commit (the commit ends the lock)
void requireRowAsRead(fb::Transaction& transaction, const char* table, int key,
                      const QString& changedMessage,
                      const std::function<bool(const StoredRow&)>& isAsRead);
