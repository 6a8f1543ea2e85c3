#include "store/party_card.h"

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"

PartyCard readPartyCard(DataStore& store, int key) {
    fb::Transaction transaction(store.database(), fb::TransactionKind::ReadOnly);
    fb::Statement row(transaction, QStringLiteral("SELECT * FROM PARTS WHERE PRKEY=:PRKEY"));
    row.param(QStringLiteral("PRKEY")).setInteger(key);
    row.execute();
    if (!row.fetch())
        return {};
    auto text = [&](const char* column) { return row.field(column).asString(); };
    return {text("LNAM"), text("INBANK"), text("INCITY"), text("MFO"), text("RS"),
            text("ID"),   text("INDN"),   text("CITY"),   text("ETC")};
}
