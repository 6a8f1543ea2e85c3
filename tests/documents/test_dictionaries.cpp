#include "tests/support/documents/dictionary_machine.h"

#include "core/key_value_text.h"
#include "documents/partners_pane.h"
#include "documents/payment_types_pane.h"
#include "documents/users_pane.h"
#include "platform/firebird/data_set.h"
#include "ui/action_builder.h"
#include "tests/support/shell/book_machine.h"
#include "ui/data_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

// A dictionary with names: how to show it and where its rows live.
struct Dictionary {
    const char* title;
    std::function<DictionaryPane*(DictionaryMachine&)> show;
    const char* table;
    const char* nameField;
    int newType; // TYP of a new row
    const char* rightsArea;
};

const QList<Dictionary>& dictionaries() {
    static const QList<Dictionary> list = {
        {"payers", [](DictionaryMachine& m) { return m.show<PayersPane>(); }, "PARTS", "LNAM", 1,
         "VocsIncome"},
        {"recipients", [](DictionaryMachine& m) { return m.show<RecipientsPane>(); }, "PARTS",
         "LNAM", 2, "VocsIssue"},
        {"payment types", [](DictionaryMachine& m) { return m.show<PaymentTypesPane>(); },
         "REASONS", "REASON", 2, "VocsReasons"},
    };
    return list;
}

// The users: no kind, no rights area of their own.
const Dictionary& users() {
    static const Dictionary dictionary = {
        "users", [](DictionaryMachine& m) { return m.show<UsersPane>(); }, "USERS", "LNAM", 0, ""};
    return dictionary;
}

void addDictionaryRows() {
    QTest::addColumn<int>("dictionary");
    for (int i = 0; i < dictionaries().size(); ++i)
        QTest::newRow(dictionaries()[i].title) << i;
}

// The names of the rows of a dictionary in the book, in order.
QString namesInBook(DictionaryMachine& m, const Dictionary& d) {
    return m.value(QStringLiteral("SELECT LIST(%1, '|') FROM (SELECT %1 FROM %2 ORDER BY %1)")
                       .arg(QString::fromLatin1(d.nameField), QString::fromLatin1(d.table)));
}

// The name of the row of key in the book.
QString nameInBook(DictionaryMachine& m, const Dictionary& d, const QString& key) {
    return m.value(QStringLiteral("SELECT %1 FROM %2 WHERE PRKEY=%3")
                       .arg(QString::fromLatin1(d.nameField), QString::fromLatin1(d.table), key));
}

// Selects the grid's row showing name.
void selectRow(DictionaryPane& pane, const QString& field, const QString& name) {
    const int row = int(columnTexts(pane, field).indexOf(name));
    QVERIFY2(row >= 0, qPrintable(name));
    pane.grid()->selectRow(row);
}

// Whether a command is offered: in its menus and on the pane's tool bar.
bool offered(DictionaryPane& pane, QAction* action) {
    for (QToolButton* button : pane.toolBar()->findChildren<QToolButton*>())
        if (button->defaultAction() == action)
            return action->isVisible() && toolBarPlace(pane.toolBar(), button)->isVisible();
    return false;
}

// Every tool button of the pane is enabled exactly when its command is: a denied command looks
// disabled.
bool buttonsFollowTheirCommands(DictionaryPane& pane) {
    for (QToolButton* button : pane.toolBar()->findChildren<QToolButton*>())
        if (button->defaultAction() && button->isEnabled() != button->defaultAction()->isEnabled())
            return false;
    return true;
}

} // namespace

