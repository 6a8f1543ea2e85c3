#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/office.h"
#include "store/new_book.h"
#include "store/product_options.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/store/store_notices.h"

#include <QTemporaryDir>
#include <QTest>

using schematest::Workplace;
using testsupport::messageOf;

namespace {

const QString kNoFormsMessage =
    QStringLiteral("Нет подключенных простых печатных форм! Подключите их в опциях программы.");

// A new book of a kind open in the data store, and a PATH of its own for the office program.
struct OpenBook {
    StoreNotices dialogs;
    Workplace place;
    QTemporaryDir officeFolder;
    explicit OpenBook(BookKind kind, bool withOffice = true) {
        const QString book = createNewBook(kind, QStringLiteral("Книга"), place.folder(),
                                           schematest::templatesFolder());
        place.store().database().attach(book);
        if (withOffice)
            testsupport::putFakeOffice(officeFolder.path());
        setOfficeSearchPath(officeFolder.path());
    }
    ~OpenBook() { setOfficeSearchPath(QString()); }
    ProductOptions options() { return ProductOptions(place.store()); }
    QString stored(const QString& key) { return place.store().options().option(key); }
    void store(const QString& key, const QString& value) {
        place.store().options().setOption(key, value);
    }
};

} // namespace

class TestProductOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { fb::prepareEmbeddedEngine(); }

    // A fresh book stores none of the product's options: every way of printing is offered,
    // the word processors while the office program is there.
    void aFreshBookOffersEveryWayOfPrinting_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("withOffice");
        QTest::newRow("bank account with office") << int(BookKind::BankAccount) << true;
        QTest::newRow("cash desk without office") << int(BookKind::CashDesk) << false;
    }
    void aFreshBookOffersEveryWayOfPrinting() {
        QFETCH(int, kind);
        QFETCH(bool, withOffice);
        OpenBook book{BookKind(kind), withOffice};
        const ProductOptions options = book.options();
        QVERIFY(!options.issueAutoNumbering());
        QVERIFY(!options.oneSignature());
        QCOMPARE(options.oneSignatureText(), QStringLiteral("Право одной подписи"));
        QVERIFY(options.useSimpleForms());
        QVERIFY(options.useTemplates());
        QCOMPARE(options.useWord(), withOffice);
        QCOMPARE(options.useWriter(), withOffice);
        QVERIFY(!testsupport::fakeOfficeStarted(book.officeFolder.path()));
        QVERIFY(book.dialogs.texts.isEmpty());
    }

    // Every document window of a book offers all its forms of the book's table, in order; the
    // windows of the other kind of book none.
    void aFreshBookOffersEverySimpleForm_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("captions"); // none: the message
        QTest::addColumn<QStringList>("printForms");
        const int bank = int(BookKind::BankAccount);
        const int cash = int(BookKind::CashDesk);
        QTest::newRow("bank, income")
            << bank << kPaymentIncomeForm
            << QStringList{"Платежное поручение (Украина)", "Платежное поручение (Россия)"}
            << QStringList{"TqrepPaymentIncome", "TqrepPaymentIncome_ru"};
        QTest::newRow("bank, issue")
            << bank << kPaymentIssueForm
            << QStringList{"Платежное поручение - 2 экз. (Украина)",
                           "Платежное поручение - 3 экз. (Украина)",
                           "Платежное поручение - 2 экз. (Россия)",
                           "Платежное поручение - 3 экз. (Россия)"}
            << QStringList{"TqrepPaymentIssue2", "TqrepPaymentIssue3", "TqrepPaymentIssue_ru2",
                           "TqrepPaymentIssue_ru3"};
        QTest::newRow("bank, cash receipt")
            << bank << kCashReceiptForm << QStringList() << QStringList();
        QTest::newRow("cash, receipt") << cash << kCashReceiptForm
                                       << QStringList{"Приходный кассовый ордер (Украина)",
                                                      "Приходный кассовый ордер (Россия)"}
                                       << QStringList{"TqrepPrihKassOrd", "TqrepPrihKassOrd_ru"};
        QTest::newRow("cash, disbursement")
            << cash << kCashDisbursementForm
            << QStringList{"Расходный кассовый ордер (Украина)",
                           "Расходный кассовый ордер (Россия)"}
            << QStringList{"TqrepRashKassOrd", "TqrepRashKassOrd_ru"};
        QTest::newRow("cash, payment issue")
            << cash << kPaymentIssueForm << QStringList() << QStringList();
        QTest::newRow("cash, unknown window")
            << cash << "TfrmOther" << QStringList() << QStringList();
    }
    void aFreshBookOffersEverySimpleForm() {
        QFETCH(int, kind);
        QFETCH(QString, form);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, printForms);
        OpenBook book{BookKind(kind)};
        const ProductOptions options = book.options();
        if (captions.isEmpty()) {
            QCOMPARE(messageOf([&] { options.simplePrintForms(form); }), kNoFormsMessage);
        } else {
            QCOMPARE(options.simplePrintForms(form), captions);
        }
        for (int i = 0; i < printForms.size(); ++i)
            QCOMPARE(options.simplePrintFormClass(form, i), printForms[i]);
        QCOMPARE(options.simplePrintFormClass(form, printForms.size()), QString());
        QCOMPARE(options.simplePrintFormClass(form, -1), QString());
    }

    // The tables themselves: headings without classes, and a caption for every form.
    void theTablesOfTheBooks() {
        auto lines = [](int ownerType) {
            QStringList texts;
            for (const SimplePrintFormRow& row : simplePrintFormTable(ownerType))
                texts << (row.kind == SimplePrintFormRow::Kind::Heading
                              ? "# " + row.caption + row.formClass + row.printFormClass
                              : row.caption + " | " + row.formClass + " | " + row.printFormClass);
            return texts;
        };
        QCOMPARE(
            lines(0),
            (QStringList{"# Приход на Р/С",
                         "Платежное поручение (Украина) | TfrmPaymentIncome | TqrepPaymentIncome",
                         "Платежное поручение (Россия) | TfrmPaymentIncome | TqrepPaymentIncome_ru",
                         "# Расход с Р/С",
                         "Платежное поручение - 2 экз. (Украина) | TfrmPaymentIssue | "
                         "TqrepPaymentIssue2",
                         "Платежное поручение - 3 экз. (Украина) | TfrmPaymentIssue | "
                         "TqrepPaymentIssue3",
                         "Платежное поручение - 2 экз. (Россия) | TfrmPaymentIssue | "
                         "TqrepPaymentIssue_ru2",
                         "Платежное поручение - 3 экз. (Россия) | TfrmPaymentIssue | "
                         "TqrepPaymentIssue_ru3"}));
        QCOMPARE(
            lines(1),
            (QStringList{
                "# Приход в кассу",
                "Приходный кассовый ордер (Украина) | TfrmKassOrderPrih | TqrepPrihKassOrd",
                "Приходный кассовый ордер (Россия) | TfrmKassOrderPrih | TqrepPrihKassOrd_ru",
                "# Расход из кассы",
                "Расходный кассовый ордер (Украина) | TfrmKassOrderRash | TqrepRashKassOrd",
                "Расходный кассовый ордер (Россия) | TfrmKassOrderRash | TqrepRashKassOrd_ru"}));
        QVERIFY(simplePrintFormTable(2).isEmpty());
        QVERIFY(simplePrintFormTable(-1).isEmpty());
    }

    // The document options default to off, the print options to on: a text that is no Boolean
    // reads as the default.
    void flagsReadAsStored_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("documentFlag");
        QTest::addColumn<bool>("printFlag");
        QTest::newRow("-1") << "-1" << true << true;
        QTest::newRow("True") << "True" << true << true;
        QTest::newRow("1") << "1" << true << true;
        QTest::newRow("0") << "0" << false << false;
        QTest::newRow("False") << "False" << false << false;
        QTest::newRow("no Boolean") << "да" << false << true;
        QTest::newRow("empty") << "" << false << true;
    }
    void flagsReadAsStored() {
        QFETCH(QString, stored);
        QFETCH(bool, documentFlag);
        QFETCH(bool, printFlag);
        OpenBook book(BookKind::BankAccount);
        for (const char* key : {kIssueAutoNumberingKey, kOneSignatureKey, kUseSimpleFormsKey,
                                kUseTemplatesKey, kUseWordKey, kUseWriterKey})
            book.store(key, stored);
        book.store("Print.Use_TfrmPaymentIncome_TqrepPaymentIncome_ru", stored);
        const ProductOptions options = book.options();
        QCOMPARE(options.issueAutoNumbering(), documentFlag);
        QCOMPARE(options.oneSignature(), documentFlag);
        QCOMPARE(options.useSimpleForms(), printFlag);
        QCOMPARE(options.useTemplates(), printFlag);
        QCOMPARE(options.useWord(), printFlag);
        QCOMPARE(options.useWriter(), printFlag);
        QCOMPARE(options.useSimplePrintForm(kPaymentIncomeForm, kPaymentIncomeRuPrintForm),
                 printFlag);
        QVERIFY(options.useSimplePrintForm(kPaymentIncomeForm, kPaymentIncomePrintForm));
        QCOMPARE(options.simplePrintForms(kPaymentIncomeForm).size(), printFlag ? 2 : 1);
    }

    // Without the office program neither word processor is offered, whatever is stored; the
    // choice stored stays readable as it is.
    void wordProcessorsNeedTheOffice() {
        OpenBook book(BookKind::CashDesk, false);
        book.store(kUseWordKey, "-1");
        book.store(kUseWriterKey, "True");
        QVERIFY(!book.options().useWord());
        QVERIFY(!book.options().useWriter());
        QVERIFY(book.options().wordChosen());
        QVERIFY(book.options().writerChosen());
        QVERIFY(book.options().useTemplates());
        book.store(kUseWriterKey, "0");
        QVERIFY(!book.options().writerChosen());
    }

    void theSignatureText() {
        OpenBook book(BookKind::BankAccount);
        book.store(kOneSignatureTextKey, QStringLiteral("Подпись директора"));
        QCOMPARE(book.options().oneSignatureText(), QStringLiteral("Подпись директора"));
        book.store(kOneSignatureTextKey, QString());
        QCOMPARE(book.options().oneSignatureText(), QStringLiteral("Право одной подписи"));
    }

    // A form switched off is stored as "0" under its key and no longer offered; the positions
    // of the list name the forms that are left.
    void aFormSwitchedOffIsNoLongerOffered() {
        OpenBook book(BookKind::BankAccount);
        ProductOptions options = book.options();
        options.setUseSimplePrintForm(kPaymentIssueForm, kPaymentIssue3PrintForm, false);
        QCOMPARE(book.stored("Print.Use_TfrmPaymentIssue_TqrepPaymentIssue3"), QStringLiteral("0"));
        QCOMPARE(options.simplePrintForms(kPaymentIssueForm),
                 (QStringList{"Платежное поручение - 2 экз. (Украина)",
                              "Платежное поручение - 2 экз. (Россия)",
                              "Платежное поручение - 3 экз. (Россия)"}));
        QCOMPARE(options.simplePrintFormClass(kPaymentIssueForm, 0), kPaymentIssue2PrintForm);
        QCOMPARE(options.simplePrintFormClass(kPaymentIssueForm, 1), kPaymentIssueRu2PrintForm);
        QCOMPARE(options.simplePrintFormClass(kPaymentIssueForm, 2), kPaymentIssueRu3PrintForm);
        QCOMPARE(options.simplePrintFormClass(kPaymentIssueForm, 3), QString());
        QCOMPARE(options.simplePrintForms(kPaymentIncomeForm).size(), 2);

        options.setUseSimplePrintForm(kPaymentIssueForm, kPaymentIssue3PrintForm, true);
        QCOMPARE(book.stored("Print.Use_TfrmPaymentIssue_TqrepPaymentIssue3"),
                 QStringLiteral("-1"));
        QCOMPARE(options.simplePrintForms(kPaymentIssueForm).size(), 4);
    }

    // With every form of a window off the window offers none; the other window keeps its own.
    void noFormLeftRaisesTheMessage() {
        OpenBook book(BookKind::CashDesk);
        ProductOptions options = book.options();
        options.setUseSimplePrintForm(kCashReceiptForm, kCashReceiptPrintForm, false);
        options.setUseSimplePrintForm(kCashReceiptForm, kCashReceiptRuPrintForm, false);
        QCOMPARE(messageOf([&] { options.simplePrintForms(kCashReceiptForm); }), kNoFormsMessage);
        QCOMPARE(options.simplePrintFormClass(kCashReceiptForm, 0), QString());
        QCOMPARE(options.simplePrintForms(kCashDisbursementForm).size(), 2);
    }
};

QTEST_MAIN(TestProductOptions)
#include "test_product_options.moc"
