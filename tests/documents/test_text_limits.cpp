#include "tests/support/documents/dictionary_machine.h"
#include "tests/support/documents/document_machine.h"

#include "core/key_value_text.h"
#include "documents/cash_order_windows.h"
#include "documents/lookup_popup.h"
#include "documents/owner_card.h"
#include "documents/partner_insert_dialog.h"
#include "documents/partners_pane.h"
#include "documents/payment_type_insert_dialog.h"
#include "documents/payment_types_pane.h"
#include "documents/users_pane.h"
#include "platform/firebird/data_set.h"
#include "store/owner_names.h"
#include "ui/data_grid.h"
#include "ui/text_input_guard.h"

#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

// A text of length letters.
QString letters(int length) {
    return QString(length, QChar(u'Ж'));
}

// A dictionary pane, its table and how long its names may be.
struct Dictionary {
    const char* title;
    std::function<DictionaryPane*(DictionaryMachine&)> show;
    const char* table;
    const char* nameField;
    int column;            // the name column's length
    const char* insertSql; // a row of key 101 named %1
};

const QList<Dictionary>& dictionaries() {
    static const QList<Dictionary> list = {
        {"payers", [](DictionaryMachine& m) { return m.show<PayersPane>(); }, "PARTS", "LNAM", 100,
         "INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 1, '%1')"},
        {"recipients", [](DictionaryMachine& m) { return m.show<RecipientsPane>(); }, "PARTS",
         "LNAM", 100, "INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 2, '%1')"},
        {"payment types", [](DictionaryMachine& m) { return m.show<PaymentTypesPane>(); },
         "REASONS", "REASON", 100,
         "INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (101, 1, '%1')"},
        {"users", [](DictionaryMachine& m) { return m.show<UsersPane>(); }, "USERS", "LNAM", 50,
         "INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (101, '%1', 0)"},
    };
    return list;
}

enum { kPayers, kRecipients, kPaymentTypes, kUsers };

QString nameOf(DictionaryMachine& m, const Dictionary& d, const QString& key) {
    return m.value(QStringLiteral("SELECT %1 FROM %2 WHERE PRKEY=%3")
                       .arg(QString::fromLatin1(d.nameField), QString::fromLatin1(d.table), key));
}

QString hidingRefused(int column) {
    return QStringLiteral("Запись нельзя скрыть: название занимает все %1 символов поля, и для "
                          "знака \"?\" перед ним нет места. Сократите название хотя бы на один "
                          "символ.")
        .arg(column);
}

void selectRow(DictionaryPane& pane, const QString& field, const QString& name) {
    const int row = int(columnTexts(pane, field).indexOf(name));
    QVERIFY2(row >= 0, qPrintable(name));
    pane.grid()->selectRow(row);
}

// Puts text into a field as a user's keyboard does: an emoji comes as one key press, the
// characters of other scripts from an input method.
void enterForeign(QWidget* field, const QString& text) {
    if (text.front().isHighSurrogate()) {
        QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, text, Qt::NoModifier);
        return;
    }
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(text);
    QCoreApplication::sendEvent(field, &commit);
}

} // namespace

class TestTextLimits : public QObject {
    Q_OBJECT
private slots:
    // ---- Names and hiding ----

    // A new name takes one character fewer than its column, so that hiding it fits.
    void newNamesLeaveRoomForTheHiddenMark_data() {
        QTest::addColumn<int>("dictionary");
        for (int i = 0; i < dictionaries().size(); ++i)
            QTest::newRow(dictionaries()[i].title) << i;
    }
    void newNamesLeaveRoomForTheHiddenMark() {
        QFETCH(int, dictionary);
        const Dictionary& d = dictionaries()[dictionary];
        const QString field = QString::fromLatin1(d.nameField);
        DictionaryMachine m;
        DictionaryPane* pane = d.show(m);
        pane->newAction()->trigger();
        const QString key = pane->query().field("PRKEY").asString();
        retype(pane->fieldEdit(field), letters(d.column + 1));
        QCOMPARE(pane->fieldEdit(field)->text(), letters(d.column - 1));
        pane->editOkButton()->click();
        QCOMPARE(nameOf(m, d, key), letters(d.column - 1));
        selectRow(*pane, field, letters(d.column - 1));
        pane->openAction()->trigger();
        pane->hideAction()->trigger();
        QCOMPARE(nameOf(m, d, key), QLatin1Char('?') + letters(d.column - 1));
        QCOMPARE(m.dialogs.texts, QStringList());
    }

