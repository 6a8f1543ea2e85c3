#include "printing/printed_document.h"

#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "platform/firebird/data_set.h"
#include "store/data_store.h"
#include "store/owner_names.h"
#include "store/product_options.h"

namespace printing {

namespace {

constexpr int kOwnerKey = 0;

PartyCard readParty(fb::DataSet& parts, int key, QString* etc) {
    parts.close();
    parts.setParam("PRKEY", key);
    parts.open();
    if (parts.isEmpty())
        return {};
    if (etc)
        *etc = parts.field("ETC").asString();
    return {parts.field("LNAM").asString(),   parts.field("INBANK").asString(),
            parts.field("INCITY").asString(), parts.field("MFO").asString(),
            parts.field("RS").asString(),     parts.field("ID").asString(),
            parts.field("INDN").asString(),   parts.field("CITY").asString()};
}

void readDocumentRow(fb::DataSet& oper, PrintedDocument& document) {
    document.number = oper.field("NUM").asString();
    document.date = oper.field("DAT").asDateTime();
    if (!oper.field("DAT2").isNull())
        document.date2 = oper.field("DAT2").asDateTime();
    document.amount = oper.field("SUM1").asFloat();
    if (!oper.field("SUM2").isNull())
        document.taxPart = oper.field("SUM2").asFloat();
    document.purpose1 = oper.field("PURP1").asString();
    document.purpose2 = oper.field("PURP2").asString();
    document.purpose3 = oper.field("PURP3").asString();
    document.reason = oper.field("REASON").asString();
    const QString etc = oper.field("ETC").asString();
    document.account = getKeyValue(etc, QStringLiteral("DT"));
    document.analyticalCode = getKeyValue(etc, QStringLiteral("KT"));
}

} // namespace

PrintedDocument readPrintedDocument(DataStore& store, int key) {
    std::unique_ptr<fb::DataSet> oper = store.createQuery();
    oper->setSQL(QStringLiteral("SELECT O.* FROM OPER O WHERE O.PRKEY=:PRKEY"));
    oper->setParam("PRKEY", key);
    oper->open();
    if (oper->isEmpty())
        throw Exception(QStringLiteral("Документ не существует!"));
    PrintedDocument document;
    readDocumentRow(*oper, document);

    std::unique_ptr<fb::DataSet> parts = store.createQuery();
    parts->setSQL(QStringLiteral("SELECT * FROM PARTS WHERE PRKEY=:PRKEY"));
    QString ownerEtc;
    document.owner = readParty(*parts, kOwnerKey, &ownerEtc);
    document.partner = readParty(*parts, int(oper->field("LPART").asInteger()), nullptr);
    document.directorName = getKeyValue(ownerEtc, kDirectorNameKey);
    document.chiefAccountantName = getKeyValue(ownerEtc, kChiefAccountantNameKey);
    document.cashierName = getKeyValue(ownerEtc, kCashierNameKey);

    const ProductOptions options(store);
    document.currency = store.options().storeCurrency();
    document.oneSignature = options.oneSignature();
    document.oneSignatureText = options.oneSignatureText();
    return document;
}

} // namespace printing
