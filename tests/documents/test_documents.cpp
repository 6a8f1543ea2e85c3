#include "tests/support/documents/document_machine.h"

#include "core/exceptions.h"
#include "documents/document_browser.h"
#include "documents/document_partner_lookup.h"
#include "documents/payment_type_lookup.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/transaction.h"
#include "shell/document_windows.h"
#include "store/data_store.h"
#include "tests/support/documents/dictionary_machine.h"
#include "tests/support/shell/book_machine.h"
#include "ui/data_grid.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

const QString kChangedElsewhere =
    QStringLiteral("Документ изменен или удален в другом окне или другим пользователем, пока "
                   "был открыт здесь. Закройте окно без сохранения и откройте документ снова.");

DateTime march(int day) {
    return datetime::encode(QDate(2024, 3, day), QTime(10, 0));
}

// Types text over the whole content of an edit and leaves it by Tab.
void enter(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::OtherFocusReason);
    retype(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    settle();
}

QStringList visibleCommands(DocumentWindow* window) {
    QStringList names;
    for (QToolButton* button :
         {window->saveButton(), window->editButton(), window->deleteButton(), window->printButton(),
          window->historyButton(), window->closeButton()})
        if (button->isVisibleTo(window))
            names << button->text();
    return names;
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT

    std::unique_ptr<DocumentMachine> m;

    // The text of the last dialog; empty when none was shown.
    QString lastMessage() const { return m->dialogs.texts.value(m->dialogs.texts.size() - 1); }
    int m_payer = 0;
    int m_otherPayer = 0;

    // A stored incoming payment of the first payer.
    int storedIncome(const QString& number = QStringLiteral("7"), double amount = 100) {
        StoredDocument d;
        d.partner = m_payer;
        d.reason = QStringLiteral("Аренда");
        d.amount = amount;
        d.number = number;
        d.date = march(5);
        d.purposes = {QStringLiteral("за март")};
        return m->addDocument(d);
    }

    int historyRows(int document) {
        return m->count(QStringLiteral("SELECT COUNT(*) FROM HISTORY WHERE LDOC=%1").arg(document));
    }

    // A new incoming payment filled in so that it saves, its edits as the user left them.
    DocumentWindow* filledIncome() {
        DocumentWindow* window = DocumentWindow::openNew(DocumentKind::IncomingPayment);
        window->choosePartner(m_payer);
        window->choosePaymentType(QStringLiteral("Аренда"));
        window->amountEdit()->setText(QStringLiteral("12.5"));
        return window;
    }

private slots:
    void init() {
        m = std::make_unique<DocumentMachine>(BookKind::BankAccount);
        m_payer = m->addPartner(kPayer, QStringLiteral("Альфа"));
        m_otherPayer = m->addPartner(kPayer, QStringLiteral("Бета"));
        m->addPaymentType(kIncome, QStringLiteral("Аренда"));
        m->addPaymentType(kIncome, QStringLiteral("Взнос"));
    }

    void cleanup() {
        DocumentWindow::setPrintCommand({});
        m.reset();
    }

    // ---- Save-time checks ----

    void saveChecksInTheirOrder_data() {
        QTest::addColumn<bool>("partner");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << false << ""
                                 << ""
                                 << "Не указан партнер!";
        QTest::newRow("no partner, the rest given") << false << "Аренда"
                                                    << "5"
                                                    << "Не указан партнер!";
        QTest::newRow("no payment type") << true << ""
                                         << "5"
                                         << "Не указан тип платежа!";
        QTest::newRow("a type of blanks") << true << "   "
                                          << "5"
                                          << "Не указан тип платежа!";
        QTest::newRow("no amount") << true << "Аренда"
                                   << ""
                                   << "Не указана сумма!";
        QTest::newRow("an amount of 0 saves") << true << "Аренда"
                                              << "0"
                                              << "";
    }
    void saveChecksInTheirOrder() {
        QFETCH(bool, partner);
        QFETCH(QString, reason);
        QFETCH(QString, amount);
        QFETCH(QString, message);
        QPointer<DocumentWindow> window = DocumentWindow::openNew(DocumentKind::IncomingPayment);
        const int key = window->documentKey();
        if (partner)
            window->choosePartner(m_payer);
        window->choosePaymentType(reason);
        window->amountEdit()->setText(amount);
        window->saveButton()->click();
        settle();
        const int stored =
            m->count(QStringLiteral("SELECT COUNT(*) FROM OPER WHERE PRKEY=%1").arg(key));
        if (message.isEmpty()) {
            QVERIFY(window.isNull());
            QCOMPARE(stored, 1);
            QCOMPARE(m->value(QStringLiteral("SELECT SUM1 FROM OPER WHERE PRKEY=%1").arg(key)),
                     "0");
            return;
        }
        QCOMPARE(m->dialogs.texts, QStringList{message});
        QCOMPARE(m->dialogs.requests.first().caption, QStringLiteral("Сохранение"));
        QCOMPARE(m->dialogs.requests.first().icon, MessageIcon::Warning);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->state(), DocumentWindow::State::New);
        QCOMPARE(window->amountEdit()->text(), amount.isEmpty() ? QString() : formatAmount(5));
        QCOMPARE(stored, 0);
        QCOMPARE(historyRows(key), 0);
    }

    // A negative amount is refused where it is typed, and the value before it stays: an amount
    // typed before, or none, which the save still asks for; 0 is taken.
    void negativeAmountKeepsThePreviousValue_data() {
        QTest::addColumn<QString>("before"); // typed and left before the negative one
        QTest::addColumn<QString>("negative");
        QTest::addColumn<int>("times");   // the negative one typed and left
        QTest::addColumn<bool>("bySave"); // left by "Сохранить" instead of Tab
        QTest::newRow("12,5 then -3") << "12,5"
                                      << "-3" << 1 << false;
        QTest::newRow("12,5 then -3 saved") << "12,5"
                                            << "-3" << 1 << true;
        QTest::newRow("none then -3") << ""
                                      << "-3" << 1 << false;
        QTest::newRow("none then -3 twice") << ""
                                            << "-3" << 2 << false;
        QTest::newRow("none then -0,01 saved") << ""
                                               << "-0,01" << 1 << true;
    }
    void negativeAmountKeepsThePreviousValue() {
        QFETCH(QString, before);
        QFETCH(QString, negative);
        QFETCH(int, times);
        QFETCH(bool, bySave);
        const QString refused = QStringLiteral("Число должно быть не отрицательным!");
        const QString noAmount = QStringLiteral("Не указана сумма!");
        DocumentWindow* window = filledIncome();
        window->amountEdit()->clear();
        activate(window);
        enter(window->amountEdit(), before);
        const std::optional<Currency> previous = window->document().amount;
        QCOMPARE(!previous, before.isEmpty());
        for (int i = 0; i < times; ++i) {
            if (bySave) {
                window->amountEdit()->setFocus(Qt::OtherFocusReason);
                retype(window->amountEdit(), negative);
                window->saveButton()->click(); // the save writes the edit first and stops there
                settle();
            } else {
                enter(window->amountEdit(), negative);
            }
        }
        QCOMPARE(m->dialogs.texts, QStringList(times, refused));
        QVERIFY(window->document().amount == previous);
        QCOMPARE(window->amountEdit()->text(), before.isEmpty() ? QString() : formatAmount(12.5));
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 0);

        m->dialogs.texts.clear();
        window->saveButton()->click();
        settle();
        if (before.isEmpty()) {
            QCOMPARE(m->dialogs.texts, QStringList{noAmount});
            QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 0);
            enter(window->amountEdit(), QStringLiteral("0"));
            QVERIFY(window->document().amount == Currency{});
            window->saveButton()->click();
            settle();
        }
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 1);
        QCOMPARE(m->value("SELECT SUM1 FROM OPER"), before.isEmpty() ? "0" : "12.5");
    }

    void dateMustBeAValidDay_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("cleared") << ""
                                 << "";
        QTest::newRow("half typed") << "12.03.2"
                                    << "";
        QTest::newRow("no such day") << "30.02.2024"
                                     << "";
        QTest::newRow("no such month") << "01.13.2024"
                                       << "";
        QTest::newRow("a day") << "05.04.2024"
                               << "05.04.2024";
    }
    void dateMustBeAValidDay() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const DateTime now = march(20) + 0.25;
        datetime::setNowForTesting([now] { return now; });
        DocumentWindow* window = filledIncome();
        datetime::setNowForTesting({});
        QCOMPARE(window->document().date.value_or(0), now); // the time of day is kept
        QCOMPARE(window->dateEdit()->text(), "20.03.2024");
        activate(window);
        enter(window->dateEdit(), typed);
        if (stored.isEmpty()) {
            QCOMPARE(m->dialogs.texts, QStringList{"Укажите дату документа в виде ДД.ММ.ГГГГ!"});
            QCOMPARE(window->document().date.value_or(0), now);
            QCOMPARE(window->dateEdit()->text(), "20.03.2024");
            return;
        }
        QVERIFY(m->dialogs.texts.isEmpty());
        QCOMPARE(window->document().date.value_or(0),
                 datetime::encode(QDate::fromString(stored, "dd.MM.yyyy")));
    }

    // ---- Save, correction, delete, close ----

    // New: the head edits, "Сохранить" and "История"; saving stores the row with its one HISTORY
    // row, closes and names the new key.
    void newDocumentSavesAndCloses() {
        QPointer<DocumentWindow> window = filledIncome();
        QVERIFY(window->isWindow() && !window->parentWidget());
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QVERIFY(DocumentWindows::windows().contains(window.data()));
        QCOMPARE(visibleCommands(window), (QStringList{"Сохранить", "История", "Закрыть"}));
        QVERIFY(window->numberEdit()->isEnabled());
        const int key = window->documentKey();
        QVERIFY(key > 0);
        QSignalSpy closed(window.data(), &DocumentWindow::closed);
        window->numberEdit()->setText(QStringLiteral("15"));
        window->saveButton()->click();
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(closed.size(), 1);
        QCOMPARE(closed.first().first().toInt(), key);
        QVERIFY(m->dialogs.texts.isEmpty());
        QCOMPARE(m->value(QStringLiteral("SELECT TYP || ' ' || LPART || ' ' || REASON || ' ' || "
                                         "SUM1 || ' ' || NUM FROM OPER WHERE PRKEY=%1")
                              .arg(key)),
                 QStringLiteral("1 %1 Аренда 12.5000 15").arg(m_payer));
        QCOMPARE(
            m->value(
                QStringLiteral("SELECT TYP || ' ' || LUSER FROM HISTORY WHERE LDOC=%1").arg(key)),
            QStringLiteral("1 %1").arg(DataStore::instance().userKey()));
        QCOMPARE(historyRows(key), 1);
    }

    // A failed save keeps the window editing with all that was typed and writes nothing, no
    // HISTORY row either; the retry stores the document with one HISTORY row.
    void failedSaveKeepsTheWindowAndWritesNothing() {
        m->execute(QStringLiteral("CREATE EXCEPTION E_TEST_REFUSED 'Запись запрещена'"));
        m->execute(QStringLiteral("CREATE TRIGGER OPER_TEST_BI FOR OPER ACTIVE BEFORE INSERT "
                                  "POSITION 9 AS BEGIN EXCEPTION E_TEST_REFUSED; END"));
        QPointer<DocumentWindow> window = filledIncome();
        const int key = window->documentKey();
        window->numberEdit()->setText(QStringLiteral("A-1"));
        window->saveButton()->click();
        settle();
        QCOMPARE(m->dialogs.texts,
                 (QStringList{"Не могу сохранить введенные данные!", "Запись запрещена"}));
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->state(), DocumentWindow::State::New);
        QCOMPARE(window->numberEdit()->text(), "A-1");
        QCOMPARE(window->amountEdit()->text(), formatAmount(12.5));
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 0);
        QCOMPARE(historyRows(key), 0);
        window->amountEdit()->setText(QStringLiteral("13"));
        window->saveButton()->click(); // the row still takes what is typed
        settle();
        QCOMPARE(m->dialogs.texts.size(), 4);
        m->execute(QStringLiteral("DROP TRIGGER OPER_TEST_BI"));
        window->saveButton()->click();
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(
            m->value(QStringLiteral("SELECT NUM || ' ' || SUM1 FROM OPER WHERE PRKEY=%1").arg(key)),
            "A-1 13.0000");
        QCOMPARE(historyRows(key), 1);
    }

    // Viewing: read-only, no question on closing; "Коррекция" edits and asks even unchanged;
    // the corrected row is stored by its key.
    void correctionOfAStoredDocument() {
        const int key = storedIncome();
        QPointer<DocumentWindow> window =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        QCOMPARE(window->state(), DocumentWindow::State::Viewing);
        QCOMPARE(window->windowTitle(), "Приход на Р/С № 7");
        QCOMPARE(window->partnerEdit()->text(), "Альфа");
        QCOMPARE(window->paymentTypeEdit()->text(), "Аренда");
        QCOMPARE(window->amountEdit()->text(), formatAmount(100));
        QCOMPARE(window->dateEdit()->text(), "05.03.2024");
        QVERIFY(!window->numberEdit()->isEnabled());
        QCOMPARE(visibleCommands(window),
                 (QStringList{"Коррекция", "Удалить", "Печать", "История", "Закрыть"}));
        QVERIFY(!window->printButton()->isEnabled());

        window->editButton()->click();
        QCOMPARE(window->state(), DocumentWindow::State::Correcting);
        QVERIFY(window->numberEdit()->isEnabled());
        QCOMPARE(visibleCommands(window),
                 (QStringList{"Сохранить", "Печать", "История", "Закрыть"}));
        m->answers["Отменить изменения?"] = Answer::No;
        window->close();
        QCOMPARE(m->dialogs.texts, QStringList{"Отменить изменения?"});
        QCOMPARE(m->dialogs.requests.first().defaultButton, DefaultButton::Second);
        QVERIFY(window->isVisible());

        window->amountEdit()->setText(QStringLiteral("250.75"));
        window->numberEdit()->setText(QStringLiteral("7/1"));
        window->saveButton()->click();
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(m->value(QStringLiteral("SELECT NUM || ' ' || SUM1 || ' ' || REASON FROM OPER "
                                         "WHERE PRKEY=%1")
                              .arg(key)),
                 "7/1 250.7500 Аренда");
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 1);
        QCOMPARE(historyRows(key), 1); // the opening only
        QCOMPARE(m->dialogs.texts.size(), 1);
    }

    void closingAsksWhileEditing_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("correct");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<bool>("asks");
        QTest::newRow("viewed, closed") << true << false << false << false;
        QTest::newRow("viewed, Escape") << true << false << true << false;
        QTest::newRow("corrected, closed") << true << true << false << true;
        QTest::newRow("new, Escape") << false << false << true << true;
    }
    void closingAsksWhileEditing() {
        QFETCH(bool, stored);
        QFETCH(bool, correct);
        QFETCH(bool, escape);
        QFETCH(bool, asks);
        const int key = storedIncome();
        QPointer<DocumentWindow> window =
            stored ? DocumentWindow::openExisting(DocumentKind::IncomingPayment, key)
                   : filledIncome();
        if (correct)
            window->editButton()->click();
        window->amountEdit()->setText(QStringLiteral("999"));
        QSignalSpy closed(window.data(), &DocumentWindow::closed);
        if (escape) {
            activate(window);
            QTest::keyClick(window->numberEdit(), Qt::Key_Escape);
        } else {
            window->closeButton()->click();
        }
        settle();
        QCOMPARE(m->dialogs.texts, asks ? QStringList{"Отменить изменения?"} : QStringList{});
        QVERIFY(window.isNull());
        QCOMPARE(closed.size(), 1);
        QCOMPARE(m->value("SELECT SUM(SUM1) FROM OPER"), "100"); // nothing changed reached it
    }

    void deleteClosesAfterEitherAnswer_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("yes") << Answer::Yes << 0;
        QTest::newRow("no") << Answer::No << 1;
    }
    void deleteClosesAfterEitherAnswer() {
        QFETCH(Answer, answer);
        QFETCH(int, left);
        const int key = storedIncome();
        m->answers["Вы уверенны, что хотите удалить документ?"] = answer;
        QPointer<DocumentWindow> window =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        window->deleteButton()->click();
        settle();
        QCOMPARE(m->dialogs.texts, QStringList{"Вы уверенны, что хотите удалить документ?"});
        QCOMPARE(m->dialogs.requests.first().caption, "Удаление");
        QCOMPARE(m->dialogs.requests.first().buttons, Buttons::YesNo);
        QCOMPARE(m->dialogs.requests.first().defaultButton, DefaultButton::Second);
        QVERIFY(window.isNull());
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), left);
        QCOMPARE(historyRows(key), left); // the trigger takes the document's history along
    }

    void failedDeleteKeepsTheWindow() {
        const int key = storedIncome();
        m->execute(QStringLiteral("CREATE EXCEPTION E_TEST_KEPT 'Удаление запрещено'"));
        m->execute(QStringLiteral("CREATE TRIGGER OPER_TEST_BD FOR OPER ACTIVE BEFORE DELETE "
                                  "POSITION 9 AS BEGIN EXCEPTION E_TEST_KEPT; END"));
        QPointer<DocumentWindow> window =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        window->deleteButton()->click();
        settle();
        QCOMPARE(lastMessage(), "Удаление запрещено");
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->state(), DocumentWindow::State::Viewing);
        QCOMPARE(window->document().key, key); // the window keeps the document it read
        QVERIFY(window->document().amount == currencyFromDouble(100));
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 1);
        m->execute(QStringLiteral("DROP TRIGGER OPER_TEST_BD"));
        window->deleteButton()->click(); // tried again, it goes
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 0);
    }

    // ---- Opening and HISTORY ----

    // One HISTORY row per opening, written after the document was read; a key without a
    // document of the kind opens nothing and writes nothing.
    void historyRowsOfOpenings() {
        const int key = storedIncome();
        QPointer<DocumentWindow> first =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        QPointer<DocumentWindow> second =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        QCOMPARE(historyRows(key), 2);
        QCOMPARE(m->count(QStringLiteral("SELECT COUNT(*) FROM HISTORY WHERE LDOC=%1 AND TYP=1 "
                                         "AND LUSER=%2")
                              .arg(key)
                              .arg(DataStore::instance().userKey())),
                 2);
        const QList<QWidget*> before = DocumentWindows::windows();
        for (const auto& [kind, missing] :
             {std::pair{DocumentKind::IncomingPayment, key + 100},
              std::pair{DocumentKind::PaymentOrder, key}}) { // a row of another type
            try {
                DocumentWindow::openExisting(kind, missing);
                QFAIL("a window opened on no document");
            } catch (const Exception& e) {
                QCOMPARE(e.message(), "Документ не существует!");
            }
            settle();
        }
        QCOMPARE(DocumentWindows::windows(), before);
        for (QWidget* w : QApplication::topLevelWidgets()) // none left behind, even hidden
            QVERIFY(!qobject_cast<DocumentWindow*>(w) || before.contains(w));
        QCOMPARE(m->count("SELECT COUNT(*) FROM HISTORY"), 2);
        first->close();
        second->close();
    }

    void historyListShowsTheOpenings() {
        const int key = storedIncome();
        m->execute(QStringLiteral("INSERT INTO HISTORY (PRKEY, TYP, LDOC, LUSER, DAT) VALUES "
                                  "(1, 1, %1, %2, '2024-03-01 09:15:00')")
                       .arg(key)
                       .arg(DataStore::instance().userKey()));
        m->execute(QStringLiteral("INSERT INTO HISTORY (PRKEY, TYP, LDOC, LUSER, DAT) VALUES "
                                  "(2, 1, %1, 0, '2024-03-02 09:15:00')")
                       .arg(key)); // nobody logged on: no user to show
        DocumentWindow* window = DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        const QString user = m->value(QStringLiteral("SELECT LNAM FROM USERS WHERE PRKEY=%1")
                                          .arg(DataStore::instance().userKey()));
        QStringList rows;
        QString title;
        bool modalForTheWindow = false;
        whenModalShows([&](QDialog& dialog) {
            title = dialog.windowTitle();
            modalForTheWindow =
                dialog.parentWidget() == window && dialog.windowModality() == Qt::WindowModal;
            auto* grid = dialog.findChild<DataGrid*>();
            QAbstractItemModel* model = grid->model();
            for (int row = 0; row < model->rowCount(); ++row)
                rows << model->index(row, 0).data().toString().left(10) + " " +
                            model->index(row, 1).data().toString();
            rows << grid->model()->headerData(0, Qt::Horizontal).toString() + "|" +
                        grid->model()->headerData(1, Qt::Horizontal).toString();
            dialog.reject();
        });
        window->historyButton()->click();
        settle();
        QCOMPARE(title, "История работы с документом");
        QVERIFY(modalForTheWindow);
        QCOMPARE(rows.size(), 3);
        QVERIFY2(rows[0].startsWith(QDate::currentDate().toString("dd.MM.yyyy")),
                 qPrintable(rows[0]));
        QCOMPARE(rows[0].mid(11), user);
        QCOMPARE(rows[1], "01.03.2024 " + user);
        QCOMPARE(rows[2], "Дата / Время|Пользователь");
        window->close();
    }

    // ---- Several windows ----

    void windowsSideBySideEachWithItsTransaction() {
        const int key = storedIncome();
        QPointer<DocumentWindow> viewed =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        QPointer<DocumentWindow> fresh = filledIncome();
        QVERIFY(viewed->isVisible() && fresh->isVisible());
        QVERIFY(&viewed->documents().transaction() != &fresh->documents().transaction());
        QVERIFY(viewed->documents().transaction().isActive() &&
                fresh->documents().transaction().isActive());
        QCOMPARE(DocumentWindows::windows(), (QList<QWidget*>{viewed.data(), fresh.data()}));
        for (DocumentWindow* w : {viewed.data(), fresh.data()})
            QVERIFY(w->isWindow() && !w->parentWidget() && w->windowModality() == Qt::NonModal);
        fresh->saveButton()->click();
        settle();
        QVERIFY(fresh.isNull());
        QVERIFY(viewed && viewed->isVisible());
        QCOMPARE(m->count("SELECT COUNT(*) FROM OPER"), 2);
        viewed->editButton()->click(); // still at work
        viewed->amountEdit()->setText("1");
        viewed->saveButton()->click();
        settle();
        QVERIFY(viewed.isNull());
        QCOMPARE(m->value(QStringLiteral("SELECT SUM1 FROM OPER WHERE PRKEY=%1").arg(key)), "1");
    }

    // The same document in two windows: the later save or delete of a document changed or
    // deleted by the other is refused and keeps what was typed; the first one's change stays.
    void aDocumentChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("first");  // what the first window does: save, delete
        QTest::addColumn<QString>("second"); // what the second then tries
        QTest::newRow("saved, then saved") << "save"
                                           << "save";
        QTest::newRow("saved, then deleted") << "save"
                                             << "delete";
        QTest::newRow("deleted, then saved") << "delete"
                                             << "save";
    }
    void aDocumentChangedElsewhereIsNotOverwritten() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const int key = storedIncome();
        QPointer<DocumentWindow> a =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        QPointer<DocumentWindow> b =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        if (second == "save") {
            b->editButton()->click();
            b->amountEdit()->setText(QStringLiteral("2"));
        }
        if (first == "save") {
            a->editButton()->click();
            a->amountEdit()->setText(QStringLiteral("1"));
            a->saveButton()->click();
        } else {
            a->deleteButton()->click();
        }
        settle();
        QVERIFY(a.isNull());
        m->dialogs.texts.clear();
        if (second == "save")
            b->saveButton()->click();
        else
            b->deleteButton()->click();
        settle();
        QCOMPARE(lastMessage(), kChangedElsewhere);
        QVERIFY(b && b->isVisible());
        if (second == "save") {
            QCOMPARE(b->state(), DocumentWindow::State::Correcting);
            QCOMPARE(b->amountEdit()->text(), formatAmount(2));
        } else {
            QCOMPARE(b->document().key, key);
        }
        QCOMPARE(m->value(QStringLiteral("SELECT SUM1 FROM OPER WHERE PRKEY=%1").arg(key)),
                 first == "save" ? "1" : "");
        m->answers["Отменить изменения?"] = Answer::Yes;
        b->close();
    }

    // ---- Printing ----

    void printFollowsTheCommandAndTheRight_data() {
        QTest::addColumn<bool>("command");
        QTest::addColumn<QString>("rights");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no print command") << false << "" << false;
        QTest::newRow("a command") << true << "" << true;
        QTest::newRow("printing denied") << true << "IncomeDoc7=N" << false;
        QTest::newRow("another area denied") << true << "IssueDoc7=N" << true;
    }
    void printFollowsTheCommandAndTheRight() {
        QFETCH(bool, command);
        QFETCH(QString, rights);
        QFETCH(bool, enabled);
        if (command)
            DocumentWindow::setPrintCommand([](DocumentWindow&) { return false; });
        setAdministratorText(m->machine.book, "DATA2",
                             rights.isEmpty() ? QString() : rights + QChar(1));
        DocumentWindow* window =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, storedIncome());
        QCOMPARE(window->printButton()->isEnabled(), enabled);
        window->close();
        DocumentWindow* fresh = filledIncome();
        QVERIFY(!fresh->printButton()->isVisibleTo(fresh));
        m->answers["Отменить изменения?"] = Answer::Yes;
        fresh->close();
    }

    // The print command prints the window's document; a window that closes after it asks first
    // while a correction is open, and No keeps the window with its changes.
    void printingMayCloseTheWindow() {
        QStringList printed;
        bool closes = false;
        DocumentWindow::setPrintCommand([&](DocumentWindow& window) {
            printed << window.formClass() + QStringLiteral(" %1").arg(window.documentKey());
            return closes;
        });
        const int key = storedIncome();
        QPointer<DocumentWindow> window =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
        window->printButton()->click();
        const QString print = QStringLiteral("TfrmPaymentIncome %1").arg(key);
        QCOMPARE(printed, QStringList{print});
        QVERIFY(window && window->isVisible());
        closes = true;
        window->editButton()->click();
        window->amountEdit()->setText(QStringLiteral("5"));
        m->answers["Отменить изменения?"] = Answer::No;
        window->printButton()->click();
        QCOMPARE(m->dialogs.texts, QStringList{"Отменить изменения?"});
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->amountEdit()->text(), "5");
        m->answers["Отменить изменения?"] = Answer::Yes;
        window->printButton()->click();
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(printed, (QStringList{print, print, print}));
    }

    // ---- From the browsers ----

    void browsersOpenTheWindowsOfTheirKind_data() {
        QTest::addColumn<BookKind>("book");
        QTest::addColumn<int>("kind");
        QTest::newRow("incoming payments")
            << BookKind::BankAccount << int(DocumentKind::IncomingPayment);
        QTest::newRow("payment orders") << BookKind::BankAccount << int(DocumentKind::PaymentOrder);
        QTest::newRow("cash receipts") << BookKind::CashDesk << int(DocumentKind::CashReceipt);
        QTest::newRow("cash disbursements")
            << BookKind::CashDesk << int(DocumentKind::CashDisbursement);
    }
    // "Новый" and "Открыть" open the browser's kind of window; when it closes, the browser
    // reads its rows again and stands on the document, its total with it.
    void browsersOpenTheWindowsOfTheirKind() {
        QFETCH(BookKind, book);
        QFETCH(int, kind);
        const DocumentKind documentKind = DocumentKind(kind);
        const int type = documentType(documentKind);
        m.reset();
        m = std::make_unique<DocumentMachine>(book);
        const int partner = m->addPartner(type, QStringLiteral("Альфа"));
        StoredDocument earlier;
        earlier.type = type;
        earlier.partner = partner;
        earlier.reason = QStringLiteral("Аренда");
        earlier.amount = 100;
        earlier.date = datetime::now() - 1;
        const int old = m->addDocument(earlier);
        DocumentBrowser* browser = nullptr;
        if (documentKind == DocumentKind::IncomingPayment)
            browser = m->machine.main->showPane<IncomingPaymentsBrowser>();
        else if (documentKind == DocumentKind::PaymentOrder)
            browser = m->machine.main->showPane<PaymentOrdersBrowser>();
        else if (documentKind == DocumentKind::CashReceipt)
            browser = m->machine.main->showPane<CashReceiptsBrowser>();
        else
            browser = m->machine.main->showPane<CashDisbursementsBrowser>();
        settle();

        browser->newAction()->trigger();
        QCOMPARE(DocumentWindows::windows().size(), 1);
        QPointer<DocumentWindow> window =
            qobject_cast<DocumentWindow*>(DocumentWindows::windows().first());
        QVERIFY(window);
        QCOMPARE(window->kind(), documentKind);
        QCOMPARE(window->state(), DocumentWindow::State::New);
        const int key = window->documentKey();
        window->choosePartner(partner);
        window->choosePaymentType(QStringLiteral("Аренда"));
        window->amountEdit()->setText(QStringLiteral("12.5"));
        window->saveButton()->click();
        settle();
        QVERIFY(window.isNull());
        QCOMPARE(int(browser->query().field("PRKEY").asInteger()), key);
        settle();
        QCOMPARE(browser->totalLabel()->text(), formatAmount(112.5));

        browser->query().locate("PRKEY", old);
        browser->openAction()->trigger();
        window = qobject_cast<DocumentWindow*>(DocumentWindows::windows().first());
        QCOMPARE(window->documentKey(), old);
        QCOMPARE(window->state(), DocumentWindow::State::Viewing);
        browser->query().locate("PRKEY", key);
        window->close();
        settle();
        QCOMPARE(int(browser->query().field("PRKEY").asInteger()), old);
        QVERIFY(m->dialogs.texts.isEmpty());
    }

    // A window opened elsewhere than in the browser (a report's cell, the register) tells the
    // browser on screen when it closes, if it shows the window's type of documents.
    void aWindowOpenedElsewhereTellsTheBrowserOfItsType() {
        StoredDocument earlier;
        earlier.partner = m_payer;
        earlier.reason = QStringLiteral("Аренда");
        earlier.amount = 100;
        earlier.date = datetime::now() - 1; // in the browser's period
        const int old = m->addDocument(earlier);
        auto* browser = m->machine.main->showPane<IncomingPaymentsBrowser>();
        settle();
        QCOMPARE(int(browser->query().field("PRKEY").asInteger()), old);
        DocumentWindow* window = filledIncome();
        const int key = window->documentKey();
        window->saveButton()->click();
        settle();
        QCOMPARE(int(browser->query().field("PRKEY").asInteger()), key);

        browser->query().locate("PRKEY", old);
        QPointer<DocumentWindow> order = DocumentWindow::openNew(DocumentKind::PaymentOrder);
        order->choosePartner(m->addPartner(kRecipient, QStringLiteral("Гамма")));
        order->choosePaymentType(QStringLiteral("Аренда"));
        order->amountEdit()->setText(QStringLiteral("3"));
        order->saveButton()->click();
        settle();
        QVERIFY(order.isNull());
        QCOMPARE(int(browser->query().field("PRKEY").asInteger()), old); // not its type
        QVERIFY(m->dialogs.texts.isEmpty());
    }
};

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
