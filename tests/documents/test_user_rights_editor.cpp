#include "tests/support/documents/dictionary_machine.h"

#include "documents/rights_editor.h"
#include "documents/users_pane.h"
#include "platform/firebird/data_set.h"
#include "tests/support/shell/book_machine.h"
#include "ui/data_grid.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// The areas of the rights with their actions, in the order the records are written.
const QList<std::pair<const char*, const char*>> kAreaActions = {
    {"IncomeDoc", "12347"},   {"IssueDoc", "12347"},      {"MovementReport", "126478"},
    {"ReestrDocs", "1678"},   {"PayersReport", "126478"}, {"AcceptorsReport", "126478"},
    {"AnIssueReport", "178"}, {"VocsIncome", "12345"},    {"VocsIssue", "12345"},
    {"VocsReasons", "12345"}, {"VocsInsertOwner", "1"},   {"VocsUsers", "1"},
    {"Options", "1"}};

// The stored bytes of the rights: value under every key, except the keys of denied.
QByteArray storedRights(const char* value, const QStringList& denied = {}) {
    QByteArray text;
    for (const auto& [word, actions] : kAreaActions) {
        for (const char* action = actions; *action; ++action) {
            const QByteArray key = QByteArray(word) + *action;
            text += key + '=' + (denied.contains(QString::fromLatin1(key)) ? "N" : value) + '\x01';
        }
    }
    return text;
}

QStringList texts(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QList<bool> ticks(const QListWidget* list) {
    QList<bool> states;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->flags() & Qt::ItemIsUserCheckable)
            states << (list->item(i)->checkState() == Qt::Checked);
    return states;
}

