#include "tests/support/shell/book_rows.h"

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"

namespace {

int addNamedRow(const QString& table, const QString& sql, int type, const QString& name) {
    const int key = DataStore::instance().newKey(table);
    runOnBook(sql, [&](fb::Statement& insert) {
        insert.param(QStringLiteral("K")).setInteger(key);
        insert.param(QStringLiteral("T")).setInteger(type);
        insert.param(QStringLiteral("N")).setString(name);
    });
    return key;
}

} // namespace

void runOnBook(const QString& sql, const std::function<void(fb::Statement&)>& bind) {
    fb::Transaction transaction(DataStore::instance().database());
    fb::Statement statement(transaction, sql);
    bind(statement);
    statement.execute();
    transaction.commit();
}

int addPartnerRow(int type, const QString& name) {
    return addNamedRow(QStringLiteral("PARTS"),
                       QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (:K, :T, :N)"),
                       type, name);
}

int addPaymentTypeRow(int type, const QString& name) {
    return addNamedRow(
        QStringLiteral("REASONS"),
        QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (:K, :T, :N)"), type, name);
}

void setUserRights(const QString& rights) {
    runOnBook(QStringLiteral("UPDATE USERS SET DATA2=:R WHERE PRKEY=:K"), [&](fb::Statement& q) {
        q.param(QStringLiteral("R")).setString(rights);
        q.param(QStringLiteral("K")).setInteger(DataStore::instance().userKey());
    });
}
