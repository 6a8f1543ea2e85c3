#pragma once

#include "store/book_options.h"
#include "store/printed_forms.h"

#include <QList>
#include <QString>
#include <QStringList>

class DataStore;

// The keys of the product's options in ETC of the owner row; stored data, never renamed.
inline constexpr char kIssueAutoNumberingKey[] = "IssueAutoNum";
inline constexpr char kOneSignatureKey[] = "OneSignFlag";
inline constexpr char kOneSignatureTextKey[] = "OneSignText";
inline constexpr char kUseSimpleFormsKey[] = "Print.UseQReports";
inline constexpr char kUseTemplatesKey[] = "Print.UseZOMGReports";
inline constexpr char kUseWordKey[] = "Print.UseZOMGReports_MOW";
inline constexpr char kUseWriterKey[] = "Print.UseZOMGReports_OOW";

// One line of the options page's list of simple print forms (store/printed_forms.h): a heading
// over the forms of one document window, or a form with the document window that prints it.
struct SimplePrintFormRow {
    enum class Kind { Heading, Form };
    Kind kind = Kind::Form;
    QString caption;
    QString formClass;      // empty for a heading
    QString printFormClass; // empty for a heading
};

// The simple print forms of a kind of book (owner type 0 bank account, 1 cash desk), headings
// included, in the order they are offered; none for another owner type.
const QList<SimplePrintFormRow>& simplePrintFormTable(int ownerType);

// The product's options of the open book: the documents' numbering and signature, and which
// ways of printing the documents offer. Every read goes to the database, as BookOptions does.
class ProductOptions {
public:
    explicit ProductOptions(DataStore& store);

    // False unless the stored text is a true Boolean.
    bool issueAutoNumbering() const;
    bool oneSignature() const;
    QString oneSignatureText() const; // "Право одной подписи" when empty

    // True unless the stored text is a false Boolean.
    bool useSimpleForms() const;
    bool useTemplates() const;
    // The book's choice as stored, true unless the stored text is a false Boolean, whether or
    // not this machine has the program.
    bool wordChosen() const;
    bool writerChosen() const;
    // As stored, and only while the office program is there (it serves Word and Writer alike):
    // what the documents' print offers.
    bool useWord() const;
    bool useWriter() const;
    bool useSimplePrintForm(const QString& formClass, const QString& printFormClass) const;
    void setUseSimplePrintForm(const QString& formClass, const QString& printFormClass, bool use);
    static QString simplePrintFormKey(const QString& formClass, const QString& printFormClass);

    // The captions of the simple print forms the book offers for the document window formClass,
    // in table order. None raises Exception with the message for the user.
    QStringList simplePrintForms(const QString& formClass) const;
    // The name of the print form at position index of that list; empty when there is none.
    QString simplePrintFormClass(const QString& formClass, int index) const;

private:
    QList<SimplePrintFormRow> offeredForms(const QString& formClass) const;

    DataStore& m_store;
    BookOptions m_options;
};