    // A name stored at the column's full length is refused with the reason, and nothing
    // changes, also when the record is then stored; one character shorter is hidden.
    void aNameThatFillsItsColumnIsNotHidden_data() {
        QTest::addColumn<int>("dictionary");
        QTest::addColumn<int>("length");
        QTest::newRow("payer of 100") << int(kPayers) << 100;
        QTest::newRow("payer of 99") << int(kPayers) << 99;
        QTest::newRow("recipient of 100") << int(kRecipients) << 100;
        QTest::newRow("payment type of 100") << int(kPaymentTypes) << 100;
        QTest::newRow("payment type of 99") << int(kPaymentTypes) << 99;
        QTest::newRow("user of 50") << int(kUsers) << 50;
        QTest::newRow("user of 49") << int(kUsers) << 49;
    }
    void aNameThatFillsItsColumnIsNotHidden() {
        QFETCH(int, dictionary);
        QFETCH(int, length);
        const Dictionary& d = dictionaries()[dictionary];
        const QString field = QString::fromLatin1(d.nameField);
        const QString name = letters(length);
        DictionaryMachine m;
        m.execute(QString::fromLatin1(d.insertSql).arg(name));
        DictionaryPane* pane = d.show(m);
        selectRow(*pane, field, name);
        pane->openAction()->trigger();
        QCOMPARE(pane->fieldEdit(field)->text(), name); // shown whole
        pane->hideAction()->trigger();
        if (length < d.column) {
            QCOMPARE(nameOf(m, d, "101"), QLatin1Char('?') + name);
            QCOMPARE(m.dialogs.texts, QStringList());
            return;
        }
        QCOMPARE(m.dialogs.texts, QStringList{hidingRefused(d.column)});
        QCOMPARE(m.dialogs.requests.first().icon, MessageIcon::Error);
        QVERIFY(!pane->hideAction()->isChecked());
        QCOMPARE(pane->hideAction()->text(), QStringLiteral("Скрыть"));
        QCOMPARE(pane->query().field(field).asString(), name);
        QCOMPARE(nameOf(m, d, "101"), name);
        pane->editOkButton()->click();
        QCOMPARE(nameOf(m, d, "101"), name);
        QCOMPARE(m.dialogs.texts.size(), 1);
        QVERIFY(!pane->isEditPageShown());
    }

