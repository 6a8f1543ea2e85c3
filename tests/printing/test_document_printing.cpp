#include "platform/firebird/data_set.h"
#include "platform/office.h"
#include "printing/document_printing.h"
#include "printing/print_mode_dialog.h"
#include "printing/report_output.h"
#include "printing/template_store_dialog.h"
#include "store/data_store.h"
#include "store/owner_names.h"
#include "store/product_options.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/shell/book_machine.h"
#include "tests/support/shell/pane_machine.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace printing;

namespace {

constexpr int kDocumentKey = 5001;

// Answers the modal dialogs as they show, one step each: "kind:N", "program:N" (N the item to
// choose, or "cancel") for the choice dialogs, "form:N" or "preview:N" for the print-mode dialog
// (printed with "Печать"). What showed is noted as the same words, the choice dialogs' captions
// checked.
struct ModalScript {
    QStringList steps;
    QStringList shown;
    QPointer<QWidget> last;

    explicit ModalScript(QStringList script) : steps(std::move(script)) { poll(); }
    void poll() {
        QTimer::singleShot(0, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != last && !steps.isEmpty()) {
                last = modal;
                answer(modal, steps.takeFirst());
            }
            if (!steps.isEmpty())
                poll();
        });
    }
    void answer(QWidget* modal, const QString& step) {
        const QString what = step.section(':', 0, 0);
        const QString choice = step.section(':', 1);
        shown << step;
        if (auto* dialog = qobject_cast<PrintModeDialog*>(modal)) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Выберите режим печати"));
            dialog->formButton(choice.toInt())->click();
            dialog->noPreviewBox()->setChecked(what == "form");
            dialog->printButton()->click();
            return;
        }
        const auto* caption = modal->findChild<QWidget*>("choiceGroup");
        shown.last() = caption->property("title").toString() + " " + step;
        if (choice == "cancel") {
            modal->findChild<QPushButton*>("cancelButton")->click();
            return;
        }
        modal->findChild<QRadioButton*>("itemButton" + choice)->click();
        modal->findChild<QPushButton*>("okButton")->click();
    }
};

QStringList textsOf(const DisplayList& drawn) {
    QStringList texts;
    for (const DrawnItem& item : drawn)
        texts << item.text;
    return texts;
}

// A book of a kind with one document of OPER.TYP type and its partner, and an office program
// on the PATH.
struct PrintMachine {
    PaneMachine machine;
    QTemporaryDir office;
    QTemporaryDir pdfs;
    QStringList printed; // "title x copies" per form printed, "preview" added when previewed

    PrintMachine(BookKind kind, int type)
        : machine(kind,
                  kind == BookKind::CashDesk ? QStringLiteral("Касса") : QStringLiteral("Счет")) {
        testsupport::putFakeOffice(office.path());
        setOfficeSearchPath(office.path());
        execute(machine.book, "INSERT INTO PARTS (PRKEY, TYP, LNAM, INBANK, INCITY) VALUES "
                              "(301, 1, 'ПП Сокіл', 'Аваль', 'Львів')");
        execute(machine.book, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, SUM1, NUM, LPART, "
                                             "PURP1, DAT) VALUES (%1, %2, 12.5, '77', 301, "
                                             "'За товар', '2010-05-05 14:30:00')")
                                  .arg(kDocumentKey)
                                  .arg(type));
        machine.start();
    }
    ~PrintMachine() { setOfficeSearchPath(QString()); }
    void setOption(const QString& key, const QString& value) {
        DataStore::instance().options().setOption(key, value);
    }
    FormOutput output() {
        return [this](QWidget*, const FilledForm& form, bool noPreview) {
            const QStringList texts =
                textsOf(printToPdf(form.report, form.data, pdfs.filePath("form.pdf")));
            printed << texts.first() + QStringLiteral(" x %1").arg(texts.count(texts.first())) +
                           (noPreview ? "" : " preview");
        };
    }
};

} // namespace

