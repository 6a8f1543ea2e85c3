#include "platform/office.h"
#include "printing/product_options_pane.h"
#include "printing/simple_print_forms_dialog.h"
#include "store/data_store.h"
#include "store/product_options.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/shell/pane_machine.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using testsupport::fakeOfficeStarted;

namespace {

// A book of a kind shown in the product's options pane, with a PATH of its own in which the
// office program is there or not.
struct OptionsMachine {
    PaneMachine machine;
    QTemporaryDir officeFolder;
    ShellWindow* main = nullptr;
    OptionsMachine(BookKind kind, bool withOffice)
        : machine(kind,
                  kind == BookKind::CashDesk ? QStringLiteral("Касса") : QStringLiteral("Счет")) {
        if (withOffice)
            testsupport::putFakeOffice(officeFolder.path());
        setOfficeSearchPath(officeFolder.path());
        main = &machine.start();
    }
    ~OptionsMachine() { setOfficeSearchPath(QString()); }
    ProductOptionsPane* showPane() { return main->showPane<ProductOptionsPane>(); }
    // Closes the pane, which stores its options.
    void closePane() {
        main->aboutAction()->trigger();
        QVERIFY(!main->currentPane());
    }
    QString stored(const QString& key) { return DataStore::instance().options().option(key); }
    void store(const QString& key, const QString& value) {
        DataStore::instance().options().setOption(key, value);
    }
    // The records of the book's options text, "key=value" each, in their stored order.
    QStringList records() {
        return DataStore::instance()
            .fieldValue("PARTS", "ETC", 0)
            .split(u'\x01', Qt::SkipEmptyParts);
    }
};

// A line of the list of simple print forms: "# caption" for a heading that cannot be ticked,
// "[x] caption" or "[ ] caption" for a form.
QStringList linesOf(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* line = list->item(i);
        if (!(line->flags() & Qt::ItemIsUserCheckable))
            lines << "# " + line->text();
        else
            lines << QString(line->checkState() == Qt::Checked ? "[x] " : "[ ] ") + line->text();
    }
    return lines;
}

// Presses the button that opens the choice of simple print forms, does action in the dialog
// once it shows, then closes it with OK or Отмена; the lines it showed when it opened.
QStringList configureForms(ProductOptionsPane* pane, bool ok,
                           const std::function<void(QListWidget*)>& action = {}) {
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SimplePrintFormsDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the choice of print forms did not show");
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Выбор печатных форм"));
        shown = linesOf(dialog->formList());
        if (action)
            action(dialog->formList());
        (ok ? dialog->okButton() : dialog->cancelButton())->click();
    });
    pane->configureSimpleFormsButton()->click();
    return shown;
}

// Ticks or unticks the form of the list whose caption is text, as a click on its box does.
void setForm(QListWidget* list, const QString& text, bool use) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.size() != 1)
        qFatal("no single line %s", qPrintable(text));
    found.first()->setCheckState(use ? Qt::Checked : Qt::Unchecked);
}

const QStringList kBankAccountLines{
    "# Приход на Р/С",
    "[x] Платежное поручение (Украина)",
    "[x] Платежное поручение (Россия)",
    "# Расход с Р/С",
    "[x] Платежное поручение - 2 экз. (Украина)",
    "[x] Платежное поручение - 3 экз. (Украина)",
    "[x] Платежное поручение - 2 экз. (Россия)",
    "[x] Платежное поручение - 3 экз. (Россия)",
};
const QStringList kCashDeskLines{
    "# Приход в кассу",
    "[x] Приходный кассовый ордер (Украина)",
    "[x] Приходный кассовый ордер (Россия)",
    "# Расход из кассы",
    "[x] Расходный кассовый ордер (Украина)",
    "[x] Расходный кассовый ордер (Россия)",
};

const QString kNoWord =
    QStringLiteral("Операция невозможна. На компьютере не обнаружен Microsoft Office Word!");
const QString kNoWriter =
    QStringLiteral("Операция невозможна. На компьютере не обнаружен OpenOffice.org Writer!");

} // namespace

