#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "documents/owner_card.h"
#include "documents/partner_insert_dialog.h"
#include "documents/payment_type_insert_dialog.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "tests/support/shell/book_machine.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

namespace {

// A real book open in the data store, and the window the cards are modal for.
struct OpenBook {
    Machine machine;
    QString book;
    DataStore store{machine.ini};
    QWidget window;
    explicit OpenBook(BookKind kind = BookKind::BankAccount)
        : book(machine.addBook(kind, QStringLiteral("Книга"))) {
        store.database().attach(book);
        window.show();
    }
    QString value(const QString& sql) const { return readValue(book, sql); }
    QString ownerEtc() const {
        return value(QStringLiteral("SELECT ETC FROM PARTS WHERE PRKEY=0"));
    }
};

// The cards that add a record, as a document window opens them.
enum class Card { Payer, Recipient, IncomeType, IssueType };

std::optional<int> insertBy(Card card, QWidget* owner, const QString& name) {
    switch (card) {
    case Card::Payer:
        return PartnerInsertDialog::insertPayer(owner, name);
    case Card::Recipient:
        return PartnerInsertDialog::insertRecipient(owner, name);
    case Card::IncomeType:
        return PaymentTypeInsertDialog::insertPaymentType(owner, name, 1);
    case Card::IssueType:
        return PaymentTypeInsertDialog::insertPaymentType(owner, name, 2);
    }
    return std::nullopt;
}

QString tableOf(Card card) {
    return card == Card::Payer || card == Card::Recipient ? QStringLiteral("PARTS")
                                                          : QStringLiteral("REASONS");
}

// Runs action on the card once it shows.
void onCard(std::function<void(QDialog*)> action) {
    QTimer::singleShot(0, [action] {
        auto* card = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(card);
        action(card);
    });
}

QLineEdit* edit(QDialog* card, const char* name) {
    auto* found = card->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the card has no %s", name);
    return found;
}

void click(QDialog* card, const char* button) {
    card->findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// The labels of the card's fields, top to bottom.
QStringList labels(QDialog* card) {
    QStringList texts;
    auto* form = card->findChild<QWidget*>(QStringLiteral("fields"))->findChild<QFormLayout*>();
    for (int row = 0; row < form->rowCount(); ++row)
        if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole))
            texts << qobject_cast<QLabel*>(item->widget())->text();
    return texts;
}

// The object names of the widgets that take the focus as Enter is pressed, from the first.
QStringList focusByEnter(QDialog* card, int presses) {
    QStringList names{card->focusWidget()->objectName()};
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(card->focusWidget(), Qt::Key_Return);
        names << card->focusWidget()->objectName();
    }
    return names;
}

const QStringList kPartnerLabels{
    "* Форма и название предприятия", "Город", "Город банка",    "Название банка",
    "МФО банка / БИК банка",          "ОКПО",  "Расчётный счёт", "Налоговый код"};
const QStringList kPartnerEdits{"nameEdit",     "cityEdit",     "bankCityEdit",
                                "bankNameEdit", "bankCodeEdit", "enterpriseCodeEdit",
                                "accountEdit",  "taxCodeEdit"};

// ETC without the records of the three names.
QString withoutNames(QString etc) {
    for (const char* key : {kDirectorNameKey, kChiefAccountantNameKey, kCashierNameKey}) {
        const QString record = QString::fromLatin1(key) + QLatin1Char('=') +
                               getKeyValue(etc, QString::fromLatin1(key)) + kKeyValueRecordEnd;
        etc.remove(record);
    }
    return etc;
}

// A write of another copy of the program on the book, through a connection of its own; it is
// committed at once unless left open.
class OtherCopy {
public:
    explicit OtherCopy(const QString& book) {
        m_database.attach(book);
        m_transaction = std::make_unique<fb::Transaction>(m_database);
    }
    void setOwnerEtc(const QString& etc) {
        fb::Statement q(*m_transaction);
        q.prepare(QStringLiteral("UPDATE PARTS SET ETC=:ETC WHERE PRKEY=0"));
        q.param(QStringLiteral("ETC")).setString(etc);
        q.execute();
    }
    void run(const QString& sql) {
        fb::Statement q(*m_transaction, sql, fb::ParamMode::Untouched);
        q.execute();
    }
    void commit() { m_transaction->commit(); }

private:
    fb::Attachment m_database;
    std::unique_ptr<fb::Transaction> m_transaction;
};

