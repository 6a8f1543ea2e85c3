#include "printing/payment_order_forms.h"
#include "printing/form_layout.h"

namespace printing {

namespace {

constexpr double kWidth = 190;
constexpr double kBandHeight = 138;

// The fixed texts of a payment order in one language.
struct PaymentOrderTexts {
    QString title;
    QString payer;
    QString payerBank;
    QString recipient;
    QString recipientBank;
    QString code;
    QString bankCode;
    QString debit;
    QString credit;
    QString amount;
    QString amountInWords;
    QString purpose;
    QString signatures;
    QString seal;
    QString bankMark;
    QString cityMark;
};

const PaymentOrderTexts& ukrainianTexts() {
    static const PaymentOrderTexts texts{
        QStringLiteral("ПЛАТІЖНЕ ДОРУЧЕННЯ №"),
        QStringLiteral("Платник"),
        QStringLiteral("Банк платника"),
        QStringLiteral("Одержувач"),
        QStringLiteral("Банк одержувача"),
        QStringLiteral("Код"),
        QStringLiteral("Код банку"),
        QStringLiteral("ДЕБЕТ рах. N"),
        QStringLiteral("КРЕДИТ рах. N"),
        QStringLiteral("СУМА"),
        QStringLiteral("Сума словами:"),
        QStringLiteral("Призначення платежу:"),
        QStringLiteral("Підписи"),
        QStringLiteral("М.П."),
        QStringLiteral("Проведено банком \"___\" ____________ 20__ р."),
        QStringLiteral("м.")};
    return texts;
}

const PaymentOrderTexts& russianTexts() {
    static const PaymentOrderTexts texts{
        QStringLiteral("ПЛАТЕЖНОЕ  ПОРУЧЕНИЕ  №"),
        QStringLiteral("Плательщик"),
        QStringLiteral("Банк плательщика"),
        QStringLiteral("Получатель"),
        QStringLiteral("Банк получателя"),
        QStringLiteral("ИНН"),
        QStringLiteral("МФО"),
        QStringLiteral("Сч. №"),
        QStringLiteral("Сч. №"),
        QStringLiteral("Сумма"),
        QStringLiteral("Сумма прописью:"),
        QStringLiteral("Назначение платежа:"),
        QStringLiteral("Подписи"),
        QStringLiteral("М.П."),
        QStringLiteral("Проведено банком \"___\" ____________ 20__ г."),
        QStringLiteral("г.")};
    return texts;
}

// One side of the order: its name and code, then its bank, bank code and account.
void layParty(FormLayout& layout, double y, const QString& role, const QString& bankRole,
              const QString& accountCaption, const PartyCard& party, const QString& code,
              const PaymentOrderTexts& texts) {
    layout.caption({0, y, 120, 5}, role);
    layout.value({0, y + 5, 120, 6}, party.name, true);
    layout.caption({125, y, 65, 5}, texts.code);
    layout.value({125, y + 5, 65, 6}, code, true);
    layout.caption({0, y + 13, 95, 5}, bankRole);
    layout.value({0, y + 18, 95, 6}, bankText(party, texts.cityMark), true);
    layout.caption({100, y + 13, 30, 5}, texts.bankCode);
    layout.value({100, y + 18, 30, 6}, party.mfo, true);
    layout.caption({135, y + 13, 55, 5}, accountCaption);
    layout.value({135, y + 18, 55, 6}, party.account, true);
}

// The signatures: the first line always, the second unless one signature is enough, when the
// label beside them says so.
void laySignatures(FormLayout& layout, const PrintedDocument& document, bool ukrainian,
                   const PaymentOrderTexts& texts) {
    const double y = 114;
    layout.caption({0, y + 4, 20, 6}, texts.seal);
    layout.caption({25, y, 25, 5}, texts.signatures);
    layout.rule(50, y + 6, 50);
    const bool oneSignature = ukrainian && document.oneSignature;
    if (!oneSignature)
        layout.rule(50, y + 14, 50, QStringLiteral("secondSignature"));
    if (ukrainian)
        layout.value({105, y, 85, 6}, oneSignature ? document.oneSignatureText : QString());
    layout.caption({105, y + 10, 85, 5}, texts.bankMark, HorizontalAlign::Right);
}

void layOrder(Band& band, const PrintedDocument& document, bool incoming, bool ukrainian) {
    const PaymentOrderTexts& texts = ukrainian ? ukrainianTexts() : russianTexts();
    const PartyCard& payer = incoming ? document.partner : document.owner;
    const PartyCard& recipient = incoming ? document.owner : document.partner;
    FormLayout layout(band);
    layout.heading({10, 2, 105, 7}, texts.title, HorizontalAlign::Right);
    layout.heading({117, 2, 50, 7}, document.number, HorizontalAlign::Left);
    layout.value({40, 10, 110, 6}, orderDate(document.date.value_or(0), ukrainian), false,
                 HorizontalAlign::Center);
    layParty(layout, 18, texts.payer, texts.payerBank, texts.debit, payer,
             ukrainian ? payer.code : payer.taxNumber, texts);
    layParty(layout, 45, texts.recipient, texts.recipientBank, texts.credit, recipient,
             ukrainian ? recipient.code : recipient.taxNumber, texts);
    layout.caption({0, 72, 130, 5}, texts.amountInWords);
    layout.lines({0, 77, 130, 12}, amountWords(document, ukrainian));
    layout.caption({135, 72, 55, 5}, texts.amount);
    layout.value({135, 77, 55, 7}, amountText(document.amount), true, HorizontalAlign::Right);
    layout.caption({0, 91, kWidth, 5}, texts.purpose);
    layout.value({0, 96, kWidth, 5}, document.purposes[0]);
    layout.value({0, 101, kWidth, 5}, document.purposes[1]);
    layout.value({0, 106, kWidth, 5}, document.purposes[2]);
    laySignatures(layout, document, ukrainian, texts);
    layout.rule(0, kBandHeight - 2, kWidth);
}

} // namespace

FilledForm paymentOrderForm(const PrintedDocument& document, bool incoming, bool ukrainian,
                            int copies) {
    FilledForm form;
    form.report.detail.height = kBandHeight;
    form.report.detailCount = copies;
    layOrder(form.report.detail, document, incoming, ukrainian);
    return form;
}

} // namespace printing
