#pragma once

#include "store/book_kind.h"

#include <QList>
#include <QString>

// The class names of the document windows, as the book's print options name them; stored data.
inline constexpr char kPaymentIncomeForm[] = "TfrmPaymentIncome";
inline constexpr char kPaymentIssueForm[] = "TfrmPaymentIssue";
inline constexpr char kCashReceiptForm[] = "TfrmKassOrderPrih";
inline constexpr char kCashDisbursementForm[] = "TfrmKassOrderRash";

// The names of the simple print forms in the same options: the report's class name, for a
// payment order of an issue followed by the number of copies; stored data.
inline constexpr char kPaymentIncomePrintForm[] = "TqrepPaymentIncome";
inline constexpr char kPaymentIncomeRuPrintForm[] = "TqrepPaymentIncome_ru";
inline constexpr char kPaymentIssue2PrintForm[] = "TqrepPaymentIssue2";
inline constexpr char kPaymentIssue3PrintForm[] = "TqrepPaymentIssue3";
inline constexpr char kPaymentIssueRu2PrintForm[] = "TqrepPaymentIssue_ru2";
inline constexpr char kPaymentIssueRu3PrintForm[] = "TqrepPaymentIssue_ru3";
inline constexpr char kCashReceiptPrintForm[] = "TqrepPrihKassOrd";
inline constexpr char kCashReceiptRuPrintForm[] = "TqrepPrihKassOrd_ru";
inline constexpr char kCashDisbursementPrintForm[] = "TqrepRashKassOrd";
inline constexpr char kCashDisbursementRuPrintForm[] = "TqrepRashKassOrd_ru";

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

// One simple print form that a document window offers: the one table that the options page
// lists and the print command follows.
struct PrintedForm {
    BookKind book;          // the kind of book whose documents it prints
    QString formClass;      // the document window's class
    QString heading;        // the options page's heading over the forms of that window
    QString printFormClass; // the form's name
    QString caption;        // what the options page and the print-mode dialog show
    SimpleForm form;        // the layout it fills
    int copies;             // the copies of the layout printed on one run
};

// Every simple print form, grouped by book and by document window in the order they are
// offered.
const QList<PrintedForm>& printedForms();

// The option that switches the form printFormClass on for the window formClass: "Print.Use_" +
// the window's class + "_" + the form's name.
QString printedFormOptionKey(const QString& formClass, const QString& printFormClass);
