// What the dictionaries, the owner card and the users write when the same book is open in
// another copy of the program: a record only looked at is not written, and a record another copy
// changed, deleted or is saving is not overwritten.
#include "tests/support/documents/dictionary_machine.h"

#include "core/key_value_text.h"
#include "documents/owner_card.h"
#include "documents/partners_pane.h"
#include "documents/payment_types_pane.h"
#include "documents/users_pane.h"
#include "platform/firebird/data_set.h"
#include "store/owner_names.h"
#include "tests/support/shell/book_machine.h"
#include "ui/data_grid.h"

#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <functional>

namespace {

const QString kChangedElsewhere =
    QStringLiteral("Запись изменена или удалена в другом окне или другим пользователем, пока "
                   "была открыта здесь. Справочник прочитан заново; ваши изменения не сохранены.");
const QString kOwnerChangedElsewhere =
    QStringLiteral("Запись изменена или удалена в другом окне или другим пользователем, пока "
                   "была открыта здесь. Реквизиты прочитаны заново; ваши изменения не "
                   "сохранены.");
const QString kBeingSaved =
    QStringLiteral("Запись сейчас сохраняется в другом окне или другим пользователем. Ваши "
                   "изменения не сохранены: повторите сохранение чуть позже.");

// Another copy of the program on the machine's book, in a process of its own with a data store
// of its own (other_copy).
class OtherCopy {
public:
    OtherCopy(const QString& ini, const QString& book) : m_base{ini, book} {}

    // Runs a command of the other copy to its end.
    void run(const QStringList& command) {
        QProcess copy;
        copy.start(QStringLiteral(OTHER_COPY), m_base + command);
        QVERIFY(copy.waitForFinished(60000));
        QVERIFY2(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0,
                 copy.readAllStandardError().constData());
    }
    // Writes a change of the row without committing it, and holds it until release.
    void hold(const QString& table, int key, const QString& column, const QString& value) {
        m_held.start(QStringLiteral(OTHER_COPY),
                     m_base + QStringList{"hold", table, QString::number(key), column, value});
        QVERIFY(m_held.waitForReadyRead(60000));
        QCOMPARE(m_held.readLine().trimmed(), QByteArray("held"));
    }
    // The held change is rolled back.
    void release() {
        m_held.closeWriteChannel();
        QVERIFY(m_held.waitForFinished(60000));
        QCOMPARE(m_held.exitCode(), 0);
    }

private:
    QStringList m_base;
    QProcess m_held;
};

// One record of a dictionary, its name changed here while another copy changes another column.
struct Record {
    const char* title;
    std::function<DictionaryPane*(DictionaryMachine&)> show;
    const char* table;
    int key;
    const char* nameField;
    const char* name;
    const char* otherColumn; // what the other copy changes
    const char* otherValue;
    const char* rightsArea; // empty: the users, whose dictionary only an administrator opens
};

const QList<Record>& records() {
    static const QList<Record> list = {
        {"payer", [](DictionaryMachine& m) { return m.show<PayersPane>(); }, "PARTS", 101, "LNAM",
         "Альфа", "CITY", "Львов", "VocsIncome"},
        {"recipient", [](DictionaryMachine& m) { return m.show<RecipientsPane>(); }, "PARTS", 102,
         "LNAM", "Бета", "INBANK", "Приватбанк", "VocsIssue"},
        {"payment type", [](DictionaryMachine& m) { return m.show<PaymentTypesPane>(); }, "REASONS",
         103, "REASON", "Аренда", "LIMIT", "250", "VocsReasons"},
        {"user", [](DictionaryMachine& m) { return m.show<UsersPane>(); }, "USERS", 104, "LNAM",
         "Кассир", "PASSW", "26464545", ""},
    };
    return list;
}

// The four records in the book, as the panes find them.
void addRecords(DictionaryMachine& m) {
    m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM, CITY) VALUES (101, 1, 'Альфа', 'Киев')");
    m.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (102, 2, 'Бета')");
    m.execute("INSERT INTO REASONS (PRKEY, TYP, REASON, LIMIT) VALUES (103, 2, 'Аренда', 100)");
    m.execute("INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (104, 'Кассир', 0)");
}

