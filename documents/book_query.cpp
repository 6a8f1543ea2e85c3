#include "documents/book_query.h"

#include "store/data_store.h"

BookQuery::BookQuery(const QString& sql)
    : m_transaction(DataStore::instance().database(), fb::TransactionKind::ReadOnly),
      m_statement(m_transaction, sql) {}

// The transaction only read: ending it by the rollback of its destructor loses nothing.
BookQuery::~BookQuery() = default;

bool BookQuery::first() {
    m_statement.close();
    m_statement.execute();
    return m_statement.fetch();
}
