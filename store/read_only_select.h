#pragma once

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

class DataStore;

// One select on the open book in a read-only transaction of its own, ended with the object: only
// read, its rollback at the end loses nothing.
//
//   ReadOnlySelect latest(store, "SELECT O.NUM FROM OPER O WHERE O.TYP=:TYP");
//   latest.param("TYP").setInteger(kIssueDocument);
//   if (latest.first())
//       number = latest.row().field("NUM").asString();
class ReadOnlySelect {
public:
    ReadOnlySelect(DataStore& store, const char* sql);

    fb::Param param(const char* name) { return m_statement.param(QString::fromLatin1(name)); }
    // The period parameters SDAT and EDAT.
    void setPeriod(DateTime from, DateTime to);

    void execute() { m_statement.execute(); }
    // Moves to the next row; false after the last one.
    bool fetch() { return m_statement.fetch(); }
    // Runs the select and stands on its first row; false when it returns none.
    bool first();
    // The current row.
    const fb::Statement& row() const { return m_statement; }

private:
    fb::Transaction m_transaction;
    fb::Statement m_statement;
};
