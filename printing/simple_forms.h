#pragma once

#include "printing/printed_document.h"
#include "printing/report.h"

namespace printing {

// The eight simple print forms: the payment order of an incoming payment and of an issue, the
// cash receipt order and the cash disbursement order, each in its Ukrainian and its Russian
// layout.
enum class SimpleForm {
    IncomingPayment,
    IncomingPaymentRussian,
    PaymentOrder,
    PaymentOrderRussian,
    CashReceipt,
    CashReceiptRussian,
    CashDisbursement,
    CashDisbursementRussian,
};

// A form filled in with a document, ready to print.
struct FilledForm {
    Report report;
    ReportData data;
};

// The form filled in with document. A payment order prints its whole form copies times on one
// run; a cash order prints once.
FilledForm fillSimpleForm(SimpleForm form, const PrintedDocument& document, int copies = 1);

} // namespace printing