QListWidgetItem* line(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void tick(QListWidget* list, const QString& text, bool checked) {
    QListWidgetItem* item = line(list, text);
    QVERIFY2(item, qPrintable(text));
    list->setCurrentItem(item);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

const QStringList kHeadings{"Документы", "Отчеты", "Сервис"};

// The users pane on the row of name, opened and unlocked.
UsersPane* editUser(DictionaryMachine& m, const QString& name) {
    auto* pane = m.show<UsersPane>();
    const int row = int(columnTexts(*pane, "LNAM").indexOf(name));
    if (row < 0)
        qFatal("no user %s", qPrintable(name));
    pane->grid()->selectRow(row);
    pane->openAction()->trigger();
    pane->editAction()->trigger();
    return pane;
}

} // namespace

class TestUserRightsEditor : public QObject {
    Q_OBJECT
private slots:
    // A new user may do nothing until he is given his rights, and the boxes say so.
    void aNewUserStartsWithEveryRightDenied() {
        DictionaryMachine m;
        auto* pane = m.show<UsersPane>();
        pane->newAction()->trigger();
        RightsEditor* rights = pane->rightsEditor();
        QCOMPARE(ticks(rights->areaList()), QList<bool>(13, false));
        QVERIFY(!rights->operationList()->isVisibleTo(rights));
        QCOMPARE(pane->adminLabel()->text(), QStringLiteral("имеет права простого пользователя"));
        retype(pane->fieldEdit("LNAM"), "Кассир");
        pane->editOkButton()->click();
        QVERIFY(!pane->isEditPageShown());
        QCOMPARE(m.bytes("SELECT DATA2 FROM USERS WHERE LNAM='Кассир'"), storedRights("N"));
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE LNAM='Кассир'"), QStringLiteral("0"));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    void everyBoxTickedAllowsAllFiftyThreeRights() {
        DictionaryMachine m;
        auto* pane = m.show<UsersPane>();
        pane->newAction()->trigger();
        retype(pane->fieldEdit("LNAM"), "Кассир");
        QListWidget* areas = pane->rightsEditor()->areaList();
        QListWidget* operations = pane->rightsEditor()->operationList();
        for (int i = 0; i < areas->count(); ++i) {
            QListWidgetItem* item = areas->item(i);
            areas->setCurrentItem(item);
            if (!(item->flags() & Qt::ItemIsUserCheckable))
                continue;
            item->setCheckState(Qt::Checked);
            QVERIFY(operations->isVisibleTo(pane->rightsEditor()));
            for (int j = 0; j < operations->count(); ++j)
                operations->item(j)->setCheckState(Qt::Checked);
        }
        pane->editOkButton()->click();
        const QByteArray stored = m.bytes("SELECT DATA2 FROM USERS WHERE LNAM='Кассир'");
        QCOMPARE(stored.count('\x01'), 53);
        QCOMPARE(stored, storedRights("Y"));
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE LNAM='Кассир'"), QStringLiteral("1"));
    }

    void aHeadingHasNoBoxAndNoOperations() {
        DictionaryMachine m;
        UsersPane* pane = editUser(m, "Admin");
        RightsEditor* rights = pane->rightsEditor();
        QCOMPARE(rights->areaList()->currentItem()->text(), QStringLiteral("Приход"));
        QCOMPARE(rights->areaList()->count(), 16);
        for (const QString& heading : kHeadings) {
            QListWidgetItem* item = line(rights->areaList(), heading);
            QVERIFY(item);
            QVERIFY(!(item->flags() & Qt::ItemIsUserCheckable));
            QVERIFY(!item->data(Qt::CheckStateRole).isValid());
            rights->areaList()->setCurrentItem(item);
            QCOMPARE(rights->operationList()->count(), 0);
            QVERIFY(!rights->operationList()->isVisibleTo(rights));
            QCOMPARE(rights->areaTitleLabel()->text(), heading);
        }
        // Nothing was changed: nothing is written.
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT COUNT(*) FROM USERS WHERE PRKEY=1 AND DATA2 IS NULL"), "1");
    }

    void theOperationsOfTheSelectedArea_data() {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QStringList>("operations");
        QTest::newRow("income") << "Приход"
                                << QStringList{"Новый", "Коррекция", "Удалить", "Печать"};
        QTest::newRow("money movement")
            << "Движение денег"
            << QStringList{"Новый", "Пересчитать", "Удалить", "Печать", "Экспорт"};
        QTest::newRow("register") << "Реестр документов"
                                  << QStringList{"Пересчитать", "Печать", "Экспорт"};
        QTest::newRow("analysis") << "Анализ расходов" << QStringList{"Печать", "Экспорт"};
        QTest::newRow("payment types") << "Справочник типов платежей"
                                       << QStringList{"Новый", "Коррекция", "Удалить", "Скрыть"};
        QTest::newRow("options") << "Настройки" << QStringList{};
    }
    void theOperationsOfTheSelectedArea() {
        QFETCH(QString, area);
        QFETCH(QStringList, operations);
        DictionaryMachine m;
        RightsEditor* rights = editUser(m, "Admin")->rightsEditor();
        rights->areaList()->setCurrentItem(line(rights->areaList(), area));
        QCOMPARE(rights->areaTitleLabel()->text(), area);
        QCOMPARE(texts(rights->operationList()), operations);
        QVERIFY(rights->operationList()->isVisibleTo(rights));
        tick(rights->areaList(), area, false);
        QVERIFY(!rights->operationList()->isVisibleTo(rights));
        tick(rights->areaList(), area, true);
        QVERIFY(rights->operationList()->isVisibleTo(rights));
    }

    // The boxes show the stored rights; changed, they are stored back in record order.
    void theBoxesFollowTheStoredRights() {
        DictionaryMachine m;
        setAdministratorText(m.machine.book, "DATA2", "IncomeDoc2=N\x01IssueDoc3=n\x01");
        UsersPane* pane = editUser(m, "Admin");
        RightsEditor* rights = pane->rightsEditor();
        QCOMPARE(ticks(rights->areaList()), QList<bool>(13, true));
        rights->areaList()->setCurrentItem(line(rights->areaList(), "Приход"));
        QCOMPARE(ticks(rights->operationList()), (QList<bool>{false, true, true, true}));
        rights->areaList()->setCurrentItem(line(rights->areaList(), "Расход"));
        QCOMPARE(ticks(rights->operationList()), QList<bool>(4, true));

        rights->areaList()->setCurrentItem(line(rights->areaList(), "Движение денег"));
        tick(rights->operationList(), "Пересчитать", false);
        tick(rights->areaList(), "Настройки", false);
        pane->editOkButton()->click();
        QCOMPARE(m.bytes("SELECT DATA2 FROM USERS WHERE PRKEY=1"),
                 storedRights("Y", {"IncomeDoc2", "MovementReport6", "Options1"}));
    }

    // The line "Пользователи" shows the administrator's flag, whatever the rights text says;
    // the other lines follow the text. Looked at and left, nothing is written.
    void theUsersLineShowsTheAdministratorFlag_data() {
        QTest::addColumn<int>("isAdmin");
        QTest::addColumn<QString>("rights");
        QTest::newRow("simple user, empty rights") << 0 << "";
        QTest::newRow("simple user, users allowed by his text") << 0 << "VocsUsers1=Y";
        QTest::newRow("administrator, users denied by his text") << 1 << "VocsUsers1=N";
        QTest::newRow("administrator, empty rights") << 1 << "";
    }
    void theUsersLineShowsTheAdministratorFlag() {
        QFETCH(int, isAdmin);
        QFETCH(QString, rights);
        DictionaryMachine m;
        m.execute(
            QStringLiteral("INSERT INTO USERS (PRKEY, LNAM, ISADMIN, DATA2) VALUES (101, "
                           "'Кассир', %1, %2)")
                .arg(isAdmin)
                .arg(rights.isEmpty() ? QStringLiteral("NULL") : "'" + rights + QChar(1) + "'"));
        UsersPane* pane = editUser(m, "Кассир");
        QList<bool> expected(13, true);
        expected[11] = isAdmin == 1; // "Пользователи"
        QCOMPARE(ticks(pane->rightsEditor()->areaList()), expected);
        QCOMPARE(pane->adminLabel()->text(),
                 isAdmin == 1 ? QStringLiteral("имеет права Администратора")
                              : QStringLiteral("имеет права простого пользователя"));
        const QString stored = m.value("SELECT DATA2 FROM USERS WHERE PRKEY=101");
        pane->editOkButton()->click();
        QVERIFY(!pane->isEditPageShown());
        QCOMPARE(m.value("SELECT DATA2 FROM USERS WHERE PRKEY=101"), stored);
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE PRKEY=101"), QString::number(isAdmin));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    // "Пользователи" in the rights is the administrator's flag.
    void theUsersRightIsTheAdministratorFlag() {
        DictionaryMachine m;
        m.execute("INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (101, 'Кассир', 0)");
        UsersPane* pane = editUser(m, "Кассир");
        QLabel* label = pane->adminLabel();
        QCOMPARE(label->text(), QStringLiteral("имеет права простого пользователя"));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        tick(pane->rightsEditor()->areaList(), "Пользователи", false);
        tick(pane->rightsEditor()->areaList(), "Пользователи", true);
        QCOMPARE(pane->query().field("ISADMIN").asInteger(), 1);
        QCOMPARE(label->text(), QStringLiteral("имеет права Администратора"));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE PRKEY=101"), QStringLiteral("1"));
        QCOMPARE(columnTexts(*pane, "DisplayAdmin"), (QStringList{"Да", "Да"}));

        pane = editUser(m, "Кассир");
        QCOMPARE(pane->adminLabel()->text(), QStringLiteral("имеет права Администратора"));
        tick(pane->rightsEditor()->areaList(), "Пользователи", false);
        QCOMPARE(pane->query().field("ISADMIN").asInteger(), 0);
        pane->editOkButton()->click();
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE PRKEY=101"), QStringLiteral("0"));
        QCOMPARE(m.bytes("SELECT DATA2 FROM USERS WHERE PRKEY=101"),
                 storedRights("Y", {"VocsUsers1"}));
        QCOMPARE(columnTexts(*pane, "DisplayAdmin"), (QStringList{"Да", ""}));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    // The last administrator keeps his flag; the refused change is dropped by Cancel and not
    // stored by a later save.
    void theLastAdministratorKeepsHisFlag() {
        DictionaryMachine m;
        UsersPane* pane = editUser(m, "Admin");
        tick(pane->rightsEditor()->areaList(), "Пользователи", false);
        pane->editOkButton()->click();
        QCOMPARE(m.dialogs.texts, (QStringList{"Не могу сохранить введенные данные!",
                                               "В базе данных должен быть хотя бы один "
                                               "администратор!"}));
        QVERIFY(pane->isEditPageShown());
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE PRKEY=1"), QStringLiteral("1"));
        pane->editCancelButton()->click();
        QCOMPARE(columnTexts(*pane, "DisplayAdmin"), QStringList{"Да"});

        m.dialogs.texts.clear();
        pane->newAction()->trigger();
        retype(pane->fieldEdit("LNAM"), "Кассир");
        pane->editOkButton()->click();
        QVERIFY(m.dialogs.texts.isEmpty());
        QCOMPARE(m.value("SELECT ISADMIN FROM USERS WHERE PRKEY=1"), QStringLiteral("1"));
        QCOMPARE(m.value("SELECT COUNT(*) FROM USERS WHERE DATA2 IS NULL"), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestUserRightsEditor)
#include "test_user_rights_editor.moc"
