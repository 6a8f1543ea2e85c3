#include "printing/printed_document.h"

#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "store/book_kind.h"
#include "store/data_store.h"
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
    const Partners partners(store);
    document.owner = partners.card(kOwnerKey);
    document.partner = partners.card(read->partner);
    const OwnerNames names = Partners::ownerNamesOf(document.owner.extra);
    document.directorName = names.director;
    document.chiefAccountantName = names.chiefAccountant;
    document.cashierName = names.cashier;

    const ProductOptions options(store);
    document.currency = store.options().storeCurrency();
    document.oneSignature = options.oneSignature();
    document.oneSignatureText = options.oneSignatureText();
    return document;
}

} // namespace printing
