#include "printing/printed_document.h"

#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/owner_names.h"
#include "store/product_options.h"

namespace printing {

QString PrintedDocument::account() const {
    return getKeyValue(extra, QString::fromLatin1(kAccountKey));
}

QString PrintedDocument::analyticalCode() const {
    return getKeyValue(extra, QString::fromLatin1(kAnalyticsKey));
}

PrintedDocument readPrintedDocument(DataStore& store, int key) {
    const std::optional<CashDocument> read = CashDocuments(store).read(key);
    if (!read)
        throw Exception(QStringLiteral("Документ не существует!"));
    PrintedDocument document;
    static_cast<CashDocument&>(document) = *read;
    document.owner = readPartyCard(store, kOwnerKey);
    document.partner = readPartyCard(store, read->partner);
    document.directorName = getKeyValue(document.owner.extra, kDirectorNameKey);
    document.chiefAccountantName = getKeyValue(document.owner.extra, kChiefAccountantNameKey);
    document.cashierName = getKeyValue(document.owner.extra, kCashierNameKey);

    const ProductOptions options(store);
    document.currency = store.options().storeCurrency();
    document.oneSignature = options.oneSignature();
    document.oneSignatureText = options.oneSignatureText();
    return document;
}

} // namespace printing