class TestDocumentPrinting : public QObject {
    Q_OBJECT
private slots:
    // The print command over the book's options: which questions it asks, what prints in how
    // many copies, and whether the document window closes after it.
    void dispatchFollowsTheOptions_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("templateStore");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<bool>("closes");
        const QString kind = "Выберите набор печатных форм kind:";
        const QString program = "Выберите программу для печатания program:";
        const QString order = "ПЛАТІЖНЕ ДОРУЧЕННЯ №";
        const QString orderRu = "ПЛАТЕЖНОЕ  ПОРУЧЕНИЕ  №";
        QTest::newRow("a fresh book without a template store: simple forms at once")
            << QStringList{} << false << QStringList{"form:0"} << QStringList{"form:0"}
            << QStringList{order + " x 2"} << true;
        QTest::newRow("3 copies in the Russian layout, previewed")
            << QStringList{} << false << QStringList{"preview:3"} << QStringList{"preview:3"}
            << QStringList{orderRu + " x 3 preview"} << true;
        QTest::newRow("both kinds: simple chosen")
            << QStringList{} << true << QStringList{"kind:1", "form:1"}
            << QStringList{kind + "1", "form:1"} << QStringList{order + " x 3"} << true;
        QTest::newRow("both kinds: cancelled")
            << QStringList{} << true << QStringList{"kind:cancel"} << QStringList{kind + "cancel"}
            << QStringList{} << false;
        QTest::newRow("both kinds and programs: Word")
            << QStringList{} << true << QStringList{"kind:0", "program:0"}
            << QStringList{kind + "0", program + "0"} << QStringList{"template 1"} << true;
        QTest::newRow("program cancelled")
            << QStringList{} << true << QStringList{"kind:0", "program:cancel"}
            << QStringList{kind + "0", program + "cancel"} << QStringList{} << false;
        QTest::newRow("templates only, Writer only: no question")
            << QStringList{kUseSimpleFormsKey, "0", kUseWordKey, "0"} << true << QStringList{}
            << QStringList{} << QStringList{"template 2"} << true;
        QTest::newRow("simple forms only: no question")
            << QStringList{kUseTemplatesKey, "0"} << true << QStringList{"form:2"}
            << QStringList{"form:2"} << QStringList{orderRu + " x 2"} << true;
        QTest::newRow("one form left")
            << QStringList{ProductOptions::simplePrintFormKey(kPaymentIssueForm, kPaymentIssue2PrintForm),
                           "0",
                           ProductOptions::simplePrintFormKey(kPaymentIssueForm, kPaymentIssueRu2PrintForm),
                           "0",
                           ProductOptions::simplePrintFormKey(kPaymentIssueForm, kPaymentIssueRu3PrintForm),
                           "0"}
            << false << QStringList{"form:0"} << QStringList{"form:0"}
            << QStringList{order + " x 3"} << true;
    }
    void dispatchFollowsTheOptions() {
        QFETCH(QStringList, options);
        QFETCH(bool, templateStore);
        QFETCH(QStringList, script);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, printed);
        QFETCH(bool, closes);
        PrintMachine m(BookKind::BankAccount, 2);
        for (int i = 0; i + 1 < options.size(); i += 2)
            m.setOption(options[i], options[i + 1]);
        PrintServices services{m.output(), {}};
        if (templateStore)
            services.templates = [&](QWidget*, const QString& formClass, int key,
                                     TemplateProgram program) {
                QCOMPARE(formClass, QString(kPaymentIssueForm));
                QCOMPARE(key, kDocumentKey);
                m.printed << QStringLiteral("template %1").arg(int(program));
            };
        ModalScript modals(script);
        const AfterPrint after = printDocument(nullptr, kPaymentIssueForm, kDocumentKey, services);
        QCOMPARE(modals.shown, shown);
        QCOMPARE(m.printed, printed);
        QCOMPARE(after == AfterPrint::CloseWindow, closes);
        QCOMPARE(m.machine.messages, QStringList{});
    }

    // Nothing allowed: the warning, and the window closes; templates allowed without a program
    // to fill them, or no simple form left: the message, and the window stays.
    void refusalsSayWhy() {
        PrintMachine m(BookKind::CashDesk, 1);
        PrintServices services{m.output(), [](QWidget*, const QString&, int, TemplateProgram) {
                                   QFAIL("no template may print");
                               }};
        m.setOption(kUseSimpleFormsKey, "0");
        m.setOption(kUseTemplatesKey, "0");
        QCOMPARE(printDocument(nullptr, kCashReceiptForm, kDocumentKey, services),
                 AfterPrint::CloseWindow);
        QCOMPARE(m.machine.messages,
                 QStringList{"Использование печатных форм запрещено в настройках программы!"});

        m.setOption(kUseTemplatesKey, "-1");
        m.setOption(kUseWordKey, "0");
        m.setOption(kUseWriterKey, "0");
        QCOMPARE(testsupport::messageOf(
                     [&] { printDocument(nullptr, kCashReceiptForm, kDocumentKey, services); }),
                 "Использование редактируемых печатных форм запрещено в настройках программы!");

        m.setOption(kUseSimpleFormsKey, "-1");
        m.setOption(kUseTemplatesKey, "0");
        for (const char* form : {kCashReceiptPrintForm, kCashReceiptRuPrintForm})
            m.setOption(ProductOptions::simplePrintFormKey(kCashReceiptForm, form), "0");
        QCOMPARE(testsupport::messageOf(
                     [&] { printDocument(nullptr, kCashReceiptForm, kDocumentKey, services); }),
                 "Нет подключенных простых печатных форм! Подключите их в опциях программы.");
        QVERIFY(m.printed.isEmpty());
    }

    // Editable templates only, in Writer only: the template store opens at once, over the
    // document's type and Writer's templates; closed without a choice, nothing prints and the
    // window closes.
    void templateStoreOpensForTheDocument() {
        PrintMachine m(BookKind::CashDesk, 2);
        m.setOption(kUseSimpleFormsKey, "0");
        m.setOption(kUseWordKey, "0");
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* store = qobject_cast<TemplateStoreDialog*>(QApplication::activeModalWidget());
            QVERIFY(store);
            shown << store->windowTitle();
            fb::DataSet& templates = store->templates();
            for (int row = 0; row < templates.recordCount(); ++row) {
                templates.moveTo(row);
                shown << templates.field("NAME").asString() + u'.' +
                             templates.field("EXT").asString();
            }
            store->closeAction()->trigger();
        });
        QCOMPARE(printDocument(nullptr, kCashDisbursementForm, kDocumentKey),
                 AfterPrint::CloseWindow);
        QCOMPARE(shown,
                 (QStringList{"Выберите печатную форму", "Расходный кассовый ордер (Россия).odt",
                              "Расходный кассовый ордер (Украина).odt"}));
        QCOMPARE(m.machine.messages, QStringList{});
    }

    // The document as the forms get it from the book: its row, the owner's requisites and
    // signers, the partner's, and the book's options.
    void readsTheDocumentFromTheBook() {
        PrintMachine m(BookKind::CashDesk, 2);
        execute(m.machine.book, "UPDATE PARTS SET LNAM='ТОВ Калина', INDN='7701' WHERE PRKEY=0");
        m.setOption(kCashierNameKey, QStringLiteral("Сидоренко"));
        m.setOption(kDirectorNameKey, QStringLiteral("Іваненко"));
        m.setOption(kStoreCurrencyKey, QStringLiteral("руб."));
        const PrintedDocument d = readPrintedDocument(DataStore::instance(), kDocumentKey);
        QCOMPARE(d.number, QStringLiteral("77"));
        QVERIFY(d.amount == currencyFromDouble(12.5));
        QVERIFY(!d.taxPart);
        QVERIFY(!d.date2);
        QCOMPARE(d.paymentType, QString());
        QCOMPARE(d.purposes[0], QStringLiteral("За товар"));
        QCOMPARE(datetime::decode(d.date.value_or(0)), QDateTime(QDate(2010, 5, 5), QTime(14, 30)));
        QCOMPARE(d.owner.name, QStringLiteral("ТОВ Калина"));
        QCOMPARE(d.owner.taxNumber, QStringLiteral("7701"));
        QCOMPARE(d.partner.name, QStringLiteral("ПП Сокіл"));
        QCOMPARE(d.partner.bankCity, QStringLiteral("Львів"));
        QCOMPARE(d.cashierName, QStringLiteral("Сидоренко"));
        QCOMPARE(d.directorName, QStringLiteral("Іваненко"));
        QCOMPARE(d.chiefAccountantName, QString());
        QCOMPARE(d.currency, QStringLiteral("руб."));
        execute(m.machine.book, QStringLiteral("UPDATE OPER SET DAT2='2010-05-07', "
                                               "REASON='Оплата' WHERE PRKEY=%1")
                                    .arg(kDocumentKey));
        execute(m.machine.book, "UPDATE PARTS SET CITY='Винники' WHERE PRKEY=301");
        const PrintedDocument dated = readPrintedDocument(DataStore::instance(), kDocumentKey);
        QCOMPARE(datetime::decode(dated.date2.value_or(0)),
                 QDateTime(QDate(2010, 5, 7), QTime(0, 0)));
        QCOMPARE(dated.paymentType, QStringLiteral("Оплата"));
        QCOMPARE(dated.partner.city, QStringLiteral("Винники"));
        QCOMPARE(dated.owner.city, QString());
        QCOMPARE(testsupport::messageOf(
                     [&] { readPrintedDocument(DataStore::instance(), kDocumentKey + 1); }),
                 QStringLiteral("Документ не существует!"));
    }
};

QTEST_MAIN(TestDocumentPrinting)
#include "test_document_printing.moc"
