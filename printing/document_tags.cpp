#include "printing/document_tags.h"

#include "core/amount_in_words.h"
#include "core/exceptions.h"
#include "core/month_names.h"
#include "core/numbers.h"
#include "printing/form_layout.h"
#include "store/printed_forms.h"

#include <QLocale>

namespace printing {

namespace {

// A date's texts: short, full, the day, the locale's month name and the year.
QStringList dateTexts(DateTime date) {
    const QDate day = datetime::decodeDate(date);
    const QString month = QLocale().standaloneMonthName(day.month());
    return {shortDate(date), day.toString(QStringLiteral("dd ")) + month + day.toString(" yyyy"),
            QString::number(day.day()), month, QString::number(day.year())};
}

void addDateTags(QList<DocumentTag>& tags, const QString& name, std::optional<DateTime> date) {
    const QStringList suffixes = {"", "_FULL", "_DD", "_MMMM", "_YYYY"};
    const QStringList texts = date ? dateTexts(*date) : QStringList(suffixes.size());
    for (qsizetype i = 0; i < suffixes.size(); ++i)
        tags << DocumentTag{"<" + name + suffixes[i] + ">", texts[i]};
}

void addMonthTags(QList<DocumentTag>& tags, DateTime date) {
    tags << DocumentTag{QStringLiteral("<DAT_MONTH_UA>"), monthNameUA(date)}
         << DocumentTag{QStringLiteral("<DAT_MONTH2_UA>"), monthNameGenUA(date)}
         << DocumentTag{QStringLiteral("<DAT_MONTH_RU>"), monthNameRU(date)}
         << DocumentTag{QStringLiteral("<DAT_MONTH2_RU>"), monthNameGenRU(date)};
}

// The figure of an amount split at its decimal separator: the whole units and the hundredths.
void addAmountPartTags(QList<DocumentTag>& tags, const QString& name, double amount) {
    const QString figure = formatAmount(amount);
    tags << DocumentTag{"<" + name + "_L>", figure.chopped(3)}
         << DocumentTag{"<" + name + "_R>", figure.right(2)};
}

void addWordTags(QList<DocumentTag>& tags, const QString& name, double amount,
                 const QString& currency) {
    tags << DocumentTag{"<" + name + "_WORDS_UA>", amountInWordsUkrainian(amount, currency)}
         << DocumentTag{"<" + name + "_WORDS_RU>", amountInWordsRussian(amount, currency)};
}

// The amounts in figures and in words; none counts as 0 there.
void addAmountTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    const double amount = document.amount.value_or(Currency{}).toDouble();
    const double taxPart = document.taxPart.value_or(Currency{}).toDouble();
    tags << DocumentTag{QStringLiteral("<SUM1>"), amountText(document.amount)}
         << DocumentTag{QStringLiteral("<SUM2>"), amountText(document.taxPart)};
    addAmountPartTags(tags, QStringLiteral("SUM1"), amount);
    addAmountPartTags(tags, QStringLiteral("SUM2"), taxPart);
    addWordTags(tags, QStringLiteral("SUM1"), amount, document.currency);
    addWordTags(tags, QStringLiteral("SUM2"), taxPart, document.currency);
}

void addOwnTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    tags << DocumentTag{QStringLiteral("<CONST_CURR>"), document.currency}
         << DocumentTag{QStringLiteral("<NUM>"), document.number};
    // A document without a date shows the zero date, as its forms do.
    const DateTime date = document.date.value_or(0);
    addDateTags(tags, QStringLiteral("DAT"), date);
    // The month names in both languages are given for the document's date alone.
    addMonthTags(tags, date);
    addDateTags(tags, QStringLiteral("DAT2"), document.date2);
    tags << DocumentTag{QStringLiteral("<PURP1>"), document.purposes[0]}
         << DocumentTag{QStringLiteral("<PURP2>"), document.purposes[1]}
         << DocumentTag{QStringLiteral("<PURP3>"), document.purposes[2]}
         << DocumentTag{QStringLiteral("<REASON>"), document.paymentType};
    addAmountTags(tags, document);
}

void addPartyTags(QList<DocumentTag>& tags, const QString& prefix, const PartyCard& party) {
    tags << DocumentTag{"<" + prefix + "PART>", party.name}
         << DocumentTag{"<" + prefix + "CITY>", party.city}
         << DocumentTag{"<" + prefix + "INCITY>", party.bankCity}
         << DocumentTag{"<" + prefix + "INBANK>", party.bank}
         << DocumentTag{"<" + prefix + "MFO>", party.mfo}
         << DocumentTag{"<" + prefix + "RS>", party.account}
         << DocumentTag{"<" + prefix + "OKPO>", party.code}
         << DocumentTag{"<" + prefix + "INDN>", party.taxNumber};
}

void addAccountTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    tags << DocumentTag{QStringLiteral("<DT>"), document.account()}
         << DocumentTag{QStringLiteral("<KT>"), document.analyticalCode()};
}

void addPaymentTags(QList<DocumentTag>& tags, const PrintedDocument& document, bool incoming) {
    const PartyCard& payer = incoming ? document.partner : document.owner;
    const PartyCard& recipient = incoming ? document.owner : document.partner;
    addPartyTags(tags, QStringLiteral("PLAT_"), payer);
    addPartyTags(tags, QStringLiteral("POL_"), recipient);
}

void addCashReceiptTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    addAccountTags(tags, document);
    addPaymentTags(tags, document, true);
    tags << DocumentTag{QStringLiteral("<POL_GLBUH>"), document.chiefAccountantName}
         << DocumentTag{QStringLiteral("<POL_KASSIR>"), document.cashierName};
}

void addCashDisbursementTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    addAccountTags(tags, document);
    addPartyTags(tags, QStringLiteral("PLAT_"), document.owner);
    tags << DocumentTag{QStringLiteral("<PLAT_DIR>"), document.directorName}
         << DocumentTag{QStringLiteral("<PLAT_GLBUH>"), document.chiefAccountantName}
         << DocumentTag{QStringLiteral("<PLAT_KASSIR>"), document.cashierName};
    addPartyTags(tags, QStringLiteral("POL_"), document.partner);
}

} // namespace

TemplateDocument templateDocumentOf(const QString& formClass) {
    if (formClass == QLatin1String(kPaymentIncomeForm))
        return TemplateDocument::IncomingPayment;
    if (formClass == QLatin1String(kPaymentIssueForm))
        return TemplateDocument::PaymentOrder;
    if (formClass == QLatin1String(kCashReceiptForm))
        return TemplateDocument::CashReceipt;
    if (formClass == QLatin1String(kCashDisbursementForm))
        return TemplateDocument::CashDisbursement;
    throw Exception(QStringLiteral("Печатная форма не найдена"));
}

int templateDocumentType(TemplateDocument document) {
    return document == TemplateDocument::IncomingPayment ||
                   document == TemplateDocument::CashReceipt
               ? 1
               : 2;
}

QList<DocumentTag> documentTags(const PrintedDocument& document, TemplateDocument kind) {
    QList<DocumentTag> tags;
    addOwnTags(tags, document);
    switch (kind) {
    case TemplateDocument::IncomingPayment:
        addPaymentTags(tags, document, true);
        break;
    case TemplateDocument::PaymentOrder:
        addPaymentTags(tags, document, false);
        break;
    case TemplateDocument::CashReceipt:
        addCashReceiptTags(tags, document);
        break;
    case TemplateDocument::CashDisbursement:
        addCashDisbursementTags(tags, document);
        break;
    }
    return tags;
}

} // namespace printing