QString inBook(DictionaryMachine& m, const Record& r, const QString& column) {
    return m.value(QStringLiteral("SELECT %1 FROM %2 WHERE PRKEY=%3")
                       .arg(column, QString::fromLatin1(r.table), QString::number(r.key)));
}

// The pane of the record, on its row, opened: its fields shown and locked.
DictionaryPane* openRecord(DictionaryMachine& m, const Record& r) {
    DictionaryPane* pane = r.show(m);
    const int row = int(
        columnTexts(*pane, QString::fromLatin1(r.nameField)).indexOf(QString::fromUtf8(r.name)));
    if (row < 0)
        qFatal("no row %s", r.name);
    pane->grid()->selectRow(row);
    pane->openAction()->trigger();
    return pane;
}

QLineEdit* edit(QDialog& card, const char* name) {
    auto* found = card.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the card has no %s", name);
    return found;
}

void click(QDialog& card, const char* button) {
    card.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

} // namespace

class TestDictionarySaves : public QObject {
    Q_OBJECT
private slots:
    // OK on a record that was opened, or unlocked, and left as it was writes nothing: what
    // another copy stored meanwhile stays. A user without the right to change the record writes
    // nothing either, whatever he tries.
    void aRecordOnlyLookedAtIsNotWritten_data() {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("how");
        for (int i = 0; i < records().size(); ++i) {
            const Record& r = records()[i];
            QTest::addRow("%s, opened", r.title) << i << "opened";
            QTest::addRow("%s, unlocked", r.title) << i << "unlocked";
            if (*r.rightsArea)
                QTest::addRow("%s, without the right", r.title) << i << "without the right";
        }
    }
    void aRecordOnlyLookedAtIsNotWritten() {
        QFETCH(int, record);
        QFETCH(QString, how);
        const Record& r = records()[record];
        DictionaryMachine m;
        addRecords(m);
        if (how == "without the right")
            setAdministratorText(m.machine.book, "DATA2",
                                 setKeyValue(QString(), r.rightsArea + QStringLiteral("3"), "N"));
        DictionaryPane* pane = openRecord(m, r);
        const QString nameField = QString::fromLatin1(r.nameField);
        if (how == "unlocked")
            pane->editAction()->trigger();
        if (how == "without the right") {
            QVERIFY(!pane->editAction()->isEnabled());
            pane->editAction()->trigger();
            QVERIFY(!pane->fieldsArea()->isEnabled());
            retype(pane->fieldEdit(nameField), QStringLiteral("Чужое"));
        }
        OtherCopy(m.machine.ini, m.machine.book)
            .run({"set", r.table, QString::number(r.key), r.otherColumn, r.otherValue});
        pane->editOkButton()->click();
        QVERIFY(!pane->isEditPageShown());
        QVERIFY(m.dialogs.requests.isEmpty());
        QCOMPARE(inBook(m, r, r.otherColumn), QString::fromUtf8(r.otherValue));
        QCOMPARE(inBook(m, r, nameField), QString::fromUtf8(r.name));
        if (record == 3) // the rights text of the user is not written either
            QCOMPARE(inBook(m, r, "IIF(DATA2 IS NULL, 'none', 'some')"), QStringLiteral("none"));
    }

