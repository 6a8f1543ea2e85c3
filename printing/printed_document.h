#pragma once

#include "core/date_time.h"

#include <QString>
#include <optional>

class DataStore;

namespace printing {

// The requisites of a party to a document: a row of PARTS.
struct PartyCard {
    QString name;      // LNAM
    QString bank;      // INBANK
    QString bankCity;  // INCITY
    QString mfo;       // MFO, the bank's code
    QString account;   // RS
    QString code;      // ID, the enterprise's code
    QString taxNumber; // INDN
    QString city;      // CITY
};

// What a simple print form shows of a document: its row of OPER, the book's owner and the
// document's partner, the names that sign for the owner and the options of the book that the
// forms follow.
struct PrintedDocument {
    QString number; // NUM
    DateTime date = 0;
    std::optional<DateTime> date2; // DAT2, none while it is null
    double amount = 0;             // SUM1
    std::optional<double> taxPart; // SUM2, the value-added tax of a cash receipt
    QString purpose1;
    QString purpose2;
    QString purpose3;
    QString reason;         // REASON, the payment type's name
    QString account;        // the correspondent account, "DT" of the document's ETC
    QString analyticalCode; // "KT" of the document's ETC

    PartyCard owner;
    PartyCard partner;
    QString directorName;
    QString chiefAccountantName;
    QString cashierName;

    QString currency = QStringLiteral("грн."); // the book's currency name
    bool oneSignature = false;
    QString oneSignatureText;
};

// The document of OPER.PRKEY key with the owner row (PRKEY 0) and its partner (LPART), read from
// the open book. A key without a document raises Exception "Документ не существует!".
PrintedDocument readPrintedDocument(DataStore& store, int key);

} // namespace printing