class TestDictionaries : public QObject {
    Q_OBJECT
private slots:
    void addEditHideRestoreDelete_data() { addDictionaryRows(); }
    void addEditHideRestoreDelete() {
        QFETCH(int, dictionary);
        const Dictionary& d = dictionaries()[dictionary];
        const QString nameField = QString::fromLatin1(d.nameField);
        DictionaryMachine m;
        DictionaryPane* pane = d.show(m);
        QVERIFY(pane);
        const QString before = namesInBook(m, d);

        // New: the edit page on a new row of the pane's kind.
        pane->newAction()->trigger();
        QVERIFY(pane->isEditPageShown());
        QCOMPARE(pane->operationLabel()->text(), QStringLiteral("Добавление"));
        QCOMPARE(pane->editOkButton()->text(), QStringLiteral("Добавить"));
        QVERIFY(pane->fieldsArea()->isEnabled());
        for (QAction* command : {pane->newAction(), pane->openAction(), pane->hideAction(),
                                 pane->deleteAction(), pane->editAction()})
            QVERIFY2(!offered(*pane, command), qPrintable(command->objectName()));
        retype(pane->fieldEdit(nameField), QStringLiteral("Альфа"));
        pane->editOkButton()->click();
        QVERIFY(!pane->isEditPageShown());
        QVERIFY(offered(*pane, pane->newAction()));
        const QString key = m.value(
            QStringLiteral("SELECT PRKEY FROM %1 WHERE %2='Альфа'").arg(d.table, nameField));
        QVERIFY(key.toInt() > 10000);
        QCOMPARE(m.value(QStringLiteral("SELECT TYP FROM %1 WHERE PRKEY=%2").arg(d.table, key)),
                 QString::number(d.newType));
        QCOMPARE(pane->query().field("PRKEY").asString(), key);

        // Open shows the row locked; Edit unlocks it.
        pane->openAction()->trigger();
        QCOMPARE(pane->operationLabel()->text(), QStringLiteral(" Просмотр"));
        QCOMPARE(pane->editOkButton()->text(), QStringLiteral("OK"));
        QVERIFY(!pane->fieldsArea()->isEnabled());
        QVERIFY(offered(*pane, pane->editAction()) && offered(*pane, pane->deleteAction()) &&
                offered(*pane, pane->hideAction()));
        QCOMPARE(pane->hideAction()->text(), QStringLiteral("Скрыть"));
        QCOMPARE(pane->fieldEdit(nameField)->text(), QStringLiteral("Альфа"));
        pane->editAction()->trigger();
        QCOMPARE(pane->operationLabel()->text(), QStringLiteral(" Коррекция"));
        QVERIFY(pane->fieldsArea()->isEnabled());
        retype(pane->fieldEdit(nameField), QStringLiteral("Альфа Плюс"));
        pane->editOkButton()->click();
        QCOMPARE(nameInBook(m, d, key), QStringLiteral("Альфа Плюс"));

        // Hide: the row leaves the view and shows in the hidden view, where nothing is added.
        pane->openAction()->trigger();
        pane->hideAction()->trigger();
        QCOMPARE(nameInBook(m, d, key), QStringLiteral("?Альфа Плюс"));
        QVERIFY(!pane->isEditPageShown());
        QVERIFY(!columnTexts(*pane, nameField).contains(QStringLiteral("?Альфа Плюс")));
        pane->hiddenViewAction()->trigger();
        QCOMPARE(columnTexts(*pane, nameField), QStringList{QStringLiteral("?Альфа Плюс")});
        QVERIFY(!offered(*pane, pane->newAction()));
        pane->newAction()->trigger(); // Insert reaches the action even so
        QVERIFY(!pane->isEditPageShown());

        // Restore takes the "?" away.
        pane->openAction()->trigger();
        QVERIFY(pane->hideAction()->isChecked());
        QCOMPARE(pane->hideAction()->text(), QStringLiteral("Восстановить"));
        pane->hideAction()->trigger();
        QCOMPARE(nameInBook(m, d, key), QStringLiteral("Альфа Плюс"));
        QVERIFY(columnTexts(*pane, nameField).isEmpty());
        pane->hiddenViewAction()->trigger();
        QVERIFY(offered(*pane, pane->newAction()));

        // A name that begins with "?" already is hidden as it is.
        selectRow(*pane, nameField, QStringLiteral("Альфа Плюс"));
        pane->openAction()->trigger();
        pane->editAction()->trigger();
        retype(pane->fieldEdit(nameField), QStringLiteral("?Бета"));
        pane->hideAction()->trigger();
        QCOMPARE(nameInBook(m, d, key), QStringLiteral("?Бета"));

        // Delete: not from the browse page; answered No it keeps the row, Yes deletes it.
        pane->hiddenViewAction()->trigger();
        selectRow(*pane, nameField, QStringLiteral("?Бета"));
        pane->deleteAction()->trigger();
        QVERIFY(m.dialogs.requests.isEmpty());
        pane->openAction()->trigger();
        m.question = Answer::No;
        pane->deleteAction()->trigger();
        QCOMPARE(m.dialogs.requests.size(), 1);
        const DialogRequest& question = m.dialogs.requests.first();
        QCOMPARE(question.text, QStringLiteral("Вы уверенны, что хотите удалить запись?"));
        QCOMPARE(question.caption, QStringLiteral("Удаление"));
        QCOMPARE(question.buttons, Buttons::YesNo);
        QCOMPARE(question.defaultButton, DefaultButton::Second);
        QVERIFY(!pane->isEditPageShown());
        QCOMPARE(columnTexts(*pane, nameField), QStringList{QStringLiteral("?Бета")});
        pane->openAction()->trigger();
        m.question = Answer::Yes;
        pane->deleteAction()->trigger();
        QVERIFY(!pane->isEditPageShown());
        QVERIFY(columnTexts(*pane, nameField).isEmpty());
        QCOMPARE(
            m.value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE PRKEY=%2").arg(d.table, key)),
            QStringLiteral("0"));
        QCOMPARE(m.dialogs.texts.size(), 2);
        QCOMPARE(namesInBook(m, d), before);
    }