    // The save of a record that another copy changed in another column, deleted or is saving
    // right now writes nothing: the pane says so and reads the rows again, or, while the other
    // copy is still saving, keeps what was typed for another try. A column the pane never writes
    // (the user's own data) is no conflict.
    void aRecordChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("other"); // changed, deleted, saving, own data
        for (int i = 0; i < records().size(); ++i) {
            const Record& r = records()[i];
            for (const char* other : {"changed", "deleted", "saving"})
                QTest::addRow("%s %s", r.title, other) << i << other;
        }
        QTest::newRow("user's own data changed") << 3 << "own data";
    }
    void aRecordChangedElsewhereIsNotOverwritten() {
        QFETCH(int, record);
        QFETCH(QString, other);
        const Record& r = records()[record];
        const QString nameField = QString::fromLatin1(r.nameField);
        const QString name = QString::fromUtf8(r.name);
        const QString ours = name + QStringLiteral(" 2");
        DictionaryMachine m;
        addRecords(m);
        const QString before = inBook(m, r, r.otherColumn);
        DictionaryPane* pane = openRecord(m, r);
        pane->editAction()->trigger();
        retype(pane->fieldEdit(nameField), ours);
        OtherCopy copy(m.machine.ini, m.machine.book);
        const QString key = QString::number(r.key);
        if (other == "changed")
            copy.run({"set", r.table, key, r.otherColumn, r.otherValue});
        else if (other == "deleted")
            copy.run({"delete", r.table, key});
        else if (other == "saving")
            copy.hold(r.table, r.key, r.otherColumn, r.otherValue);
        else
            copy.run({"set", r.table, key, "DATA1", "Layout=1"});
        pane->editOkButton()->click();

        if (other == "own data") {
            QVERIFY(m.dialogs.texts.isEmpty());
            QCOMPARE(inBook(m, r, nameField), ours);
            QCOMPARE(inBook(m, r, "DATA1"), QStringLiteral("Layout=1"));
            return;
        }
        if (other == "saving") {
            QCOMPARE(m.dialogs.texts, QStringList{kBeingSaved});
            QVERIFY(pane->isEditPageShown());
            QCOMPARE(pane->fieldEdit(nameField)->text(), ours);
            copy.release();
            QCOMPARE(inBook(m, r, nameField), name);
            // Once the other copy is done, the save goes through.
            m.dialogs.texts.clear();
            pane->editOkButton()->click();
            QVERIFY(m.dialogs.texts.isEmpty());
            QCOMPARE(inBook(m, r, nameField), ours);
            QCOMPARE(inBook(m, r, r.otherColumn), before);
            return;
        }
        QCOMPARE(m.dialogs.texts, QStringList{kChangedElsewhere});
        QVERIFY(!pane->isEditPageShown());
        const QStringList shown = columnTexts(*pane, nameField);
        QVERIFY(!shown.contains(ours));
        if (other == "deleted") {
            QVERIFY(!shown.contains(name));
            QCOMPARE(inBook(m, r, "COUNT(*)"), QStringLiteral("0"));
        } else {
            QCOMPARE(int(pane->query().field("PRKEY").asInteger()), r.key);
            QCOMPARE(pane->query().field(r.otherColumn).asString(),
                     QString::fromUtf8(r.otherValue));
            QCOMPARE(inBook(m, r, nameField), name);
            QCOMPARE(inBook(m, r, r.otherColumn), QString::fromUtf8(r.otherValue));
        }
    }

    // Delete and Hide save like OK: a record changed elsewhere is neither deleted nor hidden.
    void aRecordChangedElsewhereIsNeitherDeletedNorHidden_data() {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("command");
        for (int i = 0; i < records().size(); ++i)
            for (const char* command : {"delete", "hide"})
                QTest::addRow("%s, %s", records()[i].title, command) << i << command;
    }
    void aRecordChangedElsewhereIsNeitherDeletedNorHidden() {
        QFETCH(int, record);
        QFETCH(QString, command);
        const Record& r = records()[record];
        DictionaryMachine m;
        addRecords(m);
        DictionaryPane* pane = openRecord(m, r);
        OtherCopy(m.machine.ini, m.machine.book)
            .run({"set", r.table, QString::number(r.key), r.otherColumn, r.otherValue});
        if (command == "delete")
            pane->deleteAction()->trigger();
        else
            pane->hideAction()->trigger();
        // Delete asks first.
        QCOMPARE(m.dialogs.texts.size(), command == "delete" ? 2 : 1);
        QCOMPARE(m.dialogs.texts.last(), kChangedElsewhere);
        QCOMPARE(inBook(m, r, r.nameField), QString::fromUtf8(r.name));
        QCOMPARE(inBook(m, r, r.otherColumn), QString::fromUtf8(r.otherValue));
        QVERIFY(columnTexts(*pane, r.nameField).contains(QString::fromUtf8(r.name)));
        QVERIFY(!pane->isEditPageShown());
    }

    // The owner card writes nothing when nothing was changed, and refuses a save over
    // requisites or names another copy changed or is saving; an option written meanwhile is no
    // conflict and is kept.
    void theOwnerCardIsSavedLikeADocument_data() {
        QTest::addColumn<QString>("other");   // what the other copy does while the card is open
        QTest::addColumn<bool>("change");     // whether the director's name is changed here
        QTest::addColumn<QString>("message"); // empty: no message, the card closes
        QTest::newRow("looked at, city changed") << "city" << false << "";
        QTest::newRow("looked at, option changed") << "option" << false << "";
        QTest::newRow("city changed") << "city" << true << kOwnerChangedElsewhere;
        QTest::newRow("director changed") << "director" << true << kOwnerChangedElsewhere;
        QTest::newRow("saving") << "saving" << true << kBeingSaved;
        QTest::newRow("option changed") << "option" << true << "";
    }
    void theOwnerCardIsSavedLikeADocument() {
        QFETCH(QString, other);
        QFETCH(bool, change);
        QFETCH(QString, message);
        DictionaryMachine m;
        m.execute("UPDATE PARTS SET LNAM='Касса', CITY='Киев' WHERE PRKEY=0");
        OtherCopy copy(m.machine.ini, m.machine.book);
        bool closed = false;
        QString cityShown;
        QString directorShown;
        whenModalShows([&](QDialog& card) {
            if (change)
                edit(card, "directorEdit")->setText(QStringLiteral("Иванов"));
            if (other == "city")
                copy.run({"set", "PARTS", "0", "CITY", "Львов"});
            else if (other == "director")
                copy.run({"option", kDirectorNameKey, "Петров"});
            else if (other == "option")
                copy.run({"option", "StoreCurrency", "руб."});
            else
                copy.hold("PARTS", 0, "CITY", "Львов");
            click(card, "okButton");
            closed = !card.isVisible();
            cityShown = edit(card, "cityEdit")->text();
            directorShown = edit(card, "directorEdit")->text();
            if (!closed)
                click(card, "cancelButton");
        });
        const bool stored = OwnerCard::editOwner(&m.main());
        if (other == "saving")
            copy.release();
        QCOMPARE(m.dialogs.texts, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(closed, message.isEmpty());
        QCOMPARE(stored, message.isEmpty());
        const QString etc = m.value("SELECT ETC FROM PARTS WHERE PRKEY=0");
        const QString city = m.value("SELECT CITY FROM PARTS WHERE PRKEY=0");
        QCOMPARE(city, other == "city" ? QStringLiteral("Львов") : QStringLiteral("Киев"));
        QCOMPARE(getKeyValue(etc, kDirectorNameKey), other == "director" ? QStringLiteral("Петров")
                                                     : change && message.isEmpty()
                                                         ? QStringLiteral("Иванов")
                                                         : QString());
        if (other == "option")
            QCOMPARE(getKeyValue(etc, "StoreCurrency"), QStringLiteral("руб."));
        if (message == kOwnerChangedElsewhere) {
            // The card shows the requisites as the book holds them now.
            QCOMPARE(cityShown, city);
            QCOMPARE(directorShown, getKeyValue(etc, kDirectorNameKey));
        }
        if (message == kBeingSaved) // what was typed stays for another try
            QCOMPARE(directorShown, QStringLiteral("Иванов"));
    }
};

QTEST_MAIN(TestDictionarySaves)
#include "test_dictionary_saves.moc"
