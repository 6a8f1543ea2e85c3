#include "tests/support/documents/document_machine.h"

#include "core/key_value_text.h"
#include "documents/cash_order_windows.h"
#include "documents/document_partner_lookup.h"
#include "documents/lookup_popup.h"
#include "documents/payment_type_lookup.h"
#include "documents/payment_windows.h"
#include "store/cash_documents.h"
#include "store/data_store.h"
#include "tests/support/documents/dictionary_machine.h"
#include "tests/support/shell/book_machine.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

DateTime march(int day) {
    return datetime::encode(QDate(2024, 3, day), QTime(10, 0));
}

QStringList purposesOf(DocumentWindow* window) {
    QStringList lines;
    for (const QString& line : window->document().purposes)
        lines << line;
    return lines;
}

// The field whose lookup is shown: "partnerEdit", "paymentTypeEdit", or empty for none.
QString lookupOver(DocumentWindow* window) {
    settle();
    LookupPopup* lookup = shownLookup(window);
    if (!lookup)
        return QString();
    if (qobject_cast<DocumentPartnerLookup*>(lookup))
        return window->partnerEdit()->objectName();
    if (qobject_cast<PaymentTypeLookup*>(lookup))
        return window->paymentTypeEdit()->objectName();
    return QStringLiteral("?");
}

void closeLookup(DocumentWindow* window) {
    if (LookupPopup* lookup = shownLookup(window))
        QTest::keyClick(lookup->filterEdit(), Qt::Key_Escape);
    settle();
}

} // namespace

class TestDocumentFields : public QObject {
    Q_OBJECT

    std::unique_ptr<DocumentMachine> m;

    // The text of the last dialog; empty when none was shown.
    QString lastMessage() const { return m->dialogs.texts.value(m->dialogs.texts.size() - 1); }
    QMap<QString, int> m_partners;

    void startBook(BookKind kind) {
        m.reset(); // one data store at a time
        m = std::make_unique<DocumentMachine>(kind);
        for (const char* name : {"Альфа", "Бета", "Гамма"})
            m_partners[QString::fromUtf8(name)] = m->addPartner(kPayer, QString::fromUtf8(name));
        m_partners["Получатель"] = m->addPartner(kRecipient, QStringLiteral("Получатель"));
        for (const char* name : {"Аренда", "Взнос", "Премия"})
            m->addPaymentType(kIncome, QString::fromUtf8(name));
        m->addPaymentType(kIssue, QStringLiteral("Зарплата"));
    }

    int stored(const QString& partner, const QString& reason, int day,
               const QStringList& purposes = {}, int type = kIncome) {
        StoredDocument d;
        d.type = type;
        d.partner = m_partners.value(partner);
        d.reason = reason;
        d.amount = 10;
        d.date = march(day);
        d.purposes = purposes;
        return m->addDocument(d);
    }

    // A new document of kind, its window active and its number edit focused.
    DocumentWindow* openActive(DocumentKind kind) {
        DocumentWindow* window = DocumentWindow::openNew(kind);
        activate(window);
        settle();
        return window;
    }

    // The partner chosen through the lookup that opens on the partner field.
    void choosePartner(DocumentWindow* window, const QString& name) {
        window->partnerEdit()->setFocus(Qt::TabFocusReason);
        settle();
        chooseInLookup(window, name);
    }

private slots:
    void cleanup() { m.reset(); }

    void kindsOfTheBooks() {
        QCOMPARE(documentKindOf(1, 0), DocumentKind::IncomingPayment);
        QCOMPARE(documentKindOf(2, 0), DocumentKind::PaymentOrder);
        QCOMPARE(documentKindOf(1, 1), DocumentKind::CashReceipt);
        QCOMPARE(documentKindOf(2, 1), DocumentKind::CashDisbursement);
        for (DocumentKind kind : {DocumentKind::IncomingPayment, DocumentKind::PaymentOrder,
                                  DocumentKind::CashReceipt, DocumentKind::CashDisbursement})
            QCOMPARE(documentKindOf(documentType(kind), kind == DocumentKind::CashReceipt ||
                                                            kind == DocumentKind::CashDisbursement),
                     kind);
    }

