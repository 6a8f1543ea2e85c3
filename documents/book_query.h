#pragma once

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

#include <QString>

// One quick select on the open book, in a read-only transaction of its own that ends with the
// object: the reads of the document windows (the partner's latest documents, the latest number).
//
//   BookQuery latest(sql);
//   latest.param("TYP").setInteger(2);
//   if (latest.first())
//       number = latest.field("NUM").asString();
class BookQuery {
public:
    explicit BookQuery(const QString& sql);
    ~BookQuery();
    BookQuery(const BookQuery&) = delete;
    BookQuery& operator=(const BookQuery&) = delete;

    fb::Param param(const QString& name) { return m_statement.param(name); }
    // Runs the select and stands on its first row; false when it returns none.
    bool first();
    fb::Field field(const QString& name) const { return m_statement.field(name); }

private:
    fb::Transaction m_transaction;
    fb::Statement m_statement;
};
