#pragma once

#include "store/cash_documents.h"
#include "store/partners.h"

#include <QString>

class DataStore;

namespace printing {

// What a simple print form or a template shows of a document: the document itself, the book's
// owner and the document's partner, the names that sign for the owner and the options of the
// book that the forms follow.
struct PrintedDocument : CashDocument {
    PartyCard owner;
    PartyCard partner;
    QString directorName;
    QString chiefAccountantName;
    QString cashierName;

    QString currency = QStringLiteral("грн."); // the book's currency name
    bool oneSignature = false;
    QString oneSignatureText;

    // The correspondent account and the analytical accounting code of a cash order: "DT" and
    // "KT" of the document's ETC text, empty when absent.
    QString account() const;
    QString analyticalCode() const;
};

// The document of OPER.PRKEY key, of any type, with the owner row (PRKEY 0) and its partner
// (LPART), read from the open book. A key without a document raises Exception "Документ не
// существует!".
PrintedDocument readPrintedDocument(DataStore& store, int key);

} // namespace printing