class TestProductOptionsPane : public QObject {
    Q_OBJECT
private slots:
    // A fresh book offers both ways of printing, both word processors while the office program
    // is there, and every simple print form of its kind; the one-signature options show in a
    // bank-account book only.
    void aFreshBookOffersEverything_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("withOffice");
        QTest::addColumn<QString>("nameTitle");
        QTest::addColumn<QStringList>("forms");
        QTest::newRow("bank account with office")
            << int(BookKind::BankAccount) << true << "Название расчетного счета"
            << kBankAccountLines;
        QTest::newRow("bank account without office")
            << int(BookKind::BankAccount) << false << "Название расчетного счета"
            << kBankAccountLines;
        QTest::newRow("cash desk with office")
            << int(BookKind::CashDesk) << true << "Название кассы" << kCashDeskLines;
        QTest::newRow("cash desk without office")
            << int(BookKind::CashDesk) << false << "Название кассы" << kCashDeskLines;
    }
    void aFreshBookOffersEverything() {
        QFETCH(int, kind);
        QFETCH(bool, withOffice);
        QFETCH(QString, nameTitle);
        QFETCH(QStringList, forms);
        OptionsMachine m(BookKind(kind), withOffice);
        ProductOptionsPane* pane = m.showPane();
        QCOMPARE(pane->layoutKey(), QStringLiteral("TfrmOptionsKaltro"));
        QCOMPARE(pane->optionPages()->currentWidget(), pane->generalPage());
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Общие"));
        QCOMPARE(pane->pageTree()->topLevelItemCount(), 2);
        QCOMPARE(pane->pageTree()->topLevelItem(1)->text(0), QStringLiteral("Печать"));
        QCOMPARE(pane->storeCaptionGroup()->title(), nameTitle);
        QCOMPARE(pane->paymentOptionsPanel()->isVisibleTo(pane), kind == 0);
        QVERIFY(pane->issueAutoNumberingCheck()->isVisibleTo(pane));
        QVERIFY(!pane->issueAutoNumberingCheck()->isChecked());
        QVERIFY(!pane->oneSignatureCheck()->isChecked());
        QCOMPARE(pane->oneSignatureTextEdit()->text(), QStringLiteral("Право одной подписи"));

        QVERIFY(pane->simpleFormsCheck()->isChecked());
        QVERIFY(pane->templatesCheck()->isChecked());
        QVERIFY(pane->simpleFormsGroup()->isVisibleTo(pane->printPage()));
        QVERIFY(pane->templatesGroup()->isVisibleTo(pane->printPage()));
        // The book's choice shows whether or not the program is here; its lack is told.
        QVERIFY(pane->wordCheck()->isChecked());
        QVERIFY(pane->writerCheck()->isChecked());
        QCOMPARE(pane->wordMissingLabel()->isVisibleTo(pane->printPage()), !withOffice);
        QCOMPARE(pane->writerMissingLabel()->isVisibleTo(pane->printPage()), !withOffice);
        QCOMPARE(configureForms(pane, false), forms);

        QVERIFY(m.machine.messages.isEmpty());
        QVERIFY(!fakeOfficeStarted(m.officeFolder.path()));
    }

    // Options stored before show on the pane as they read.
    void thePaneShowsTheStoredOptions() {
        OptionsMachine m(BookKind::BankAccount, true);
        m.store("IssueAutoNum", "True");
        m.store("OneSignFlag", "-1");
        m.store("OneSignText", QStringLiteral("Подпись директора"));
        m.store("Print.UseQReports", "0");
        m.store("Print.UseZOMGReports_MOW", "False");
        ProductOptionsPane* pane = m.showPane();
        QVERIFY(pane->issueAutoNumberingCheck()->isChecked());
        QVERIFY(pane->oneSignatureCheck()->isChecked());
        QCOMPARE(pane->oneSignatureTextEdit()->text(), QStringLiteral("Подпись директора"));
        QVERIFY(!pane->simpleFormsCheck()->isChecked());
        QVERIFY(!pane->simpleFormsGroup()->isVisibleTo(pane->printPage()));
        QVERIFY(pane->templatesCheck()->isChecked());
        QVERIFY(pane->templatesGroup()->isVisibleTo(pane->printPage()));
        QVERIFY(!pane->wordCheck()->isChecked());
        QVERIFY(pane->writerCheck()->isChecked());
    }

    // Closing the pane stores the common options, then the product's keys in their order, the
    // flags as "-1" and "0", Word and Writer only when changed; nothing is stored while the
    // pane shows.
    void savingWritesTheKeysInOrder() {
        OptionsMachine m(BookKind::BankAccount, true);
        ProductOptionsPane* pane = m.showPane();
        pane->issueAutoNumberingCheck()->setChecked(true);
        pane->oneSignatureCheck()->setChecked(false);
        pane->oneSignatureTextEdit()->setText(QStringLiteral("Одна подпись"));
        pane->simpleFormsCheck()->setChecked(false);
        pane->wordCheck()->click();
        QVERIFY(m.stored("IssueAutoNum").isEmpty());
        QVERIFY(m.stored("Print.UseQReports").isEmpty());
        m.closePane();
        const QStringList expected{
            "RezFolder=",
            "IssueAutoNum=-1",
            "OneSignFlag=0",
            QStringLiteral("OneSignText=Одна подпись"),
            "Print.UseQReports=0",
            "Print.UseZOMGReports=-1",
            "Print.UseZOMGReports_MOW=0",
        };
        QCOMPARE(m.records().mid(m.records().size() - expected.size()), expected);
        QVERIFY(m.records().filter("Print.UseZOMGReports_OOW").isEmpty());
        QVERIFY(!ProductOptions(DataStore::instance()).useSimpleForms());
        QVERIFY(m.machine.messages.isEmpty());
    }

    // The group of a way of printing shows while its box is ticked, from the page as loaded
    // and after every click.
    void theGroupsFollowTheirBoxes_data() {
        QTest::addColumn<QString>("simple");
        QTest::addColumn<QString>("templates");
        QTest::newRow("both on") << "-1"
                                 << "-1";
        QTest::newRow("simple off") << "0"
                                    << "-1";
        QTest::newRow("templates off") << "-1"
                                       << "0";
        QTest::newRow("both off") << "0"
                                  << "False";
    }
    void theGroupsFollowTheirBoxes() {
        QFETCH(QString, simple);
        QFETCH(QString, templates);
        OptionsMachine m(BookKind::CashDesk, true);
        m.store("Print.UseQReports", simple);
        m.store("Print.UseZOMGReports", templates);
        ProductOptionsPane* pane = m.showPane();
        const auto follow = [pane] {
            return pane->simpleFormsGroup()->isVisibleTo(pane->printPage()) ==
                       pane->simpleFormsCheck()->isChecked() &&
                   pane->templatesGroup()->isVisibleTo(pane->printPage()) ==
                       pane->templatesCheck()->isChecked();
        };
        QCOMPARE(pane->simpleFormsCheck()->isChecked(), simple == "-1");
        QCOMPARE(pane->templatesCheck()->isChecked(), templates == "-1");
        QVERIFY(follow());
        for (QCheckBox* box : {pane->simpleFormsCheck(), pane->templatesCheck(),
                               pane->simpleFormsCheck(), pane->templatesCheck()}) {
            const bool was = box->isChecked();
            box->click();
            QCOMPARE(box->isChecked(), !was);
            QVERIFY(follow());
        }
    }

    // Ticking Word or Writer keeps the tick while the office program is there; without it the
    // warning shows and the tick goes. Unticking asks nothing. Nothing is ever started. A box
    // back where it was loaded stores nothing.
    void theWordProcessorBoxesNeedTheOffice_data() {
        QTest::addColumn<bool>("word");
        QTest::addColumn<bool>("withOffice");
        QTest::addColumn<QString>("warning");
        QTest::newRow("Word with office") << true << true << "";
        QTest::newRow("Word without office") << true << false << kNoWord;
        QTest::newRow("Writer with office") << false << true << "";
        QTest::newRow("Writer without office") << false << false << kNoWriter;
    }
    void theWordProcessorBoxesNeedTheOffice() {
        QFETCH(bool, word);
        QFETCH(bool, withOffice);
        QFETCH(QString, warning);
        OptionsMachine m(BookKind::BankAccount, withOffice);
        ProductOptionsPane* pane = m.showPane();
        QCheckBox* box = word ? pane->wordCheck() : pane->writerCheck();
        QCheckBox* other = word ? pane->writerCheck() : pane->wordCheck();
        if (box->isChecked()) {
            box->click();
            QVERIFY(!box->isChecked());
        }
        QVERIFY(m.machine.messages.isEmpty());
        box->click();
        QCOMPARE(box->isChecked(), withOffice);
        QCOMPARE(m.machine.messages, warning.isEmpty() ? QStringList() : QStringList{warning});
        QVERIFY(other->isChecked());
        m.closePane();
        QCOMPARE(m.stored(word ? "Print.UseZOMGReports_MOW" : "Print.UseZOMGReports_OOW"),
                 withOffice ? QString() : QStringLiteral("0"));
        QVERIFY(m.stored(word ? "Print.UseZOMGReports_OOW" : "Print.UseZOMGReports_MOW").isEmpty());
        QVERIFY(!fakeOfficeStarted(m.officeFolder.path()));
    }

    // On a machine without the office program the boxes show the book's choice as stored,
    // with the program's lack told beside them, and closing the pane keeps the choice of the
    // other desktops: a box is written only when the user changed it.
    void theStoredChoiceStaysOnAMachineWithoutTheProgram_data() {
        QTest::addColumn<bool>("withOffice");
        QTest::addColumn<QString>("word");   // stored before
        QTest::addColumn<QString>("writer"); // stored before
        QTest::addColumn<bool>("untickWord");
        QTest::addColumn<QString>("wordAfter");
        QTest::addColumn<QString>("writerAfter");
        QTest::newRow("both chosen") << false << "-1"
                                     << "True" << false << "-1"
                                     << "True";
        QTest::newRow("both refused") << false << "0"
                                      << "False" << false << "0"
                                      << "False";
        QTest::newRow("nothing stored") << false << ""
                                        << "" << false << ""
                                        << "";
        QTest::newRow("Word unticked") << false << "-1"
                                       << "-1" << true << "0"
                                       << "-1";
        QTest::newRow("with the program") << true << "True"
                                          << "0" << false << "True"
                                          << "0";
    }
    void theStoredChoiceStaysOnAMachineWithoutTheProgram() {
        QFETCH(bool, withOffice);
        QFETCH(QString, word);
        QFETCH(QString, writer);
        QFETCH(bool, untickWord);
        QFETCH(QString, wordAfter);
        QFETCH(QString, writerAfter);
        OptionsMachine m(BookKind::BankAccount, withOffice);
        if (!word.isEmpty())
            m.store("Print.UseZOMGReports_MOW", word);
        if (!writer.isEmpty())
            m.store("Print.UseZOMGReports_OOW", writer);
        ProductOptionsPane* pane = m.showPane();
        const auto chosen = [](const QString& text) { return text != "0" && text != "False"; };
        QCOMPARE(pane->wordCheck()->isChecked(), chosen(word));
        QCOMPARE(pane->writerCheck()->isChecked(), chosen(writer));
        for (QLabel* label : {pane->wordMissingLabel(), pane->writerMissingLabel()}) {
            QCOMPARE(label->isVisibleTo(pane->printPage()), !withOffice);
            QVERIFY(label->text().contains(QStringLiteral("не найден LibreOffice")));
        }
        if (untickWord)
            pane->wordCheck()->click();
        m.closePane();
        QCOMPARE(m.stored("Print.UseZOMGReports_MOW"), wordAfter);
        QCOMPARE(m.stored("Print.UseZOMGReports_OOW"), writerAfter);
        // The documents' print still asks whether the program is here.
        const ProductOptions options(DataStore::instance());
        QCOMPARE(options.useWord(), withOffice && chosen(wordAfter));
        QCOMPARE(options.useWriter(), withOffice && chosen(writerAfter));
        QVERIFY(m.machine.messages.isEmpty());
    }

    // Unticking a form and pressing OK stores it at once, before the pane closes; the document
    // window's list no longer offers it, and the dialog opens with it unticked.
    void aFormUntickedIsStoredAtOnce() {
        OptionsMachine m(BookKind::BankAccount, true);
        ProductOptionsPane* pane = m.showPane();
        configureForms(pane, true, [](QListWidget* list) {
            setForm(list, QStringLiteral("Платежное поручение - 3 экз. (Украина)"), false);
        });
        QCOMPARE(m.stored("Print.Use_TfrmPaymentIssue_TqrepPaymentIssue3"), QStringLiteral("0"));
        QCOMPARE(m.stored("Print.Use_TfrmPaymentIssue_TqrepPaymentIssue2"), QStringLiteral("-1"));
        QCOMPARE(m.stored("Print.Use_TfrmPaymentIncome_TqrepPaymentIncome"), QStringLiteral("-1"));
        const ProductOptions options(DataStore::instance());
        QCOMPARE(options.simplePrintForms("TfrmPaymentIssue"),
                 (QStringList{"Платежное поручение - 2 экз. (Украина)",
                              "Платежное поручение - 2 экз. (Россия)",
                              "Платежное поручение - 3 экз. (Россия)"}));
        QCOMPARE(options.simplePrintFormClass("TfrmPaymentIssue", 1),
                 QStringLiteral("TqrepPaymentIssue_ru2"));
        QStringList lines = kBankAccountLines;
        lines[5] = "[ ] Платежное поручение - 3 экз. (Украина)";
        QCOMPARE(configureForms(pane, false), lines);
        QCOMPARE(pane, m.main->currentPane());
        QVERIFY(m.machine.messages.isEmpty());
    }

    // Отмена stores nothing, whatever was unticked.
    void cancelStoresNothing() {
        OptionsMachine m(BookKind::BankAccount, true);
        ProductOptionsPane* pane = m.showPane();
        configureForms(pane, false, [](QListWidget* list) {
            setForm(list, QStringLiteral("Платежное поручение (Украина)"), false);
        });
        QVERIFY(m.stored("Print.Use_TfrmPaymentIncome_TqrepPaymentIncome").isEmpty());
        QCOMPARE(configureForms(pane, false), kBankAccountLines);
    }

    // A heading line cannot be ticked, so it stores nothing.
    void aHeadingCannotBeTicked() {
        OptionsMachine m(BookKind::CashDesk, true);
        ProductOptionsPane* pane = m.showPane();
        configureForms(pane, true, [](QListWidget* list) {
            QListWidgetItem* heading = list->item(0);
            QVERIFY(!(heading->flags() & Qt::ItemIsUserCheckable));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(heading).center());
            QCOMPARE(heading->data(Qt::CheckStateRole), QVariant());
        });
        const QStringList records = m.records();
        QCOMPARE(records.filter("Print.Use_").size(), 4);
        QCOMPARE(records.filter("=-1").filter("Print.Use_").size(), 4);
    }

    // With every form of a document window unticked the window offers none; the other keeps
    // its forms.
    void noFormLeftForAWindow() {
        OptionsMachine m(BookKind::CashDesk, true);
        ProductOptionsPane* pane = m.showPane();
        configureForms(pane, true, [](QListWidget* list) {
            setForm(list, QStringLiteral("Приходный кассовый ордер (Украина)"), false);
            setForm(list, QStringLiteral("Приходный кассовый ордер (Россия)"), false);
        });
        const ProductOptions options(DataStore::instance());
        QCOMPARE(testsupport::messageOf([&] { options.simplePrintForms("TfrmKassOrderPrih"); }),
                 QStringLiteral("Нет подключенных простых печатных форм! Подключите их в опциях "
                                "программы."));
        QCOMPARE(options.simplePrintForms("TfrmKassOrderRash").size(), 2);
    }

    // The button of the simple forms leaves room beside its caption, in the pane's own font.
    void theConfigureButtonFitsItsCaption() {
        OptionsMachine m(BookKind::BankAccount, true);
        ProductOptionsPane* pane = m.showPane();
        pane->pageTree()->setCurrentItem(pane->pageTree()->topLevelItem(1));
        QPushButton* button = pane->configureSimpleFormsButton();
        QTRY_VERIFY(button->isVisible());
        QVERIFY(button->font().bold());
        const QFontMetrics metrics(button->font());
        const int room = button->width() - metrics.horizontalAdvance(button->text());
        QVERIFY2(room >= 2 * metrics.horizontalAdvance(u'о'), qPrintable(QString::number(room)));
    }

    // The pane shows its general page each time it is prepared.
    void prepareShowsTheGeneralPage() {
        OptionsMachine m(BookKind::CashDesk, true);
        ProductOptionsPane* pane = m.showPane();
        pane->pageTree()->setCurrentItem(pane->pageTree()->topLevelItem(1));
        QCOMPARE(pane->optionPages()->currentWidget(), pane->printPage());
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Печать"));
        pane->prepare();
        QCOMPARE(pane->optionPages()->currentWidget(), pane->generalPage());
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Общие"));
        QCOMPARE(pane->pageTree()->topLevelItemCount(), 2);
    }
};

QTEST_MAIN(TestProductOptionsPane)
#include "test_product_options_pane.moc"
