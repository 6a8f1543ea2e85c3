#include "printing/simple_forms.h"

#include "printing/cash_order_forms.h"
#include "printing/payment_order_forms.h"

namespace printing {

FilledForm fillSimpleForm(SimpleForm form, const PrintedDocument& document, int copies) {
    switch (form) {
    case SimpleForm::IncomingPayment:
        return paymentOrderForm(document, true, true, copies);
    case SimpleForm::IncomingPaymentRussian:
        return paymentOrderForm(document, true, false, copies);
    case SimpleForm::PaymentOrder:
        return paymentOrderForm(document, false, true, copies);
    case SimpleForm::PaymentOrderRussian:
        return paymentOrderForm(document, false, false, copies);
    case SimpleForm::CashReceipt:
        return cashReceiptForm(document, true);
    case SimpleForm::CashReceiptRussian:
        return cashReceiptForm(document, false);
    case SimpleForm::CashDisbursement:
        return cashDisbursementForm(document, true);
    case SimpleForm::CashDisbursementRussian:
        return cashDisbursementForm(document, false);
    }
    return {};
}

} // namespace printing
