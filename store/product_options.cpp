#include "store/product_options.h"

#include "core/exceptions.h"
#include "platform/office.h"
#include "store/book_kind.h"
#include "store/data_store.h"

namespace {

SimplePrintFormRow heading(const QString& caption) {
    return {SimplePrintFormRow::Kind::Heading, caption, QString(), QString()};
}

SimplePrintFormRow form(const QString& caption, const char* formClass, const char* printFormClass) {
    return {SimplePrintFormRow::Kind::Form, caption, QString::fromLatin1(formClass),
            QString::fromLatin1(printFormClass)};
}

const QList<SimplePrintFormRow>& bankAccountForms() {
    static const QList<SimplePrintFormRow> rows{
        heading(QStringLiteral("Приход на Р/С")),
        form(QStringLiteral("Платежное поручение (Украина)"), kPaymentIncomeForm,
             kPaymentIncomePrintForm),
        form(QStringLiteral("Платежное поручение (Россия)"), kPaymentIncomeForm,
             kPaymentIncomeRuPrintForm),
        heading(QStringLiteral("Расход с Р/С")),
        form(QStringLiteral("Платежное поручение - 2 экз. (Украина)"), kPaymentIssueForm,
             kPaymentIssue2PrintForm),
        form(QStringLiteral("Платежное поручение - 3 экз. (Украина)"), kPaymentIssueForm,
             kPaymentIssue3PrintForm),
        form(QStringLiteral("Платежное поручение - 2 экз. (Россия)"), kPaymentIssueForm,
             kPaymentIssueRu2PrintForm),
        form(QStringLiteral("Платежное поручение - 3 экз. (Россия)"), kPaymentIssueForm,
             kPaymentIssueRu3PrintForm),
    };
    return rows;
}

const QList<SimplePrintFormRow>& cashDeskForms() {
    static const QList<SimplePrintFormRow> rows{
        heading(QStringLiteral("Приход в кассу")),
        form(QStringLiteral("Приходный кассовый ордер (Украина)"), kCashReceiptForm,
             kCashReceiptPrintForm),
        form(QStringLiteral("Приходный кассовый ордер (Россия)"), kCashReceiptForm,
             kCashReceiptRuPrintForm),
        heading(QStringLiteral("Расход из кассы")),
        form(QStringLiteral("Расходный кассовый ордер (Украина)"), kCashDisbursementForm,
             kCashDisbursementPrintForm),
        form(QStringLiteral("Расходный кассовый ордер (Россия)"), kCashDisbursementForm,
             kCashDisbursementRuPrintForm),
    };
    return rows;
}

} // namespace

const QList<SimplePrintFormRow>& simplePrintFormTable(int ownerType) {
    static const QList<SimplePrintFormRow> none;
    switch (BookKind(ownerType)) {
    case BookKind::BankAccount:
        return bankAccountForms();
    case BookKind::CashDesk:
        return cashDeskForms();
    }
    return none;
}

ProductOptions::ProductOptions(DataStore& store) : m_store(store), m_options(store) {}

bool ProductOptions::issueAutoNumbering() const {
    return BookOptions::textToFlag(m_options.option(kIssueAutoNumberingKey), false);
}

bool ProductOptions::oneSignature() const {
    return BookOptions::textToFlag(m_options.option(kOneSignatureKey), false);
}

QString ProductOptions::oneSignatureText() const {
    const QString text = m_options.option(kOneSignatureTextKey);
    return text.isEmpty() ? QStringLiteral("Право одной подписи") : text;
}

bool ProductOptions::useSimpleForms() const {
    return BookOptions::textToFlag(m_options.option(kUseSimpleFormsKey));
}

bool ProductOptions::useTemplates() const {
    return BookOptions::textToFlag(m_options.option(kUseTemplatesKey));
}

bool ProductOptions::wordChosen() const {
    return BookOptions::textToFlag(m_options.option(kUseWordKey));
}

bool ProductOptions::writerChosen() const {
    return BookOptions::textToFlag(m_options.option(kUseWriterKey));
}

bool ProductOptions::useWord() const {
    return wordChosen() && officeAvailable();
}

bool ProductOptions::useWriter() const {
    return writerChosen() && officeAvailable();
}

QString ProductOptions::simplePrintFormKey(const QString& formClass,
                                           const QString& printFormClass) {
    return QStringLiteral("Print.Use_") + formClass + QLatin1Char('_') + printFormClass;
}

bool ProductOptions::useSimplePrintForm(const QString& formClass,
                                        const QString& printFormClass) const {
    return BookOptions::textToFlag(m_options.option(simplePrintFormKey(formClass, printFormClass)));
}

void ProductOptions::setUseSimplePrintForm(const QString& formClass, const QString& printFormClass,
                                           bool use) {
    m_options.setOption(simplePrintFormKey(formClass, printFormClass), BookOptions::flagText(use));
}

QList<SimplePrintFormRow> ProductOptions::offeredForms(const QString& formClass) const {
    QList<SimplePrintFormRow> offered;
    for (const SimplePrintFormRow& row : simplePrintFormTable(ownerType(m_store)))
        if (row.kind == SimplePrintFormRow::Kind::Form && row.formClass == formClass &&
            useSimplePrintForm(row.formClass, row.printFormClass))
            offered << row;
    return offered;
}

QStringList ProductOptions::simplePrintForms(const QString& formClass) const {
    QStringList captions;
    for (const SimplePrintFormRow& row : offeredForms(formClass))
        captions << row.caption;
    if (captions.isEmpty())
        throw Exception(QStringLiteral(
            "Нет подключенных простых печатных форм! Подключите их в опциях программы."));
    return captions;
}

QString ProductOptions::simplePrintFormClass(const QString& formClass, int index) const {
    const QList<SimplePrintFormRow> offered = offeredForms(formClass);
    return index >= 0 && index < offered.size() ? offered[index].printFormClass : QString();
}
