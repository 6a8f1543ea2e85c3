#pragma once

#include "printing/printed_document.h"

#include <QList>
#include <QString>

namespace printing {

// The documents printed through editable templates; each names its payer and its recipient.
enum class TemplateDocument { IncomingPayment, PaymentOrder, CashReceipt, CashDisbursement };

// The document that a document window's class prints ("TfrmPaymentIncome", ...); Exception
// "Печатная форма не найдена" for another class.
TemplateDocument templateDocumentOf(const QString& formClass);
// OPER.TYP of the document, which is PRINTFORMS.LTYP of its templates: 1 income, 2 issue.
int templateDocumentType(TemplateDocument document);

struct DocumentTag {
    QString tag; // "<NUM>", ...
    QString value;
    friend bool operator==(const DocumentTag&, const DocumentTag&) = default;
};

// The tags of a template for document and their values, in the order they are replaced: the
// currency, the document's own fields, then the payer ("<PLAT_…>") and the recipient ("<POL_…>")
// with the cash orders' accounts and signers. The incoming payment and the cash receipt are paid
// by the partner to the owner, the payment order and the cash disbursement by the owner to the
// partner. A null date gives empty text in all of its tags.
QList<DocumentTag> documentTags(const PrintedDocument& document, TemplateDocument kind);

} // namespace printing
