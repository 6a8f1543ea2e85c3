#include "store/printed_forms.h"

namespace {

PrintedForm row(BookKind book, const char* formClass, const char* heading,
                const char* printFormClass, const char* caption, SimpleForm form, int copies) {
    return {book,
            QString::fromLatin1(formClass),
            QString::fromUtf8(heading),
            QString::fromLatin1(printFormClass),
            QString::fromUtf8(caption),
            form,
            copies};
}

} // namespace

QString printedFormOptionKey(const QString& formClass, const QString& printFormClass) {
    return QStringLiteral("Print.Use_") + formClass + QLatin1Char('_') + printFormClass;
}

const QList<PrintedForm>& printedForms() {
    constexpr BookKind bank = BookKind::BankAccount;
    constexpr BookKind cash = BookKind::CashDesk;
    static const QList<PrintedForm> forms{
        row(bank, kPaymentIncomeForm, "Приход на Р/С", kPaymentIncomePrintForm,
            "Платежное поручение (Украина)", SimpleForm::IncomingPayment, 1),
        row(bank, kPaymentIncomeForm, "Приход на Р/С", kPaymentIncomeRuPrintForm,
            "Платежное поручение (Россия)", SimpleForm::IncomingPaymentRussian, 1),
        row(bank, kPaymentIssueForm, "Расход с Р/С", kPaymentIssue2PrintForm,
            "Платежное поручение - 2 экз. (Украина)", SimpleForm::PaymentOrder, 2),
        row(bank, kPaymentIssueForm, "Расход с Р/С", kPaymentIssue3PrintForm,
            "Платежное поручение - 3 экз. (Украина)", SimpleForm::PaymentOrder, 3),
        row(bank, kPaymentIssueForm, "Расход с Р/С", kPaymentIssueRu2PrintForm,
            "Платежное поручение - 2 экз. (Россия)", SimpleForm::PaymentOrderRussian, 2),
        row(bank, kPaymentIssueForm, "Расход с Р/С", kPaymentIssueRu3PrintForm,
            "Платежное поручение - 3 экз. (Россия)", SimpleForm::PaymentOrderRussian, 3),
        row(cash, kCashReceiptForm, "Приход в кассу", kCashReceiptPrintForm,
            "Приходный кассовый ордер (Украина)", SimpleForm::CashReceipt, 1),
        row(cash, kCashReceiptForm, "Приход в кассу", kCashReceiptRuPrintForm,
            "Приходный кассовый ордер (Россия)", SimpleForm::CashReceiptRussian, 1),
        row(cash, kCashDisbursementForm, "Расход из кассы", kCashDisbursementPrintForm,
            "Расходный кассовый ордер (Украина)", SimpleForm::CashDisbursement, 1),
        row(cash, kCashDisbursementForm, "Расход из кассы", kCashDisbursementRuPrintForm,
            "Расходный кассовый ордер (Россия)", SimpleForm::CashDisbursementRussian, 1),
    };
    return forms;
}
