#include "store/read_only_select.h"

#include "store/data_store.h"

ReadOnlySelect::ReadOnlySelect(DataStore& store, const char* sql)
    : m_transaction(store.database(), fb::TransactionKind::ReadOnly),
      m_statement(m_transaction, QString::fromLatin1(sql)) {}

void ReadOnlySelect::setPeriod(DateTime from, DateTime to) {
    param("SDAT").setDateTime(from);
    param("EDAT").setDateTime(to);
}

bool ReadOnlySelect::first() {
    execute();
    return fetch();
}
