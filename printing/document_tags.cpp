#include "printing/document_tags.h"

#include "core/amount_in_words.h"
#include "core/month_names.h"
#include "core/numbers.h"

#include <QLocale>

namespace printing {

namespace {

QString shortDateText(DateTime date) {
    return datetime::decodeDate(date).toString(QStringLiteral("dd.MM.yyyy"));
}

QString longDateText(DateTime date) {
    const QDate day = datetime::decodeDate(date);
    return day.toString(QStringLiteral("dd ")) + QLocale().standaloneMonthName(day.month()) +
           day.toString(QStringLiteral(" yyyy"));
}

void addDateTags(QList<DocumentTag>& tags, const QString& name, std::optional<DateTime> date) {
    const auto text = [&date](QString (*format)(DateTime)) {
        return date ? format(*date) : QString();
    };
    const QDate day = date ? datetime::decodeDate(*date) : QDate();
    tags << DocumentTag{"<" + name + ">", text(shortDateText)}
         << DocumentTag{"<" + name + "_FULL>", text(longDateText)}
         << DocumentTag{"<" + name + "_DD>", date ? QString::number(day.day()) : QString()}
         << DocumentTag{"<" + name + "_MMMM>",
                        date ? QLocale().standaloneMonthName(day.month()) : QString()}
         << DocumentTag{"<" + name + "_YYYY>", date ? QString::number(day.year()) : QString()};
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

void addAmountTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    const double taxPart = document.taxPart.value_or(0);
    tags << DocumentTag{QStringLiteral("<SUM1>"), formatAmount(document.amount)}
         << DocumentTag{QStringLiteral("<SUM2>"),
                        document.taxPart ? formatAmount(*document.taxPart) : QString()};
    addAmountPartTags(tags, QStringLiteral("SUM1"), document.amount);
    addAmountPartTags(tags, QStringLiteral("SUM2"), taxPart);
    addWordTags(tags, QStringLiteral("SUM1"), document.amount, document.currency);
    addWordTags(tags, QStringLiteral("SUM2"), taxPart, document.currency);
}

void addOwnTags(QList<DocumentTag>& tags, const PrintedDocument& document) {
    tags << DocumentTag{QStringLiteral("<CONST_CURR>"), document.currency}
         << DocumentTag{QStringLiteral("<NUM>"), document.number};
    addDateTags(tags, QStringLiteral("DAT"), document.date);
    // The month names in both languages are given for the document's date alone.
    addMonthTags(tags, document.date);
    addDateTags(tags, QStringLiteral("DAT2"), document.date2);
    tags << DocumentTag{QStringLiteral("<PURP1>"), document.purpose1}
         << DocumentTag{QStringLiteral("<PURP2>"), document.purpose2}
         << DocumentTag{QStringLiteral("<PURP3>"), document.purpose3}
         << DocumentTag{QStringLiteral("<REASON>"), document.reason};
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
    tags << DocumentTag{QStringLiteral("<DT>"), document.account}
         << DocumentTag{QStringLiteral("<KT>"), document.analyticalCode};
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