    // Only the Delete command deletes: the keys of the grid do not.
    void theGridKeysDeleteNothing() {
        DictionaryMachine m;
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 1, 'Альфа')");
        auto* pane = m.show<PayersPane>();
        for (int key : {int(Qt::Key_Delete), int(Qt::Key_Backspace)}) {
            QTest::keyClick(pane->grid(), Qt::Key(key));
            QTest::keyClick(pane->grid(), Qt::Key(key), Qt::ControlModifier);
        }
        QCOMPARE(columnTexts(*pane, "LNAM"), QStringList{"Альфа"});
        QCOMPARE(m.value("SELECT COUNT(*) FROM PARTS WHERE PRKEY=101"), QStringLiteral("1"));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    void aRecordNeedsAName_data() {
        QTest::addColumn<int>("dictionary");
        QTest::addColumn<QString>("name");
        for (int i = 0; i < dictionaries().size(); ++i) {
            QTest::addRow("%s, empty", dictionaries()[i].title) << i << QString();
            QTest::addRow("%s, blanks", dictionaries()[i].title) << i << QStringLiteral("   ");
        }
    }
    void aRecordNeedsAName() {
        QFETCH(int, dictionary);
        QFETCH(QString, name);
        const Dictionary& d = dictionaries()[dictionary];
        DictionaryMachine m;
        DictionaryPane* pane = d.show(m);
        const QString before = namesInBook(m, d);
        pane->newAction()->trigger();
        retype(pane->fieldEdit(QString::fromLatin1(d.nameField)), name);
        pane->editOkButton()->click();
        QCOMPARE(m.dialogs.texts, QStringList{"Должно быть указано название!"});
        QVERIFY(pane->isEditPageShown());
        QCOMPARE(namesInBook(m, d), before);
        pane->editCancelButton()->click();
        QVERIFY(!pane->isEditPageShown());
        QCOMPARE(namesInBook(m, d), before);
    }