void setOwnerEtc(const QString& book, const QString& etc) {
    OtherCopy other(book);
    other.setOwnerEtc(etc);
    other.commit();
}

} // namespace

class TestInsertDialogs : public QObject {
    Q_OBJECT
private slots:
    void aPartnerCardStoresTheNewPartner_data() {
        QTest::addColumn<Card>("card");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("type");
        QTest::newRow("payer") << Card::Payer << "Новый плательщик"
                               << "1";
        QTest::newRow("recipient") << Card::Recipient << "Новый получатель"
                                   << "2";
    }
    void aPartnerCardStoresTheNewPartner() {
        QFETCH(Card, card);
        QFETCH(QString, caption);
        QFETCH(QString, type);
        OpenBook b;
        Dialogs dialogs;
        const QStringList values{"ООО \"Ромашка\"", "Киев",   "Львов",    "Приватбанк",
                                 "300711",          "123456", "26001234", "987654"};
        onCard([&](QDialog* c) {
            QCOMPARE(c->windowTitle(), caption);
            QCOMPARE(c->parentWidget(), &b.window);
            QCOMPARE(c->windowModality(), Qt::WindowModal);
            QCOMPARE(labels(c), kPartnerLabels);
            QCOMPARE(c->findChild<QLabel*>("requiredNote")->text(),
                     QStringLiteral("* Обязательные для заполнения поля"));
            QCOMPARE(edit(c, "nameEdit")->text(), values[0]);
            QCOMPARE(c->focusWidget(), edit(c, "nameEdit"));
            for (qsizetype i = 1; i < values.size(); ++i) {
                QCOMPARE(edit(c, qPrintable(kPartnerEdits[i]))->text(), QString());
                edit(c, qPrintable(kPartnerEdits[i]))->setText(values[i]);
            }
            click(c, "okButton");
        });
        const std::optional<int> key = insertBy(card, &b.window, values[0]);
        QVERIFY(key);
        QVERIFY(*key > 10000);
        QCOMPARE(b.value("SELECT GEN_ID(PARTS_PRKEY_GEN, 0) FROM RDB$DATABASE"),
                 QString::number(*key));
        const QString row = QStringLiteral("FROM PARTS WHERE PRKEY=%1").arg(*key);
        QCOMPARE(b.value("SELECT TYP " + row), type);
        const QStringList columns{"LNAM", "CITY", "INCITY", "INBANK", "MFO", "ID", "RS", "INDN"};
        for (qsizetype i = 0; i < columns.size(); ++i)
            QCOMPARE(b.value("SELECT " + columns[i] + " " + row), values[i]);
        QCOMPARE(b.value("SELECT COUNT(*) " + row + " AND LOWNER IS NULL AND ETC IS NULL"), "1");
        QVERIFY(dialogs.requests.isEmpty());
        // The card is gone with its call.
        QVERIFY(b.window.findChildren<QDialog*>().isEmpty());
    }

    void aPaymentTypeCardStoresTheTypeItIsGiven_data() {
        QTest::addColumn<Card>("card");
        QTest::addColumn<QString>("type");
        QTest::newRow("income") << Card::IncomeType << "1";
        QTest::newRow("issue") << Card::IssueType << "2";
    }
    void aPaymentTypeCardStoresTheTypeItIsGiven() {
        QFETCH(Card, card);
        QFETCH(QString, type);
        OpenBook b;
        Dialogs dialogs;
        onCard([&](QDialog* c) {
            QCOMPARE(c->windowTitle(), QStringLiteral("Тип платежа"));
            QCOMPARE(c->windowModality(), Qt::WindowModal);
            QCOMPARE(labels(c), QStringList{"* Тип платежа"});
            QCOMPARE(edit(c, "nameEdit")->text(), QStringLiteral("Аренда"));
            QCOMPARE(c->focusWidget(), edit(c, "nameEdit"));
            edit(c, "nameEdit")->setText(QStringLiteral("Аренда офиса"));
            click(c, "okButton");
        });
        const std::optional<int> key = insertBy(card, &b.window, QStringLiteral("Аренда"));
        QVERIFY(key);
        const QString row = QStringLiteral("FROM REASONS WHERE PRKEY=%1").arg(*key);
        QCOMPARE(b.value("SELECT REASON " + row), QStringLiteral("Аренда офиса"));
        QCOMPARE(b.value("SELECT TYP " + row), type);
        QVERIFY(dialogs.requests.isEmpty());
    }