    // The cards that add a payer or a payment type from a document keep a new name one shorter
    // than its column; the owner's card, whose record is never hidden, keeps a name at full
    // length.
    void cardsKeepNamesFitForHiding_data() {
        QTest::addColumn<QString>("card");
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("new payer") << "payer" << 101 << 99;
        QTest::newRow("new payment type") << "payment type" << 101 << 99;
        QTest::newRow("owner") << "owner" << 100 << 100;
    }
    void cardsKeepNamesFitForHiding() {
        QFETCH(QString, card);
        QFETCH(int, typed);
        QFETCH(int, stored);
        DictionaryMachine m;
        if (card == QLatin1String("owner"))
            m.execute(
                QStringLiteral("UPDATE PARTS SET LNAM='%1' WHERE PRKEY=0").arg(letters(typed)));
        int shownLength = -1;
        whenModalShows([&](QDialog& dialog) {
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
            shownLength = int(name->text().size());
            retype(name, letters(typed));
            dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        QString table = QStringLiteral("PARTS");
        QString column = QStringLiteral("LNAM");
        int key = 0;
        if (card == QLatin1String("payer")) {
            key = PartnerInsertDialog::insertPayer(&m.main(), letters(typed)).value_or(-1);
        } else if (card == QLatin1String("payment type")) {
            key = PaymentTypeInsertDialog::insertPaymentType(&m.main(), letters(typed), 1)
                      .value_or(-1);
            table = QStringLiteral("REASONS");
            column = QStringLiteral("REASON");
        } else {
            QVERIFY(OwnerCard::editOwner(&m.main()));
        }
        QCOMPARE(shownLength, stored);
        QCOMPARE(m.value(QStringLiteral("SELECT %1 FROM %2 WHERE PRKEY=%3")
                             .arg(column, table, QString::number(key))),
                 letters(stored));
        QCOMPARE(m.dialogs.texts, QStringList());
    }

    // ---- Filters ----

    // The filter line takes as many characters as the name column holds, and finds a name at
    // that length; the book is never asked with a longer one.
    void theFilterTakesTheColumnsLength_data() {
        QTest::addColumn<int>("dictionary");
        for (int i : {kPayers, kRecipients, kPaymentTypes})
            QTest::newRow(dictionaries()[i].title) << i;
    }
    void theFilterTakesTheColumnsLength() {
        QFETCH(int, dictionary);
        const Dictionary& d = dictionaries()[dictionary];
        const QString field = QString::fromLatin1(d.nameField);
        DictionaryMachine m;
        m.execute(QString::fromLatin1(d.insertSql).arg(letters(d.column)));
        m.execute(QString::fromLatin1(d.insertSql).replace("101", "102").arg("Альфа"));
        DictionaryPane* pane = d.show(m);
        m.main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.main()));
        pane->filterAction()->trigger();
        retype(pane->filterEdit(), letters(d.column + 1));
        QCOMPARE(pane->filterEdit()->text(), letters(d.column));
        QTest::keyClick(pane->filterEdit(), Qt::Key_Return);
        QCOMPARE(columnTexts(*pane, field), QStringList{letters(d.column)});
        QCOMPARE(m.dialogs.texts, QStringList());
    }

    // A payment type typed into a document's lookup and taken as typed fits OPER.REASON: the
    // lookup's filter takes at most 100 characters.
    void aPaymentTypeTakenAsTypedFitsItsColumn() {
        DocumentMachine m(BookKind::CashDesk);
        const int payer = m.addPartner(kPayer, QStringLiteral("Альфа"));
        DocumentWindow* window = DocumentWindow::openNew(DocumentKind::CashReceipt);
        activate(window);
        window->choosePartner(payer);
        window->amountEdit()->setText(QStringLiteral("5"));
        m.answers["Добавлять этот тип платежа в справочник или нет?"] = Answer::No;
        window->paymentTypeEdit()->setFocus(Qt::TabFocusReason);
        settle();
        LookupPopup* lookup = shownLookup(window);
        QVERIFY(lookup);
        retype(lookup->filterEdit(), letters(101));
        QCOMPARE(lookup->filterEdit()->text(), letters(100));
        QTest::keyClick(lookup->filterEdit(), Qt::Key_Return);
        settle();
        QCOMPARE(window->document().paymentType, letters(100));
        window->saveButton()->click();
        settle();
        QCOMPARE(m.dialogs.texts, QStringList{"Добавлять этот тип платежа в справочник или нет?"});
        QCOMPARE(m.value("SELECT REASON FROM OPER"), letters(100));
    }

    // ---- Characters the book cannot hold ----

