#include "store/product_options.h"

#include "core/exceptions.h"
#include "platform/office.h"
#include "store/book_kind.h"
#include "store/data_store.h"

namespace {

// The forms of a kind of book, each window's forms under its heading.
QList<SimplePrintFormRow> formsOf(BookKind book) {
    QList<SimplePrintFormRow> rows;
    QString window;
    for (const PrintedForm& form : printedForms()) {
        if (form.book != book)
            continue;
        if (form.formClass != window) {
            rows << SimplePrintFormRow{SimplePrintFormRow::Kind::Heading, form.heading, QString(),
                                       QString()};
            window = form.formClass;
        }
        rows << SimplePrintFormRow{SimplePrintFormRow::Kind::Form, form.caption, form.formClass,
                                   form.printFormClass};
    }
    return rows;
}

} // namespace

const QList<SimplePrintFormRow>& simplePrintFormTable(int ownerType) {
    static const QList<SimplePrintFormRow> bankAccount = formsOf(BookKind::BankAccount);
    static const QList<SimplePrintFormRow> cashDesk = formsOf(BookKind::CashDesk);
    static const QList<SimplePrintFormRow> none;
    switch (BookKind(ownerType)) {
    case BookKind::BankAccount:
        return bankAccount;
    case BookKind::CashDesk:
        return cashDesk;
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
    return printedFormOptionKey(formClass, printFormClass);
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