    // ---- Lookups ----

    // The lookups open when the user moves into their field, never when the focus comes back
    // from the pop-up or with the window; one chosen moves on and opens the next one.
    void lookupsOpenWhenTheUserMovesIn() {
        startBook(BookKind::BankAccount);
        DocumentWindow* window = openActive(DocumentKind::IncomingPayment);
        QCOMPARE(lookupOver(window), QString());
        QTest::keyClick(window->numberEdit(), Qt::Key_Tab);
        QCOMPARE(window->focusWidget(), window->dateEdit());
        QTest::keyClick(window->dateEdit(), Qt::Key_Tab);
        QCOMPARE(lookupOver(window), "partnerEdit");
        chooseInLookup(window, QStringLiteral("бет"));
        QCOMPARE(window->partnerEdit()->text(), "Бета");
        QCOMPARE(window->document().partner, m_partners["Бета"]);
        QCOMPARE(lookupOver(window), "paymentTypeEdit"); // moved on into the payment type
        closeLookup(window);                             // cancelled: on to the amount
        QCOMPARE(lookupOver(window), QString());
        QCOMPARE(window->focusWidget(), window->amountEdit());

        window->partnerEdit()->setFocus(Qt::OtherFocusReason);
        QCOMPARE(lookupOver(window), QString());
        window->partnerEdit()->setFocus(Qt::ActiveWindowFocusReason);
        window->partnerEdit()->setFocus(Qt::PopupFocusReason);
        QCOMPARE(lookupOver(window), QString());
        window->findChild<QToolButton*>("partnerButton")->click();
        QCOMPARE(lookupOver(window), "partnerEdit");
        closeLookup(window);
        QTest::keyClick(window->amountEdit(), Qt::Key_Backtab);
        QCOMPARE(lookupOver(window), "paymentTypeEdit");
        closeLookup(window);

        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // A read-only window opens no lookup, and its fields write nothing when left.
    void viewingOpensNoLookup() {
        startBook(BookKind::CashDesk);
        const int key = stored("Альфа", "Аренда", 3);
        DocumentWindow* window = DocumentWindow::openExisting(DocumentKind::CashReceipt, key);
        const CashDocument read = window->document();
        activate(window);
        window->findChild<QToolButton*>("partnerButton")->click();
        window->partnerEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(lookupOver(window), QString());
        QCOMPARE(m->dialogs.texts, QStringList{});
        QVERIFY(window->document() == read);
        window->close();
    }

    void partnerNotFound_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Answer>("create");
        QTest::addColumn<bool>("stored"); // OK in the partner card
        QTest::addColumn<QString>("partner");
        QTest::newRow("not created")
            << int(DocumentKind::IncomingPayment) << Answer::Cancel << false << "";
        QTest::newRow("card cancelled")
            << int(DocumentKind::IncomingPayment) << Answer::Ok << false << "";
        QTest::newRow("a new payer")
            << int(DocumentKind::IncomingPayment) << Answer::Ok << true << "Новая фирма";
        QTest::newRow("a new recipient")
            << int(DocumentKind::PaymentOrder) << Answer::Ok << true << "Новая фирма";
    }
    // A name that no partner has: the partner card on "Создать нового партнера?"; without a new
    // partner the lookup says so and opens again.
    void partnerNotFound() {
        QFETCH(int, kind);
        QFETCH(Answer, create);
        QFETCH(bool, stored);
        QFETCH(QString, partner);
        startBook(BookKind::BankAccount);
        DocumentWindow* window = openActive(DocumentKind(kind));
        m->answers["Создать нового партнера?"] = create;
        if (create == Answer::Ok)
            whenNextDialogShows([stored](QDialog& card) {
                card.findChild<QPushButton*>(stored ? "okButton" : "cancelButton")->click();
            });
        choosePartner(window, QStringLiteral("Новая фирма"));
        QCOMPARE(m->dialogs.texts.first(), "Создать нового партнера?");
        QCOMPARE(m->dialogs.requests.first().caption, "Добавление");
        QCOMPARE(m->dialogs.requests.first().buttons, Buttons::OkCancel);
        QCOMPARE(window->partnerEdit()->text(), partner);
        if (!stored) {
            QCOMPARE(lastMessage(),
                     "Выберите Партнера из существующего списка или добавьте нового!");
            QCOMPARE(lookupOver(window), "partnerEdit");
            QCOMPARE(shownLookup(window)->filterEdit()->text(), QString());
            closeLookup(window);
            QCOMPARE(window->document().partner, 0);
        } else {
            const int key = window->document().partner;
            QCOMPARE(
                m->value(
                    QStringLiteral("SELECT TYP || ' ' || LNAM FROM PARTS WHERE PRKEY=%1").arg(key)),
                QStringLiteral("%1 Новая фирма").arg(documentType(DocumentKind(kind))));
            QCOMPARE(lookupOver(window), "paymentTypeEdit");
            closeLookup(window);
        }
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    void paymentTypeNotFound_data() {
        QTest::addColumn<Answer>("add");
        QTest::addColumn<bool>("stored"); // OK in the payment type card
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("added"); // REASONS rows of income added
        QTest::newRow("added") << Answer::Yes << true << "Субаренда" << 1;
        QTest::newRow("card cancelled") << Answer::Yes << false << "Аренда" << 0;
        QTest::newRow("taken as typed") << Answer::No << false << "Субаренда" << 0;
    }
    void paymentTypeNotFound() {
        QFETCH(Answer, add);
        QFETCH(bool, stored);
        QFETCH(QString, reason);
        QFETCH(int, added);
        startBook(BookKind::CashDesk);
        const int types = m->count("SELECT COUNT(*) FROM REASONS WHERE TYP=1");
        DocumentWindow* window = openActive(DocumentKind::CashReceipt);
        window->choosePaymentType(QStringLiteral("Аренда"));
        m->answers["Добавлять этот тип платежа в справочник или нет?"] = add;
        if (add == Answer::Yes)
            whenNextDialogShows([stored](QDialog& card) {
                card.findChild<QPushButton*>(stored ? "okButton" : "cancelButton")->click();
            });
        window->paymentTypeEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(lookupOver(window), "paymentTypeEdit");
        chooseInLookup(window, QStringLiteral("Субаренда"));
        QCOMPARE(m->dialogs.texts, QStringList{"Добавлять этот тип платежа в справочник или нет?"});
        QCOMPARE(window->document().paymentType, reason);
        QCOMPARE(window->paymentTypeEdit()->text(), reason);
        QCOMPARE(m->count("SELECT COUNT(*) FROM REASONS WHERE TYP=1"), types + added);
        if (added)
            QCOMPARE(m->count("SELECT COUNT(*) FROM REASONS WHERE REASON='Субаренда' AND TYP=1"),
                     1);
        QCOMPARE(window->focusWidget(), static_cast<CashOrderWindow*>(window)->accountEdit());
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // A payment type that is not in the list is kept without a question when it is typed again
    // as it stands; an empty list with nothing typed is no choice: a warning, and the lookup
    // opens again.
    void paymentTypeKeptAsItStands() {
        startBook(BookKind::CashDesk);
        DocumentWindow* window = openActive(DocumentKind::CashReceipt);
        window->choosePaymentType(QStringLiteral("Старый тип"));
        window->paymentTypeEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(lookupOver(window), "paymentTypeEdit");
        LookupPopup* lookup = shownLookup(window);
        QCOMPARE(lookup->filterEdit()->text(), "Старый тип");
        retype(lookup->filterEdit(), QStringLiteral("Старый тип"));
        QTest::keyClick(lookup->filterEdit(), Qt::Key_Return);
        settle();
        QCOMPARE(m->dialogs.texts, QStringList{});
        QCOMPARE(window->document().paymentType, "Старый тип");

        m->execute("UPDATE REASONS SET REASON='?' || REASON"); // every type hidden
        window->choosePaymentType(QString());
        window->paymentTypeEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(lookupOver(window), "paymentTypeEdit");
        QTest::keyClick(shownLookup(window)->filterEdit(), Qt::Key_Return);
        settle();
        QCOMPARE(m->dialogs.texts,
                 QStringList{"Выберите Тип платежа из существующего списка или добавьте новый!"});
        QCOMPARE(lookupOver(window), "paymentTypeEdit");
        closeLookup(window);
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // ---- The partner and payment-type rules ----

    // A partner brings the payment type of its latest other document of the type (of two on
    // one date the later entered) and, in a payment, the purposes of the latest document with
    // that type; another type brings its own purposes or empties them; a partner without
    // documents leaves the type as it was.
    void partnerAndPaymentTypeRulesOfPayments() {
        startBook(BookKind::BankAccount);
        stored("Альфа", "Аренда", 1, {"аренда 1"});
        stored("Альфа", "Аренда", 5, {"аренда 5", "вторая"});
        stored("Альфа", "Взнос", 5, {"взнос 5"});
        stored("Альфа", "Премия", 9, {"чужая премия"}, kIssue); // another type of document
        stored("Гамма", "Взнос", 20, {"не того партнера"});
        DocumentWindow* window = openActive(DocumentKind::IncomingPayment);
        choosePartner(window, QStringLiteral("Альфа"));
        QCOMPARE(window->document().paymentType, "Взнос");
        QCOMPARE(window->paymentTypeEdit()->text(), "Взнос");
        QCOMPARE(purposesOf(window), (QStringList{"взнос 5", "", ""}));
        auto* payment = static_cast<PaymentWindow*>(window);
        QCOMPARE(payment->purposeEdit(0)->text(), "взнос 5");

        chooseInLookup(window, QStringLiteral("Аренда")); // the type's lookup opened by itself
        QCOMPARE(purposesOf(window), (QStringList{"аренда 5", "вторая", ""}));
        QCOMPARE(window->focusWidget(), window->amountEdit());
        window->paymentTypeEdit()->setFocus(Qt::TabFocusReason);
        chooseInLookup(window, QStringLiteral("Премия"));
        QCOMPARE(purposesOf(window), (QStringList{"", "", ""}));
        QCOMPARE(payment->purposeEdit(0)->text(), QString());

        choosePartner(window, QStringLiteral("Бета"));
        closeLookup(window);
        QCOMPARE(window->document().paymentType, "Премия");
        QCOMPARE(window->partnerEdit()->text(), "Бета");
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // The document being corrected does not give its own payment type.
    void partnerRuleLeavesTheDocumentItselfOut() {
        startBook(BookKind::BankAccount);
        const int key = stored("Альфа", "Взнос", 10, {"сам"});
        stored("Альфа", "Аренда", 1, {"старый"});
        DocumentWindow* window = DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        activate(window);
        window->editButton()->click();
        choosePartner(window, QStringLiteral("Альфа"));
        QCOMPARE(window->document().paymentType, "Аренда");
        QCOMPARE(purposesOf(window), (QStringList{"старый", "", ""}));
        closeLookup(window);
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // Cash orders take the partner's payment type but never touch their text lines.
    void cashOrdersKeepTheirLines() {
        startBook(BookKind::CashDesk);
        stored("Альфа", "Взнос", 5, {"взнос 5"});
        DocumentWindow* window = openActive(DocumentKind::CashReceipt);
        auto* order = static_cast<CashOrderWindow*>(window);
        order->purposeEdit(1)->setFocus(Qt::OtherFocusReason);
        retype(order->purposeEdit(1), QStringLiteral("основание"));
        QTest::keyClick(order->purposeEdit(1), Qt::Key_Tab);
        choosePartner(window, QStringLiteral("Альфа"));
        QCOMPARE(window->document().paymentType, "Взнос");
        chooseInLookup(window, QStringLiteral("Аренда"));
        QCOMPARE(window->document().paymentType, "Аренда");
        QCOMPARE(purposesOf(window), (QStringList{"", "основание", ""}));
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // ---- Enter and the order of the fields ----

    void enterMovesInTheFieldOrder_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("order"); // after the number, up to where Enter ends
        QTest::newRow("incoming payment")
            << int(DocumentKind::IncomingPayment)
            << QStringList{"dateEdit", "partnerEdit", "paymentTypeEdit", "amountEdit",
                           "saveButton"};
        QTest::newRow("payment order")
            << int(DocumentKind::PaymentOrder)
            << QStringList{"dateEdit",     "partnerEdit",  "paymentTypeEdit", "amountEdit",
                           "purposeEdit1", "purposeEdit2", "purposeEdit3",    "saveButton"};
        QTest::newRow("cash receipt")
            << int(DocumentKind::CashReceipt)
            << QStringList{"dateEdit",      "partnerEdit",  "paymentTypeEdit", "accountEdit",
                           "analyticsEdit", "purposeEdit1", "amountEdit",      "taxEdit",
                           "purposeEdit2",  "purposeEdit3", "saveButton"};
        QTest::newRow("cash disbursement")
            << int(DocumentKind::CashDisbursement)
            << QStringList{"dateEdit",      "partnerEdit", "paymentTypeEdit", "accountEdit",
                           "analyticsEdit", "amountEdit",  "purposeEdit1",    "purposeEdit2",
                           "purposeEdit3",  "saveButton"};
    }
    void enterMovesInTheFieldOrder() {
        QFETCH(int, kind);
        QFETCH(QStringList, order);
        const DocumentKind documentKind = DocumentKind(kind);
        const bool cash = documentKind == DocumentKind::CashReceipt ||
                          documentKind == DocumentKind::CashDisbursement;
        startBook(cash ? BookKind::CashDesk : BookKind::BankAccount);
        DocumentWindow* window = openActive(documentKind);
        QCOMPARE(window->focusWidget(), window->numberEdit());
        QWidget* field = window->numberEdit();
        QStringList reached;
        for (int step = 0; step < order.size(); ++step) {
            QTest::keyClick(field, Qt::Key_Return);
            settle();
            field = window->focusWidget();
            reached << field->objectName();
            if (shownLookup(window)) {
                QCOMPARE(lookupOver(window), field->objectName()); // entered, it opens
                delete shownLookup(window);
                settle();
            }
        }
        QCOMPARE(reached, order);
        // Tab follows the same order through the fields
        QStringList tabbed;
        for (QWidget* w = window->numberEdit()->nextInFocusChain();
             tabbed.size() < order.size() - 1; w = w->nextInFocusChain())
            if (qobject_cast<QLineEdit*>(w) && w->window() == window)
                tabbed << w->objectName();
        QCOMPARE(tabbed, order.mid(0, order.size() - 1));
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->close();
    }

    // Enter on "Сохранить" saves.
    void enterOnSaveSaves() {
        startBook(BookKind::BankAccount);
        QPointer<DocumentWindow> window = openActive(DocumentKind::IncomingPayment);
        window->choosePartner(m_partners["Альфа"]);
        window->choosePaymentType(QStringLiteral("Взнос"));
        window->amountEdit()->setFocus(Qt::OtherFocusReason);
        retype(window->amountEdit(), QStringLiteral("8"));
        QTest::keyClick(window->amountEdit(), Qt::Key_Return);
        settle();
        QCOMPARE(QApplication::focusWidget(), window->saveButton());
        QTest::keyClick(window->saveButton(), Qt::Key_Return);
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(m->value("SELECT SUM1 FROM OPER"), "8");
    }

    // ---- Cash orders: the accounting fields and the tax ----

    void accountingFieldsInTheExtraText() {
        startBook(BookKind::CashDesk);
        QPointer<DocumentWindow> receipt = openActive(DocumentKind::CashReceipt);
        auto* order = static_cast<CashReceiptWindow*>(receipt.data());
        QCOMPARE(order->accountEdit()->text(), "301");
        QCOMPARE(getKeyValue(receipt->document().extra, "DT"), "301");
        order->analyticsEdit()->setFocus(Qt::OtherFocusReason);
        type(order->analyticsEdit(), QStringLiteral("A") + QChar(1) + QStringLiteral("7"));
        QTest::keyClick(order->analyticsEdit(), Qt::Key_Tab);
        QCOMPARE(receipt->document().extra,
                 QStringLiteral("DT=301") + QChar(1) + QStringLiteral("KT=A7") + QChar(1));
        order->accountEdit()->setFocus(Qt::OtherFocusReason);
        retype(order->accountEdit(), QString());
        QTest::keyClick(order->accountEdit(), Qt::Key_Tab);
        settle();
        QCOMPARE(receipt->document().extra,
                 QStringLiteral("KT=A7") + QChar(1) + QStringLiteral("DT=") + QChar(1));
        m->answers["Отменить изменения?"] = Answer::Yes;
        receipt->close();

        DocumentWindow* disbursement = openActive(DocumentKind::CashDisbursement);
        QCOMPARE(static_cast<CashOrderWindow*>(disbursement)->accountEdit()->text(), QString());
        QVERIFY(disbursement->document().extra.isEmpty());
        disbursement->close();

        StoredDocument d;
        d.partner = m_partners["Альфа"];
        d.extra = QStringLiteral("DT=302") + QChar(1) + QStringLiteral("KT=K9") + QChar(1);
        const int key = m->addDocument(d);
        auto* viewed = static_cast<CashOrderWindow*>(
            DocumentWindow::openExisting(DocumentKind::CashReceipt, key));
        QCOMPARE(viewed->accountEdit()->text(), "302");
        QCOMPARE(viewed->analyticsEdit()->text(), "K9");
        viewed->close();
    }

    // The tax part of a cash receipt is refused when negative and stored as typed; a payment
    // keeps the tax part it had.
    void taxPart() {
        startBook(BookKind::CashDesk);
        QPointer<DocumentWindow> receipt = openActive(DocumentKind::CashReceipt);
        QLineEdit* tax = static_cast<CashReceiptWindow*>(receipt.data())->taxEdit();
        tax->setFocus(Qt::OtherFocusReason);
        type(tax, QStringLiteral("-2"));
        QTest::keyClick(tax, Qt::Key_Tab);
        QCOMPARE(m->dialogs.texts, QStringList{"Число должно быть не отрицательным!"});
        QVERIFY(!receipt->document().taxPart);
        receipt->choosePartner(m_partners["Альфа"]);
        receipt->choosePaymentType(QStringLiteral("Взнос"));
        receipt->amountEdit()->setText(QStringLiteral("30"));
        tax->setText(QStringLiteral("5,5"));
        receipt->saveButton()->click();
        settle();
        QVERIFY(receipt.isNull());
        QCOMPARE(m->value("SELECT SUM1 || ' ' || SUM2 FROM OPER"), "30.0000 5.5000");

        startBook(BookKind::BankAccount);
        const int key = stored("Альфа", "Взнос", 3);
        m->execute(QStringLiteral("UPDATE OPER SET SUM2=7 WHERE PRKEY=%1").arg(key));
        QPointer<DocumentWindow> payment =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        payment->editButton()->click();
        payment->amountEdit()->setText(QStringLiteral("11"));
        payment->saveButton()->click();
        settle();
        QVERIFY(payment.isNull());
        QCOMPARE(m->value("SELECT SUM1 || ' ' || SUM2 FROM OPER"), "11.0000 7.0000");
    }

    // ---- Numbering ----

    void nextNumber_data() {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("next");
        QTest::newRow("a number") << "41"
                                  << "42";
        QTest::newRow("blanks around") << "  7 "
                                       << "8";
        QTest::newRow("leading zeros") << "0041"
                                       << "42";
        QTest::newRow("past 32 bits") << "4294967296"
                                      << "4294967297";
        QTest::newRow("a suffix") << "41a"
                                  << "1";
        QTest::newRow("letters") << "abc"
                                 << "1";
        QTest::newRow("empty") << ""
                               << "1";
        QTest::newRow("a sign") << "-3"
                                << "1";
        QTest::newRow("a blank inside") << "4 1"
                                        << "1";
        QTest::newRow("the last 64-bit number") << "9223372036854775807"
                                                << "1";
        QTest::newRow("past 64 bits") << "99999999999999999999"
                                      << "1";
    }
    void nextNumber() {
        QFETCH(QString, last);
        QFETCH(QString, next);
        QCOMPARE(nextDocumentNumber(last), next);
    }

    void newIssuesAreNumbered_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("number"); // of a new issue document
        QTest::newRow("on") << "-1"
                            << "42";
        QTest::newRow("on as a word") << "True"
                                      << "42";
        QTest::newRow("off") << "0"
                             << "";
        QTest::newRow("not set") << ""
                                 << "";
        QTest::newRow("no Boolean") << "yes"
                                    << "";
    }
    // The number after the latest issue document by date; of two on one date the later
    // entered; incoming documents never count, and are never numbered.
    void newIssuesAreNumbered() {
        QFETCH(QString, option);
        QFETCH(QString, number);
        for (BookKind book : {BookKind::BankAccount, BookKind::CashDesk}) {
            startBook(book);
            m->setOption("IssueAutoNum", option);
            const auto add = [this](int type, const QString& num, int day) {
                StoredDocument d;
                d.type = type;
                d.number = num;
                d.date = march(day);
                m->addDocument(d);
            };
            add(kIssue, "99", 1);
            add(kIssue, "17", 8);
            add(kIssue, "41", 8);
            add(kIncome, "500", 20);
            const bool bank = book == BookKind::BankAccount;
            DocumentWindow* issue = DocumentWindow::openNew(bank ? DocumentKind::PaymentOrder
                                                                 : DocumentKind::CashDisbursement);
            QCOMPARE(issue->numberEdit()->text(), number);
            QCOMPARE(issue->windowTitle(), (bank ? QStringLiteral("Платежное поручение № ")
                                                 : QStringLiteral("Расходный кассовый ордер № ")) +
                                               number);
            DocumentWindow* income = DocumentWindow::openNew(bank ? DocumentKind::IncomingPayment
                                                                  : DocumentKind::CashReceipt);
            QCOMPARE(income->numberEdit()->text(), QString());
            m->answers["Отменить изменения?"] = Answer::Yes;
            issue->close();
            income->close();
        }
    }

    void numberingEdgeCases() {
        startBook(BookKind::BankAccount);
        m->setOption("IssueAutoNum", "-1");
        CashDocuments documents(DataStore::instance());
        QCOMPARE(documents.proposedIssueNumber(), "1"); // none yet
        StoredDocument d;
        d.type = kIssue;
        d.number = "41a";
        d.date = march(3);
        m->addDocument(d);
        QCOMPARE(documents.proposedIssueNumber(), "1");
    }

    // ---- Rights ----

    void rightsOfTheCommands_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("rights");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("remove");
        QTest::newRow("everything") << int(DocumentKind::IncomingPayment) << "" << true << true;
        QTest::newRow("no correction")
            << int(DocumentKind::IncomingPayment) << "IncomeDoc3=N" << false << true;
        QTest::newRow("no delete")
            << int(DocumentKind::IncomingPayment) << "IncomeDoc4=N" << true << false;
        QTest::newRow("only \"N\" denies")
            << int(DocumentKind::IncomingPayment) << "IncomeDoc3=n" << true << true;
        QTest::newRow("other area")
            << int(DocumentKind::IncomingPayment) << "IssueDoc3=N" << true << true;
        QTest::newRow("issue") << int(DocumentKind::PaymentOrder) << "IssueDoc3=N" << false << true;
    }
    void rightsOfTheCommands() {
        QFETCH(int, kind);
        QFETCH(QString, rights);
        QFETCH(bool, edit);
        QFETCH(bool, remove);
        startBook(BookKind::BankAccount);
        setAdministratorText(m->machine.book, "DATA2",
                             rights.isEmpty() ? QString() : rights + QChar(1));
        const int key = stored("Альфа", "Взнос", 3, {}, documentType(DocumentKind(kind)));
        DocumentWindow* window = DocumentWindow::openExisting(DocumentKind(kind), key);
        QVERIFY(window->editButton()->isVisibleTo(window));
        QVERIFY(window->deleteButton()->isVisibleTo(window));
        QCOMPARE(window->editButton()->isEnabled(), edit);
        QCOMPARE(window->deleteButton()->isEnabled(), remove);
        window->close();
    }
};

QTEST_MAIN(TestDocumentFields)
#include "test_document_fields.moc"