    // In the fields of the book's windows an emoji or a CJK character is refused as it is
    // entered, with a warning that names it; what was typed before stays, and only that is
    // stored.
    void foreignCharactersAreRefusedInEveryField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused");
        const char* const fields[] = {"dictionary name",  "dictionary filter", "new payer's city",
                                      "owner's director", "document number",   "document purpose",
                                      "lookup filter"};
        for (const char* field : fields) {
            QTest::newRow(qPrintable(QStringLiteral("%1, emoji").arg(field)))
                << field << QStringLiteral("😀") << QStringLiteral("😀");
            QTest::newRow(qPrintable(QStringLiteral("%1, CJK").arg(field)))
                << field << QStringLiteral("日本") << QStringLiteral("日");
        }
    }
    void foreignCharactersAreRefusedInEveryField() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, refused);
        DictionaryMachine m;
        const QString typed = QStringLiteral("Альфа");
        // Types, then tries the foreign text: the field keeps what was typed, and one warning.
        auto tryField = [&](QLineEdit* edit) {
            QVERIFY(edit);
            edit->setFocus();
            retype(edit, typed);
            enterForeign(edit, text);
            QCOMPARE(edit->text(), typed);
            QCOMPARE(m.dialogs.texts, QStringList{foreignCharacterMessage(refused)});
        };
        if (field == QLatin1String("dictionary name")) {
            auto* pane = m.show<PayersPane>();
            pane->newAction()->trigger();
            tryField(pane->fieldEdit("LNAM"));
            QCOMPARE(pane->query().field("LNAM").asString(), typed);
            pane->editOkButton()->click();
            QCOMPARE(m.value("SELECT LNAM FROM PARTS WHERE TYP=1"), typed);
        } else if (field == QLatin1String("dictionary filter")) {
            m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 1, 'Альфа')");
            auto* pane = m.show<PayersPane>();
            tryField(pane->filterEdit());
            QTest::keyClick(pane->filterEdit(), Qt::Key_Return);
            QCOMPARE(columnTexts(*pane, "LNAM"), QStringList{typed});
        } else if (field == QLatin1String("new payer's city")) {
            whenModalShows([&](QDialog& card) {
                tryField(card.findChild<QLineEdit*>(QStringLiteral("cityEdit")));
                card.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            });
            const std::optional<int> key =
                PartnerInsertDialog::insertPayer(&m.main(), QStringLiteral("Бета"));
            QVERIFY(key);
            QCOMPARE(m.value(QStringLiteral("SELECT CITY FROM PARTS WHERE PRKEY=%1").arg(*key)),
                     typed);
        } else if (field == QLatin1String("owner's director")) {
            m.execute("UPDATE PARTS SET LNAM='Касса' WHERE PRKEY=0");
            whenModalShows([&](QDialog& card) {
                tryField(card.findChild<QLineEdit*>(QStringLiteral("directorEdit")));
                card.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            });
            QVERIFY(OwnerCard::editOwner(&m.main()));
            QCOMPARE(getKeyValue(m.value("SELECT ETC FROM PARTS WHERE PRKEY=0"),
                                 QString::fromLatin1(kDirectorNameKey)),
                     typed);
        } else {
            const int payer = addPartnerRow(kPayer, QStringLiteral("Плательщик"));
            QPointer<DocumentWindow> window = DocumentWindow::openNew(DocumentKind::CashReceipt);
            activate(window);
            window->choosePartner(payer);
            window->choosePaymentType(QStringLiteral("Взнос"));
            window->amountEdit()->setText(QStringLiteral("5"));
            auto* cashOrder = static_cast<CashOrderWindow*>(window.data());
            QString column = QStringLiteral("NUM");
            if (field == QLatin1String("document number")) {
                tryField(window->numberEdit());
            } else if (field == QLatin1String("document purpose")) {
                tryField(cashOrder->purposeEdit(0));
                column = QStringLiteral("PURP1");
            } else {
                window->partnerEdit()->setFocus(Qt::TabFocusReason);
                settle();
                LookupPopup* lookup = shownLookup(window);
                QVERIFY(lookup);
                tryField(lookup->filterEdit());
                QTest::keyClick(lookup->filterEdit(), Qt::Key_Escape);
                settle();
                // The payment type's lookup opens next.
                if (LookupPopup* next = shownLookup(window))
                    QTest::keyClick(next->filterEdit(), Qt::Key_Escape);
                settle();
                QCOMPARE(window->document().partner, payer);
                column = QStringLiteral("LPART"); // the partner stays as it was
            }
            window->saveButton()->click();
            settle();
            QVERIFY(window.isNull());
            QCOMPARE(m.value(QStringLiteral("SELECT %1 FROM OPER").arg(column)),
                     column == QLatin1String("LPART") ? QString::number(payer) : typed);
        }
        QCOMPARE(m.dialogs.texts.size(), 1);
    }
};

QTEST_MAIN(TestTextLimits)
#include "test_text_limits.moc"