    void aBlankNameIsRefusedAndNothingStored_data() {
        QTest::addColumn<Card>("card");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("typed");
        QTest::newRow("payer of spaces") << Card::Payer << "   "
                                         << "   ";
        QTest::newRow("recipient emptied") << Card::Recipient << "ЧП Иванов"
                                           << "";
        QTest::newRow("payment type of spaces") << Card::IssueType << "  "
                                                << "  ";
        QTest::newRow("payment type of a tab") << Card::IncomeType << "Налог"
                                               << "\t ";
    }
    void aBlankNameIsRefusedAndNothingStored() {
        QFETCH(Card, card);
        QFETCH(QString, proposed);
        QFETCH(QString, typed);
        OpenBook b;
        const QString count = QStringLiteral("SELECT COUNT(*) FROM ") + tableOf(card);
        const QString before = b.value(count);
        Dialogs dialogs;
        bool stillShown = false;
        onCard([&](QDialog* c) {
            edit(c, "nameEdit")->setText(typed);
            click(c, "okButton");
            stillShown = c->isVisible();
        });
        QVERIFY(!insertBy(card, &b.window, proposed));
        QVERIFY(!stillShown);
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].text, QStringLiteral("Не заполнены ключевые поля"));
        QCOMPARE(dialogs.requests[0].caption, QStringLiteral("Ошибка"));
        QCOMPARE(dialogs.requests[0].icon, MessageIcon::Error);
        QCOMPARE(b.value(count), before);
    }

    void cancelAndEscStoreNothing_data() {
        QTest::addColumn<Card>("card");
        QTest::addColumn<bool>("esc");
        const struct {
            const char* name;
            Card card;
        } cards[] = {{"payer", Card::Payer},
                     {"recipient", Card::Recipient},
                     {"payment type", Card::IssueType}};
        for (const auto& c : cards) {
            QTest::addRow("%s, cancel", c.name) << c.card << false;
            QTest::addRow("%s, esc", c.name) << c.card << true;
        }
    }
    void cancelAndEscStoreNothing() {
        QFETCH(Card, card);
        QFETCH(bool, esc);
        OpenBook b;
        const QString count = QStringLiteral("SELECT COUNT(*) FROM ") + tableOf(card);
        const QString before = b.value(count);
        Dialogs dialogs;
        onCard([&](QDialog* c) {
            if (esc)
                QTest::keyClick(edit(c, "nameEdit"), Qt::Key_Escape);
            else
                click(c, "cancelButton");
        });
        QVERIFY(!insertBy(card, &b.window, QStringLiteral("Новая запись")));
        QCOMPARE(b.value(count), before);
        QVERIFY(dialogs.requests.isEmpty());
    }

    void enterMovesToTheNextField_data() {
        QTest::addColumn<bool>("ownerCard");
        QTest::newRow("partner card") << false;
        QTest::newRow("owner card") << true;
    }
    void enterMovesToTheNextField() {
        QFETCH(bool, ownerCard);
        OpenBook b;
        execute(b.book, "UPDATE PARTS SET LNAM='Книга' WHERE PRKEY=0");
        Dialogs dialogs;
        QStringList order = kPartnerEdits;
        if (ownerCard)
            order << "directorEdit"
                  << "chiefAccountantEdit"
                  << "cashierEdit";
        order << "okButton";
        QStringList seen;
        onCard([&](QDialog* c) {
            seen = focusByEnter(c, int(order.size()) - 1);
            // Enter on OK presses it.
            QTest::keyClick(c->focusWidget(), Qt::Key_Return);
        });
        if (ownerCard)
            QVERIFY(OwnerCard::editOwner(&b.window));
        else
            QVERIFY(insertBy(Card::Payer, &b.window, QStringLiteral("Фирма")));
        QCOMPARE(seen, order);
    }

    void theOwnerCardIsCaptionedByTheKindOfBook_data() {
        QTest::addColumn<BookKind>("kind");
        QTest::addColumn<QString>("lowner");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("checked");
        QTest::newRow("bank account") << BookKind::BankAccount << "0"
                                      << "Реквизиты Р/С"
                                      << "kindButton0";
        QTest::newRow("cash desk") << BookKind::CashDesk << "1"
                                   << "Реквизиты кассы"
                                   << "kindButton1";
        QTest::newRow("another kind") << BookKind::CashDesk << "7"
                                      << "Карточка Р/С (кассы)"
                                      << "";
    }
    void theOwnerCardIsCaptionedByTheKindOfBook() {
        QFETCH(BookKind, kind);
        QFETCH(QString, lowner);
        QFETCH(QString, caption);
        QFETCH(QString, checked);
        OpenBook b(kind);
        execute(b.book, "UPDATE PARTS SET LOWNER=" + lowner + " WHERE PRKEY=0");
        Dialogs dialogs;
        onCard([&](QDialog* c) {
            QCOMPARE(c->objectName(), QStringLiteral("ownerCard"));
            QCOMPARE(c->windowTitle(), caption);
            QCOMPARE(c->parentWidget(), &b.window);
            QCOMPARE(c->windowModality(), Qt::WindowModal);
            auto* group = c->findChild<QGroupBox*>("kindGroup");
            QCOMPARE(group->title(), QStringLiteral("Тип"));
            QVERIFY(!group->isVisible());
            QVERIFY(!group->isEnabled());
            QStringList items;
            QString on;
            for (auto* button : group->findChildren<QRadioButton*>()) {
                items << button->text();
                if (button->isChecked())
                    on = button->objectName();
            }
            QCOMPARE(items, QStringList({"Расчетный счет", "Касса"}));
            QCOMPARE(on, checked);
            const QStringList ownerLabels{"Директор", "Главный бухгалтер", "Кассир"};
            QCOMPARE(labels(c), kPartnerLabels + ownerLabels);
            QCOMPARE(c->focusWidget(), edit(c, "nameEdit"));
            click(c, "cancelButton");
        });
        QVERIFY(!OwnerCard::editOwner(&b.window));
        QCOMPARE(b.value("SELECT LOWNER FROM PARTS WHERE PRKEY=0"), lowner);
        QVERIFY(dialogs.requests.isEmpty());
    }

    void theOwnerCardChangesOnlyTheThreeNames() {
        OpenBook b(BookKind::CashDesk);
        execute(b.book, "UPDATE PARTS SET LNAM='Касса №1', CITY='Одесса', RS='2600' WHERE "
                        "PRKEY=0");
        QString etc = b.ownerEtc();
        etc = setKeyValue(etc, kDirectorNameKey, QStringLiteral("Петров П.П."));
        etc = setKeyValue(etc, QStringLiteral("DocSetting"), QStringLiteral("a=b"));
        etc = setKeyValue(etc, kCashierNameKey, QStringLiteral("Сидорова"));
        etc = setKeyValue(etc, QStringLiteral("Zeta"), QString());
        setOwnerEtc(b.book, etc);
        Dialogs dialogs;
        onCard([&](QDialog* c) {
            QCOMPARE(edit(c, "nameEdit")->text(), QStringLiteral("Касса №1"));
            QCOMPARE(edit(c, "cityEdit")->text(), QStringLiteral("Одесса"));
            QCOMPARE(edit(c, "accountEdit")->text(), QStringLiteral("2600"));
            QCOMPARE(edit(c, "directorEdit")->text(), QStringLiteral("Петров П.П."));
            QCOMPARE(edit(c, "chiefAccountantEdit")->text(), QString());
            QCOMPARE(edit(c, "cashierEdit")->text(), QStringLiteral("Сидорова"));
            edit(c, "nameEdit")->setText(QStringLiteral("Касса №2"));
            edit(c, "directorEdit")->setText(QStringLiteral("Иванов И.И."));
            edit(c, "chiefAccountantEdit")->setText(QStringLiteral("Кузьмина"));
            click(c, "okButton");
        });
        QVERIFY(OwnerCard::editOwner(&b.window));
        const QString stored = b.ownerEtc();
        QCOMPARE(withoutNames(stored), withoutNames(etc));
        QCOMPARE(getKeyValue(stored, kDirectorNameKey), QStringLiteral("Иванов И.И."));
        QCOMPARE(getKeyValue(stored, kChiefAccountantNameKey), QStringLiteral("Кузьмина"));
        QCOMPARE(getKeyValue(stored, kCashierNameKey), QStringLiteral("Сидорова"));
        QCOMPARE(b.value("SELECT LNAM FROM PARTS WHERE PRKEY=0"), QStringLiteral("Касса №2"));
        QCOMPARE(b.value("SELECT CITY FROM PARTS WHERE PRKEY=0"), QStringLiteral("Одесса"));
        QCOMPARE(b.value("SELECT LOWNER FROM PARTS WHERE PRKEY=0"), "1");
        // Fields never filled stay null.
        QCOMPARE(b.value("SELECT COUNT(*) FROM PARTS WHERE PRKEY=0 AND INBANK IS NULL"), "1");
        QVERIFY(dialogs.requests.isEmpty());
    }

    void theOwnerCardKeepsAnOptionWrittenWhileItWasOpen() {
        OpenBook b;
        execute(b.book, "UPDATE PARTS SET LNAM='Книга' WHERE PRKEY=0");
        Dialogs dialogs;
        onCard([&](QDialog* c) {
            setOwnerEtc(b.book, setKeyValue(b.ownerEtc(), QStringLiteral("StoreCurrency"),
                                            QStringLiteral("руб.")));
            edit(c, "cashierEdit")->setText(QStringLiteral("Орлова"));
            click(c, "okButton");
        });
        QVERIFY(OwnerCard::editOwner(&b.window));
        const QString stored = b.ownerEtc();
        QCOMPARE(getKeyValue(stored, QStringLiteral("StoreCurrency")), QStringLiteral("руб."));
        QCOMPARE(getKeyValue(stored, kCashierNameKey), QStringLiteral("Орлова"));
        QCOMPARE(getKeyValue(stored, QStringLiteral("StoreCapt")), QStringLiteral("Книга"));
    }

    // A name the book cannot hold is refused and the card stays open, without holding the owner
    // row meanwhile: another copy still writes its options.
    void aNameTheBookCannotHoldLeavesTheOwnerRowFree() {
        OpenBook b;
        execute(b.book, "UPDATE PARTS SET LNAM='Книга' WHERE PRKEY=0");
        Dialogs dialogs;
        bool stayedOpen = false;
        QString otherWrite;
        onCard([&](QDialog* c) {
            edit(c, "directorEdit")->setText(QStringLiteral("Иванов ☺"));
            click(c, "okButton");
            stayedOpen = c->isVisible();
            try {
                setOwnerEtc(b.book, setKeyValue(b.ownerEtc(), QStringLiteral("StoreCurrency"),
                                                QStringLiteral("руб.")));
                otherWrite = QStringLiteral("written");
            } catch (const Exception& e) {
                otherWrite = e.message();
            }
            edit(c, "directorEdit")->setText(QStringLiteral("Иванов"));
            click(c, "okButton");
        });
        QVERIFY(OwnerCard::editOwner(&b.window));
        QVERIFY(stayedOpen);
        QCOMPARE(otherWrite, QStringLiteral("written"));
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].icon, MessageIcon::Error);
        const QString stored = b.ownerEtc();
        QCOMPARE(getKeyValue(stored, kDirectorNameKey), QStringLiteral("Иванов"));
        QCOMPARE(getKeyValue(stored, QStringLiteral("StoreCurrency")), QStringLiteral("руб."));
    }

    void theOwnerCardCancelledOrWithABlankNameStoresNothing_data() {
        QTest::addColumn<bool>("blankName");
        QTest::newRow("cancel") << false;
        QTest::newRow("blank name") << true;
    }
    void theOwnerCardCancelledOrWithABlankNameStoresNothing() {
        QFETCH(bool, blankName);
        OpenBook b;
        execute(b.book, "UPDATE PARTS SET LNAM='Счет' WHERE PRKEY=0");
        const QString etc = b.ownerEtc();
        Dialogs dialogs;
        onCard([&](QDialog* c) {
            edit(c, "directorEdit")->setText(QStringLiteral("Иванов"));
            edit(c, "cityEdit")->setText(QStringLiteral("Харьков"));
            edit(c, "nameEdit")->setText(blankName ? QStringLiteral(" ") : QStringLiteral("Р/С"));
            click(c, blankName ? "okButton" : "cancelButton");
        });
        QVERIFY(!OwnerCard::editOwner(&b.window));
        QCOMPARE(b.ownerEtc(), etc);
        QCOMPARE(b.value("SELECT LNAM FROM PARTS WHERE PRKEY=0"), QStringLiteral("Счет"));
        QCOMPARE(b.value("SELECT COUNT(*) FROM PARTS WHERE PRKEY=0 AND CITY IS NULL"), "1");
        QCOMPARE(dialogs.texts,
                 blankName ? QStringList{"Не заполнены ключевые поля"} : QStringList());
    }

    // A save the database refuses is shown; the card stays open with what was typed, and
    // OK stores it once the database takes it.
    void aRefusedSaveKeepsTheCardOpenForAnotherTry_data() {
        QTest::addColumn<bool>("ownerCard");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("new payer") << false << "PARTS_PK1";
        QTest::newRow("owner card") << true << "Запись сейчас сохраняется в другом окне";
    }
    void aRefusedSaveKeepsTheCardOpenForAnotherTry() {
        QFETCH(bool, ownerCard);
        QFETCH(QString, refusal);
        OpenBook b;
        Dialogs dialogs;
        bool stayedOpen = false;
        onCard([&](QDialog* c) {
            edit(c, "cityEdit")->setText(QStringLiteral("Днепр"));
            edit(c, "nameEdit")->setText(QStringLiteral("ООО Вектор"));
            {
                // Another copy holds the row the card writes, not committed yet.
                OtherCopy other(b.book);
                if (ownerCard)
                    other.run("UPDATE PARTS SET CITY='Херсон' WHERE PRKEY=0");
                else
                    other.run("INSERT INTO PARTS (PRKEY, TYP, LNAM) SELECT GEN_ID(PARTS_PRKEY_GEN, "
                              "0), 2, 'Чужая' FROM RDB$DATABASE");
                click(c, "okButton");
                stayedOpen = c->isVisible();
            }
            click(c, "okButton");
        });
        const bool stored = ownerCard ? OwnerCard::editOwner(&b.window)
                                      : insertBy(Card::Payer, &b.window, QString()).has_value();
        QVERIFY(stayedOpen);
        QVERIFY(stored);
        QCOMPARE(dialogs.texts.size(), ownerCard ? 1 : 2);
        if (!ownerCard)
            QCOMPARE(dialogs.texts[0], QStringLiteral("Не могу сохранить введенные данные!"));
        QVERIFY2(dialogs.texts.last().contains(refusal), qPrintable(dialogs.texts.last()));
        QCOMPARE(dialogs.requests.last().icon, MessageIcon::Error);
        QCOMPARE(b.value("SELECT COUNT(*) FROM PARTS WHERE LNAM='ООО Вектор' AND CITY='Днепр'"),
                 "1");
        QCOMPARE(b.value("SELECT COUNT(*) FROM PARTS WHERE LNAM='Чужая'"), "0");
    }
};

QTEST_MAIN(TestInsertDialogs)
#include "test_insert_dialogs.moc"
