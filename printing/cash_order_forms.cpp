#include "printing/cash_order_forms.h"

#include "printing/form_layout.h"

namespace printing {

namespace {

constexpr double kWidth = 190;
constexpr double kOrderWidth = 125;
constexpr double kReceiptLeft = 133;
constexpr double kReceiptWidth = kWidth - kReceiptLeft;

// The fixed texts of the cash orders in one language.
struct CashOrderTexts {
    QString receiptTitle;
    QString receiptPartTitle;
    QString receiptPartOf;
    QString disbursementTitle;
    QString number;
    QString account;
    QString analyticalCode;
    QString amount;
    QString receivedFrom;
    QString payTo;
    QString basis;
    QString taxPart;
    QString attachment;
    QString director;
    QString chiefAccountant;
    QString cashierReceived;
    QString cashier;
    QString cashierPaid;
    QString received;
    QString recipientSignature;
    QString seal;
};

const CashOrderTexts& ukrainianTexts() {
    static const CashOrderTexts texts{QStringLiteral("Прибутковий касовий ордер №"),
                                      QStringLiteral("Квитанція"),
                                      QStringLiteral("до прибуткового касового ордера №"),
                                      QStringLiteral("Видатковий касовий ордер"),
                                      QStringLiteral("№"),
                                      QStringLiteral("Кореспондуючий рахунок, субрахунок"),
                                      QStringLiteral("Код аналітичного рахунку"),
                                      QStringLiteral("Сума"),
                                      QStringLiteral("Прийнято від"),
                                      QStringLiteral("Видати"),
                                      QStringLiteral("Підстава:"),
                                      QStringLiteral("у тому числі ПДВ"),
                                      QStringLiteral("Додаток:"),
                                      QStringLiteral("Керівник"),
                                      QStringLiteral("Головний бухгалтер"),
                                      QStringLiteral("Одержав касир"),
                                      QStringLiteral("Касир"),
                                      QStringLiteral("Видав касир"),
                                      QStringLiteral("Одержав"),
                                      QStringLiteral("Підпис одержувача"),
                                      QStringLiteral("М.П.")};
    return texts;
}

const CashOrderTexts& russianTexts() {
    static const CashOrderTexts texts{QStringLiteral("ПРИХОДНЫЙ  КАССОВЫЙ  ОРДЕР  №"),
                                      QStringLiteral("КВИТАНЦИЯ"),
                                      QStringLiteral("к приходному кассовому ордеру №"),
                                      QStringLiteral("РАСХОДНЫЙ  КАССОВЫЙ  ОРДЕР  №"),
                                      QString(),
                                      QStringLiteral("Корреспондирующий счет, субсчет"),
                                      QStringLiteral("Код аналитического учета"),
                                      QStringLiteral("Сумма"),
                                      QStringLiteral("Принято от"),
                                      QStringLiteral("Выдать"),
                                      QStringLiteral("Основание:"),
                                      QStringLiteral("в том числе НДС"),
                                      QStringLiteral("Приложение:"),
                                      QStringLiteral("Руководитель"),
                                      QStringLiteral("Главный бухгалтер"),
                                      QStringLiteral("Получил кассир"),
                                      QStringLiteral("Кассир"),
                                      QStringLiteral("Выдал кассир"),
                                      QStringLiteral("Получил"),
                                      QStringLiteral("Подпись получателя"),
                                      QStringLiteral("М.П.")};
    return texts;
}

// The owner's code line: the enterprise code in the Ukrainian layout, the tax number after
// "ИНН" in the Russian one.
QString ownerCode(const PrintedDocument& document, bool ukrainian) {
    return ukrainian ? QStringLiteral("Ідентифікаційний код  ") + document.owner.code
                     : QStringLiteral("ИНН  ") + document.owner.taxNumber;
}

// The date of a receipt: "від 5 травня 2010р." or "от 5 мая 2010г.".
QString receiptDate(const PrintedDocument& document, bool ukrainian) {
    return ukrainian ? QStringLiteral("від ") + ukrainianLongDate(document.date.value_or(0)) + "р."
                     : QStringLiteral("от ") + russianLongDate(document.date.value_or(0)) + "г.";
}

// The table of the accounts and the amount, with its captions over it.
void layAccounts(FormLayout& layout, double y, double width, const PrintedDocument& document,
                 const CashOrderTexts& texts) {
    const double column = width / 3;
    const QString captions[] = {texts.account, texts.analyticalCode, texts.amount};
    const QString values[] = {document.account(), document.analyticalCode(),
                              amountText(document.amount)};
    for (int i = 0; i < 3; ++i) {
        layout.box({i * column, y, column, 10});
        layout.captionLines({i * column + 1, y + 1, column - 2, 9}, captions[i]);
        layout.value({i * column, y + 10, column, 6}, values[i], true, HorizontalAlign::Center);
    }
}

// A caption with its value on the rest of the line.
void captioned(FormLayout& layout, double x, double y, double width, const QString& caption,
               const QString& text, double captionWidth = 30) {
    layout.caption({x, y, captionWidth, 5}, caption);
    layout.value({x + captionWidth, y, width - captionWidth, 5}, text);
}

void layReceiptOrder(FormLayout& layout, const PrintedDocument& document, bool ukrainian,
                     const CashOrderTexts& texts) {
    const double w = kOrderWidth;
    layout.value({0, 0, w, 5}, document.owner.name);
    layout.value({0, 6, w, 5}, ownerCode(document, ukrainian));
    layout.heading({0, 14, w - 30, 7}, texts.receiptTitle, HorizontalAlign::Right);
    layout.heading({w - 28, 14, 28, 7}, document.number, HorizontalAlign::Left);
    layout.value({0, 22, w, 5},
                 ukrainian ? receiptDate(document, true) : shortDate(document.date.value_or(0)),
                 false, HorizontalAlign::Center);
    layAccounts(layout, 30, w, document, texts);
    captioned(layout, 0, 50, w, texts.receivedFrom, document.partner.name);
    layout.value({0, 56, w, 5}, document.purposes[0]);
    captioned(layout, 0, 62, w, texts.basis, document.purposes[1]);
    layout.caption({0, 70, 30, 5}, texts.amount);
    layout.lines({30, 70, w - 30, 10}, amountWords(document, ukrainian));
    captioned(layout, 0, 82, w, texts.taxPart, amountText(document.taxPart), 40);
    captioned(layout, 0, 88, w, texts.attachment, document.purposes[2]);
    captioned(layout, 0, 98, w, texts.chiefAccountant, document.chiefAccountantName, 75);
    layout.rule(35, 103, 35);
    captioned(layout, 0, 106, w, texts.cashierReceived, document.cashierName, 75);
    layout.rule(35, 111, 35);
}

void layReceipt(FormLayout& layout, const PrintedDocument& document, bool ukrainian,
                const CashOrderTexts& texts) {
    const double x = kReceiptLeft;
    const double w = kReceiptWidth;
    layout.value({x, 0, w, 5}, document.owner.name);
    if (!ukrainian)
        layout.value({x, 5, w, 5}, ownerCode(document, false));
    layout.heading({x, 10, w, 6}, texts.receiptPartTitle);
    layout.caption({x, 16, w, 5}, texts.receiptPartOf + QStringLiteral(" ") + document.number,
                   HorizontalAlign::Center);
    layout.value({x, 21, w, 5}, receiptDate(document, ukrainian), false, HorizontalAlign::Center);
    layout.caption({x, 28, w, 5}, texts.receivedFrom);
    layout.value({x, 33, w, 5}, document.partner.name);
    layout.value({x, 39, w, 5}, document.purposes[0]);
    captioned(layout, x, 45, w, texts.basis, document.purposes[1], 15);
    captioned(layout, x, 53, w, texts.amount, amountText(document.amount), 15);
    layout.lines({x, 59, w, 15}, amountWords(document, ukrainian));
    captioned(layout, x, 76, w, texts.taxPart, amountText(document.taxPart), 28);
    layout.caption({x, 84, w, 5}, texts.seal);
    captioned(layout, x, 92, w, texts.chiefAccountant, document.chiefAccountantName, 28);
    captioned(layout, x, 100, w, texts.cashier, document.cashierName, 28);
}

void layDisbursement(FormLayout& layout, const PrintedDocument& document, bool ukrainian,
                     const CashOrderTexts& texts) {
    layout.value({0, 0, 120, 5}, document.owner.name);
    layout.value({0, 6, 120, 5}, ownerCode(document, ukrainian));
    layout.heading({0, 14, 130, 7}, texts.disbursementTitle, HorizontalAlign::Right);
    layout.heading({132, 14, 58, 7}, texts.number + (ukrainian ? " " : "") + document.number,
                   HorizontalAlign::Left);
    layout.value({0, 22, kWidth, 5}, orderDate(document.date.value_or(0), ukrainian), false,
                 HorizontalAlign::Center);
    layAccounts(layout, 30, kWidth, document, texts);
    captioned(layout, 0, 52, kWidth, texts.payTo, document.partner.name);
    layout.caption({0, 59, 30, 5}, texts.basis);
    layout.lines({30, 59, kWidth - 30, 12}, document.purposes[0] + "\n" + document.purposes[1]);
    layout.caption({0, 73, 30, 5}, texts.amount);
    layout.lines({30, 73, kWidth - 30, 10}, amountWords(document, ukrainian));
    captioned(layout, 0, 85, kWidth, texts.attachment, document.purposes[2]);
    captioned(layout, 0, 94, 95, texts.director, document.directorName);
    captioned(layout, 95, 94, 95, texts.chiefAccountant, document.chiefAccountantName, 35);
    layout.caption({0, 103, 30, 5}, texts.received);
    layout.rule(30, 108, 160);
    layout.caption({0, 111, 60, 5}, texts.recipientSignature);
    layout.rule(30, 116, 50);
    captioned(layout, 0, 120, 95, texts.cashierPaid, document.cashierName);
}

} // namespace

FilledForm cashReceiptForm(const PrintedDocument& document, bool ukrainian) {
    const CashOrderTexts& texts = ukrainian ? ukrainianTexts() : russianTexts();
    FilledForm form;
    form.report.detail.height = 120;
    FormLayout layout(form.report.detail);
    layReceiptOrder(layout, document, ukrainian, texts);
    layout.verticalRule(kOrderWidth + 4, 0, 115);
    layReceipt(layout, document, ukrainian, texts);
    return form;
}

FilledForm cashDisbursementForm(const PrintedDocument& document, bool ukrainian) {
    FilledForm form;
    form.report.detail.height = 130;
    FormLayout layout(form.report.detail);
    layDisbursement(layout, document, ukrainian, ukrainian ? ukrainianTexts() : russianTexts());
    return form;
}

} // namespace printing