    void rightsLimitTheCommands_data() {
        QTest::addColumn<int>("dictionary");
        QTest::addColumn<int>("action");
        for (int i = 0; i < dictionaries().size(); ++i)
            for (int action = 2; action <= 5; ++action)
                QTest::addRow("%s%d", dictionaries()[i].rightsArea, action) << i << action;
    }
    void rightsLimitTheCommands() {
        QFETCH(int, dictionary);
        QFETCH(int, action);
        const Dictionary& d = dictionaries()[dictionary];
        DictionaryMachine m;
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 1, 'Альфа')");
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (102, 2, 'Бета')");
        setAdministratorText(m.machine.book, "DATA2",
                             setKeyValue(setKeyValue(QString(), "IncomeDoc2", "N"),
                                         d.rightsArea + QString::number(action), "N"));
        DictionaryPane* pane = d.show(m);
        QCOMPARE(pane->newAction()->isEnabled(), action != 2);
        QVERIFY(pane->openAction()->isEnabled());
        pane->openAction()->trigger();
        const QList<QAction*> commands{pane->editAction(), pane->deleteAction(),
                                       pane->hideAction()};
        for (int i = 0; i < commands.size(); ++i)
            QCOMPARE(commands[i]->isEnabled(), i + 3 != action);
        QVERIFY(buttonsFollowTheirCommands(*pane));
        pane->editCancelButton()->click();
        QCOMPARE(pane->newAction()->isEnabled(), action != 2);
        QVERIFY(buttonsFollowTheirCommands(*pane));
    }

    void theFilterFindsPartOfANameInAnyCase() {
        DictionaryMachine m;
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 1, 'ООО РОМАШКА')");
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (102, 1, 'ЗАО Лютик')");
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (103, 1, 'ALPHA Ltd')");
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (104, 2, 'ООО Ромашка-2')");
        auto* pane = m.show<PayersPane>();
        m.main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.main()));
        QCOMPARE(columnTexts(*pane, "LNAM"),
                 (QStringList{"ALPHA Ltd", "ЗАО Лютик", "ООО РОМАШКА"}));

        const QList<std::pair<QString, QStringList>> cases = {
            {"ромаш", {"ООО РОМАШКА"}},
            {"alpha", {"ALPHA Ltd"}},
            {"о", {"ЗАО Лютик", "ООО РОМАШКА"}},
            {"нет такого", {}},
            {"", {"ALPHA Ltd", "ЗАО Лютик", "ООО РОМАШКА"}},
        };
        for (const auto& [mask, names] : cases) {
            pane->filterAction()->trigger();
            QVERIFY(pane->filterEdit()->hasFocus());
            QVERIFY(pane->filterButton()->isVisible());
            retype(pane->filterEdit(), mask);
            QTest::keyClick(pane->filterEdit(), Qt::Key_Return);
            QVERIFY(pane->grid()->hasFocus());
            QCOMPARE(columnTexts(*pane, "LNAM"), names);
        }
        pane->filterEdit()->setFocus();
        retype(pane->filterEdit(), "лют");
        pane->filterButton()->click();
        QVERIFY(!pane->filterButton()->isVisible());
        QVERIFY(pane->grid()->hasFocus());
        QCOMPARE(columnTexts(*pane, "LNAM"), QStringList{"ЗАО Лютик"});
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    void keysOfTheEditPage() {
        DictionaryMachine m;
        auto* pane = m.show<PayersPane>();
        m.main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.main()));
        pane->newAction()->trigger();
        QVERIFY(pane->fieldEdit("LNAM")->hasFocus());
        type(pane->fieldEdit("LNAM"), "Альфа");
        QTest::keyClick(pane->fieldEdit("LNAM"), Qt::Key_Return);
        QVERIFY(pane->fieldEdit("CITY")->hasFocus());
        type(pane->fieldEdit("CITY"), "Киев");
        QTest::keyClick(pane->fieldEdit("CITY"), Qt::Key_Escape);
        QVERIFY(!pane->isEditPageShown());
        QVERIFY(columnTexts(*pane, "LNAM").isEmpty());
        QCOMPARE(m.value("SELECT COUNT(*) FROM PARTS WHERE TYP=1"), QStringLiteral("0"));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    void partnerFieldsAreStored() {
        DictionaryMachine m;
        m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM, ETC) VALUES (101, 2, 'Бета', 'x=1')");
        auto* pane = m.show<RecipientsPane>();
        const QStringList fields{"LNAM", "CITY", "INCITY", "INBANK", "MFO", "ID", "RS", "INDN"};
        // The name one shorter than its column: room for the "?" that hides it.
        const QList<int> lengths{99, 100, 100, 100, 50, 50, 50, 50};
        pane->openAction()->trigger();
        pane->editAction()->trigger();
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(pane->fieldEdit(fields[i])->maxLength(), lengths[i]);
            retype(pane->fieldEdit(fields[i]), fields[i].toLower() + "-значение");
        }
        pane->editOkButton()->click();
        for (const QString& field : fields)
            QCOMPARE(m.value("SELECT " + field + " FROM PARTS WHERE PRKEY=101"),
                     field.toLower() + "-значение");
        QCOMPARE(m.value("SELECT TYP FROM PARTS WHERE PRKEY=101"), QStringLiteral("2"));
        QCOMPARE(m.value("SELECT ETC FROM PARTS WHERE PRKEY=101"), QStringLiteral("x=1"));
    }

    // Deleting a record still in use, or the last user or administrator, is refused with the
    // book's own text; the record stays, in the grid and in the book, also after a later save.
    void refusedDeletesKeepTheRecord_data() {
        QTest::addColumn<int>("dictionary"); // of dictionaries(); -1 for the users
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("payer in a document")
            << 0
            << QStringList{"INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (101, 1, 'Занятый')",
                           "INSERT INTO OPER (PRKEY, TYP, LPART) VALUES (10001, 1, 101)"}
            << "Занятый"
            << "Фирма используется в документах!";
        QTest::newRow("payment type in a document")
            << 2
            << QStringList{"INSERT INTO OPER (PRKEY, TYP, REASON) VALUES (10001, 1, "
                           "'Поступление денег')"}
            << "Поступление денег"
            << "Удаление запрещено! Тип платежа используется в документах.";
        QTest::newRow("user in the history")
            << -1
            << QStringList{"INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (101, 'Кассир', 0)",
                           "INSERT INTO HISTORY (PRKEY, TYP, LDOC, LUSER) VALUES (1, 1, 1, 101)"}
            << "Кассир"
            << "Вы не можете удалить данного пользователя. Он используется в истории.";
        QTest::newRow("last user") << -1 << QStringList{} << "Admin"
                                   << "Невозмoжно удалить последнего пользователя!";
        QTest::newRow("last administrator")
            << -1
            << QStringList{"INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (101, 'Кассир', 0)"}
            << "Admin"
            << "Невозмoжно удалить последнего администратора!";
    }
    void refusedDeletesKeepTheRecord() {
        QFETCH(int, dictionary);
        QFETCH(QStringList, rows);
        QFETCH(QString, name);
        QFETCH(QString, message);
        const Dictionary& d = dictionary < 0 ? users() : dictionaries()[dictionary];
        const QString nameField = QString::fromLatin1(d.nameField);
        DictionaryMachine m;
        for (const QString& sql : rows)
            m.execute(sql);
        DictionaryPane* pane = d.show(m);
        const QStringList shown = columnTexts(*pane, nameField);
        selectRow(*pane, nameField, name);
        const QString key = pane->query().field("PRKEY").asString();

        pane->openAction()->trigger();
        pane->deleteAction()->trigger();
        QCOMPARE(m.dialogs.texts, (QStringList{"Вы уверенны, что хотите удалить запись?",
                                               "Не могу сохранить введенные данные!", message}));
        QVERIFY(!pane->isEditPageShown());
        QCOMPARE(columnTexts(*pane, nameField), shown);
        QCOMPARE(pane->query().field("PRKEY").asString(), key);

        // A save of another record does not delete it after all.
        m.dialogs.texts.clear();
        pane->newAction()->trigger();
        retype(pane->fieldEdit(nameField), "Новая запись");
        pane->editOkButton()->click();
        QVERIFY2(m.dialogs.texts.isEmpty(), qPrintable(m.dialogs.texts.join('|')));
        QCOMPARE(nameInBook(m, d, key), name);
        QVERIFY(columnTexts(*pane, nameField).contains(name));
        QVERIFY(columnTexts(*pane, nameField).contains("Новая запись"));
    }

    // The book renames a payment type in its documents when the type is renamed or hidden.
    void renamingAPaymentTypeRenamesItInItsDocuments() {
        DictionaryMachine m;
        m.execute("INSERT INTO OPER (PRKEY, TYP, REASON) VALUES (10001, 2, 'Расход денег')");
        auto* pane = m.show<PaymentTypesPane>();
        QCOMPARE(columnTexts(*pane, "REASON"), (QStringList{"Поступление денег", "Расход денег"}));
        selectRow(*pane, "REASON", "Расход денег");
        QCOMPARE(columnTexts(*pane, "RTYP"), (QStringList{"Приход", "Расход"}));
        pane->openAction()->trigger();
        QVERIFY(pane->kindButtons()->button(2)->isChecked());
        pane->editAction()->trigger();
        retype(pane->fieldEdit("REASON"), "Хозяйственные расходы");
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT REASON FROM OPER WHERE PRKEY=10001"),
                 QStringLiteral("Хозяйственные расходы"));
        pane->openAction()->trigger();
        pane->hideAction()->trigger();
        QCOMPARE(m.value("SELECT REASON FROM OPER WHERE PRKEY=10001"),
                 QStringLiteral("?Хозяйственные расходы"));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    void thePaymentTypeKindIsChosen() {
        DictionaryMachine m;
        auto* pane = m.show<PaymentTypesPane>();
        pane->newAction()->trigger();
        QVERIFY(pane->kindButtons()->button(2)->isChecked());
        QVERIFY(!pane->kindButtons()->button(1)->isChecked());
        retype(pane->fieldEdit("REASON"), "Продажа");
        pane->kindButtons()->button(1)->click();
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT TYP FROM REASONS WHERE REASON='Продажа'"), QStringLiteral("1"));
        selectRow(*pane, "REASON", "Продажа");
        QCOMPARE(pane->grid()->model()->index(pane->grid()->currentIndex().row(), 1).data(),
                 QVariant(QStringLiteral("Приход")));
    }

    // ---- Users ----

    void anAdministratorCannotBeHidden() {
        DictionaryMachine m;
        m.execute("INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (101, 'Кассир', 0)");
        auto* pane = m.show<UsersPane>();
        QVERIFY(!pane->filterPanel()->isVisibleTo(pane));
        QVERIFY(!pane->filterAction()->isEnabled());
        QCOMPARE(columnTexts(*pane, "LNAM"), (QStringList{"Admin", "Кассир"}));
        QCOMPARE(columnTexts(*pane, "DisplayAdmin"), (QStringList{"Да", ""}));
        pane->openAction()->trigger();
        pane->hideAction()->trigger();
        QCOMPARE(m.dialogs.texts, QStringList{"Администратора скрыть нельзя."});
        QVERIFY(!pane->hideAction()->isChecked());
        QCOMPARE(m.value("SELECT LNAM FROM USERS WHERE PRKEY=1"), QStringLiteral("Admin"));

        pane->editCancelButton()->click();
        selectRow(*pane, "LNAM", "Кассир");
        pane->openAction()->trigger();
        pane->hideAction()->trigger();
        QCOMPARE(m.value("SELECT LNAM FROM USERS WHERE PRKEY=101"), QStringLiteral("?Кассир"));
        QCOMPARE(columnTexts(*pane, "LNAM"), QStringList{"Admin"});
    }

    void aUserNeedsAName() {
        DictionaryMachine m;
        auto* pane = m.show<UsersPane>();
        pane->newAction()->trigger();
        QCOMPARE(pane->fieldEdit("LNAM")->maxLength(), 49); // USERS.LNAM holds 50, with the "?"
        retype(pane->fieldEdit("LNAM"), "  ");
        pane->editOkButton()->click();
        QCOMPARE(m.dialogs.texts, QStringList{"Укажите имя пользовтеля!"});
        QVERIFY(pane->isEditPageShown());
        QCOMPARE(m.value("SELECT COUNT(*) FROM USERS"), QStringLiteral("1"));
        retype(pane->fieldEdit("LNAM"), "Кассир");
        pane->editOkButton()->click();
        QVERIFY(!pane->isEditPageShown());
        QCOMPARE(m.value("SELECT LNAM FROM USERS WHERE PRKEY>1"), QStringLiteral("Кассир"));
    }

    void thePasswordIsSetOnlyWhenConfirmed() {
        DictionaryMachine m;
        m.execute("UPDATE USERS SET PASSW='26464545' WHERE PRKEY=1");
        auto* pane = m.show<UsersPane>();
        QVERIFY(!offered(*pane, pane->passwordAction()));
        pane->openAction()->trigger();
        QVERIFY(offered(*pane, pane->passwordAction()));

        whenModalShows([](QDialog& dialog) { dialog.reject(); });
        pane->passwordAction()->trigger();
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT PASSW FROM USERS WHERE PRKEY=1"), QStringLiteral("26464545"));

        pane->openAction()->trigger();
        whenModalShows([](QDialog& dialog) {
            type(dialog.findChild<QLineEdit*>("passwordEdit"), "Ёж");
            type(dialog.findChild<QLineEdit*>("confirmEdit"), "Ёж");
            dialog.findChild<QPushButton*>("okButton")->click();
        });
        pane->passwordAction()->trigger();
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT PASSW FROM USERS WHERE PRKEY=1"), QStringLiteral("8EA668"));
        QVERIFY(m.dialogs.requests.isEmpty());
    }
};

QTEST_MAIN(TestDictionaries)
#include "test_dictionaries.moc"
