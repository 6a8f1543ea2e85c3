#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/ini_file.h"
#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "script/script_interpreter.h"
#include "shell/sql_console.h"
#include "shell/upgrade_window.h"
#include "store/carried_scripts.h"
#include "store/default_templates.h"
#include "store/new_book.h"
#include "store/product_upgrades.h"
#include "store/upgrade_steps.h"
#include "tests/support/platform/test_database.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace schematest;
using testsupport::TestDatabase;

namespace {

// "Невозмoжно ...": the seventh letter of the first word is the Latin o.
QString impossible(const char* rest) {
    return QStringLiteral("Невозм") + QChar(u'o') + QStringLiteral("жно ") +
           QString::fromUtf8(rest);
}

// A book made by the creation script alone.
struct NewBook {
    TestDatabase db;
    NewBook() { runScript(db.attachment(), newDatabaseScript()); }
    void exec(const QStringList& statements) { db.exec(statements); }
    QString value(const QString& sql) { return schematest::value(db.attachment(), sql); }
};

// A listed book at version 2.07 (no "DBVersion" of its own) beside a new bank-account book,
// with the INI's program version 2.07.
struct OldAndNewBooks {
    Workplace place;
    QString oldPath = place.path("Old.fdb");
    QString newPath;
    OldAndNewBooks() {
        {
            fb::Attachment old;
            createDatabase(old, oldPath);
            runScript(old, level207Script());
        }
        QDir().mkpath(place.path("new"));
        newPath = createNewBook(BookKind::BankAccount, QStringLiteral("Новая"), place.path("new"),
                                templatesFolder());
        IniFile& ini = place.store().ini();
        ini.writeString("DB", "DatabasePath_0", oldPath);
        ini.writeInteger("DB", "DatabaseCount", 1);
        ini.writeString("Version", "CurrVersion", "2.07");
    }
    // Presses "Начать обновление..."; true when the run went through and closed the window.
    bool upgrade(const QString& templates) {
        UpgradeSteps steps;
        registerProductUpgrades(steps, templates, SqlConsole::scriptRunner());
        UpgradeWindow form(steps);
        form.beginButton()->click();
        return form.result() == QDialog::Accepted;
    }
    QString oldVersion() { return DataStore::instance().options().option("DBVersion"); }
    // The schema and the templates of a book, to compare the two books by.
    static QStringList contents(const QString& path) {
        fb::Attachment book;
        book.attach(path);
        return schemaSnapshot(book) + printForms(book);
    }
};

void closeConsoles() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("sqlConsole"))
            delete widget;
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void scriptsAreCarried_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("statement");
        QTest::newRow("new") << "SQL_NEWDB"
                             << "CREATE TABLE PRINTFORMS";
        QTest::newRow("2.08") << "UPDATE_TO_208"
                              << "CREATE INDEX OPER_INDEX_01";
        QTest::newRow("2.09") << "UPDATE_TO_209"
                              << "SET GENERATOR PRINTFORMS_PRKEY_GEN TO 1000";
        QTest::newRow("2.10") << "UPDATE_TO_210"
                              << "ALTER TABLE USERS ADD DATA1";
        QTest::newRow("2.12") << "UPDATE_TO_212"
                              << "CREATE TRIGGER REASONS_BU0";
        QTest::newRow("2.16") << "UPDATE_TO_216"
                              << "UPDATE PRINTFORMS SET EXT='doc'";
        QTest::newRow("2.17") << "UPDATE_TO_217"
                              << "ALTER TABLE USERS ADD DATA2";
    }
    void scriptsAreCarried() {
        QFETCH(QString, name);
        QFETCH(QString, statement);
        const QString script = carriedScript(name);
        QVERIFY(script.startsWith("ExecSQL()\r\n") || script.startsWith("Comment()\r\n"));
        QVERIFY(script.contains(statement));
    }

    void unknownScriptIsRefused() {
        QVERIFY_THROWS_EXCEPTION(Exception, carriedScript("UPDATE_TO_299"));
        QVERIFY_THROWS_EXCEPTION(Exception, carriedScript("../sql/SQL_NEWDB"));
    }

    void newBookRowsAndFirstKeys() {
        NewBook book;
        QCOMPARE(book.value("SELECT PRKEY, TYP, LNAM, LOWNER, ETC FROM PARTS"), "0||||");
        QCOMPARE(book.value("SELECT PRKEY, LNAM, ISADMIN, PASSW, DATA1, DATA2 FROM USERS"),
                 "1|Admin|1|||");
        QCOMPARE(book.value("SELECT LIST(PRKEY || ':' || TYP || ':' || REASON, ';') FROM "
                            "(SELECT * FROM REASONS ORDER BY PRKEY)"),
                 "1:1:Поступление денег;2:2:Расход денег");
        for (const char* table : {"HISTORY", "OPER", "PARTS", "REASONS", "USERS"})
            QCOMPARE(
                book.value(QString("SELECT GEN_ID(%1_PRKEY_GEN, 1) FROM RDB$DATABASE").arg(table)),
                "10001");
        QCOMPARE(book.value("SELECT GEN_ID(PRINTFORMS_PRKEY_GEN, 1) FROM RDB$DATABASE"), "1001");
        QCOMPARE(book.value("SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE"), "WIN1251");
    }

    void triggersRaiseTheirExceptions_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("exception");
        QTest::addColumn<QString>("text");
        const QString adminWithHistory = "INSERT INTO HISTORY (PRKEY, LUSER) VALUES (1, 1)";
        QTest::newRow("last user")
            << QStringList{} << "DELETE FROM USERS WHERE PRKEY = 1"
            << "E_DELETE_LASTUSER" << impossible("удалить последнего пользователя!");
        QTest::newRow("history comes first")
            << QStringList{adminWithHistory} << "DELETE FROM USERS WHERE PRKEY = 1"
            << "E_USERINUSE"
            << "Вы не можете удалить данного пользователя. Он используется в истории.";
        QTest::newRow("last administrator")
            << QStringList{"INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (2, 'Kassir', 0)"}
            << "DELETE FROM USERS WHERE PRKEY = 1"
            << "E_DELETE_LASTADMIN" << impossible("удалить последнего администратора!");
        QTest::newRow("rights of last administrator")
            << QStringList{"INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (2, 'Kassir', 0)"}
            << "UPDATE USERS SET ISADMIN = 0 WHERE PRKEY = 1"
            << "E_EDIT_LASTADMIN"
            << "В базе данных должен быть хотя бы один администратор!";
        QTest::newRow("partner in use")
            << QStringList{"INSERT INTO PARTS (PRKEY, LNAM) VALUES (10001, 'Firma')",
                           "INSERT INTO OPER (PRKEY, TYP, LPART) VALUES (10001, 1, 10001)"}
            << "DELETE FROM PARTS WHERE PRKEY = 10001"
            << "E_PARTINUSE"
            << "Фирма используется в документах!";
        QTest::newRow("payment type in use")
            << QStringList{"INSERT INTO OPER (PRKEY, TYP, REASON) VALUES (10001, 2, "
                           "'Расход денег')"}
            << "DELETE FROM REASONS WHERE PRKEY = 2"
            << "E_REASONSINUSE"
            << "Удаление запрещено! Тип платежа используется в документах.";
    }
    void triggersRaiseTheirExceptions() {
        QFETCH(QStringList, setup);
        QFETCH(QString, statement);
        QFETCH(QString, exception);
        QFETCH(QString, text);
        NewBook book;
        book.exec(setup);
        try {
            book.exec(QStringList{statement});
            QFAIL("the statement went through");
        } catch (const fb::Error& e) {
            QCOMPARE(e.exceptionName(), exception);
            QCOMPARE(e.message(), text);
        }
    }

    void triggersLetTheRestThrough() {
        NewBook book;
        book.exec(QStringList{
            "INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (2, 'Second', 1)",
            // One of two administrators goes; giving rights back never fails.
            "DELETE FROM USERS WHERE PRKEY = 2", "UPDATE USERS SET ISADMIN = 1 WHERE PRKEY = 1",
            "INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (10001, 2, 'Unused')",
            "DELETE FROM REASONS WHERE PRKEY = 10001",
            "INSERT INTO OPER (PRKEY, TYP, REASON) VALUES (10001, 1, 'Поступление денег')",
            "INSERT INTO OPER (PRKEY, TYP, REASON) VALUES (10002, 2, 'Расход денег')",
            "UPDATE REASONS SET REASON = 'Выручка' WHERE PRKEY = 1",
            "INSERT INTO HISTORY (PRKEY, LDOC, LUSER) VALUES (1, 10002, 0)",
            "INSERT INTO HISTORY (PRKEY, LDOC, LUSER) VALUES (2, 10002, 0)",
            "INSERT INTO HISTORY (PRKEY, LDOC, LUSER) VALUES (3, 10001, 0)",
            "DELETE FROM OPER WHERE PRKEY = 10002"});
        QCOMPARE(book.value("SELECT COUNT(*) FROM USERS"), "1");
        QCOMPARE(book.value("SELECT COUNT(*) FROM REASONS"), "2");
        QCOMPARE(book.value("SELECT REASON FROM OPER WHERE PRKEY = 10001"), "Выручка");
        QCOMPARE(book.value("SELECT LIST(PRKEY) FROM HISTORY"), "3");
    }

    // Load, save and execute are one command each, shared by the buttons and the pop-up menu;
    // script files are Windows-1251 with CR LF line ends.
    void consoleCommands() {
        TestDatabase db;
        db.exec("CREATE TABLE T (NAME VARCHAR(20))");
        QTemporaryDir dir;
        const QStringList script{
            "Comment()", "Первая касса", "^", "ExecSQL()", "INSERT INTO T VALUES ('Касса')", "^"};
        const QByteArray bytes = cp1251::encode(script.join("\r\n") + "\r\n");
        QFile file(dir.filePath("script.uql"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QString chosen = file.fileName();
        Dialogs dialogs([&](const DialogRequest&) { return DialogAnswer{Answer::Ok, chosen}; });
        SqlConsole console;
        console.execute(db.attachment(), true); // nothing to run: the window stays hidden
        QVERIFY(!console.isVisible());

        auto* loadButton = console.findChild<QToolButton*>("loadButton");
        auto* executeButton = console.findChild<QToolButton*>("executeButton");
        auto* menu = console.findChild<QMenu*>("popupMenu");
        QVERIFY(loadButton && executeButton && menu);
        QCOMPARE(loadButton->defaultAction(), console.loadAction());
        QCOMPARE(executeButton->defaultAction(), console.executeAction());
        QCOMPARE(loadButton->text(), QStringLiteral("&Load"));
        QCOMPARE(menu->actions().size(), 4);
        QCOMPARE(menu->actions()[0], console.loadAction());
        QCOMPARE(menu->actions()[1], console.saveAction());
        QVERIFY(menu->actions()[2]->isSeparator());
        QCOMPARE(menu->actions()[3], console.executeAction());

        loadButton->click();
        QCOMPARE(dialogs.requests.last().kind, DialogKind::OpenFile);
        QCOMPARE(ScriptInterpreter::splitLines(console.sourceEdit()->toPlainText()), script);
        menu->actions()[3]->trigger();
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(value(db.attachment(), "SELECT NAME FROM T"), QStringLiteral("Касса"));

        chosen = dir.filePath("saved.uql");
        console.saveAction()->trigger();
        QCOMPARE(dialogs.requests.last().kind, DialogKind::SaveFile);
        QFile saved(chosen);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytes);

        // A failing run is shown, and so is the console with its script.
        const int before = dialogs.requests.size();
        console.sourceEdit()->setPlainText("ExecSQL()\nDROP TABLE NONE\n^");
        executeButton->click();
        QVERIFY(dialogs.requests.size() > before);
        QCOMPARE(dialogs.requests.last().icon, MessageIcon::Error);
        QVERIFY(console.isVisible());
    }

    // The upgrade of a 2.07 book ends where the creation script does.
    void upgradedBookEqualsNewBook() {
        Dialogs dialogs;
        OldAndNewBooks books;
        QVERIFY(books.upgrade(templatesFolder()));
        QCOMPARE(books.oldVersion(), "2.18");
        QCOMPARE(books.place.store().ini().readString("Version", "CurrVersion", ""), "2.18");
        QCOMPARE(dialogs.texts, QStringList{"Обновление завершено.\n\nПерезапустите программу."});

        fb::Attachment upgraded, created;
        upgraded.attach(books.oldPath);
        created.attach(books.newPath);
        const QStringList expected = schemaSnapshot(created);
        QVERIFY(expected.size() > 60);
        QCOMPARE(schemaSnapshot(upgraded), expected);
        // The templates of 2.09 got their EXT from their content after 2.16.
        const QStringList forms = printForms(created);
        QCOMPARE(forms.size(), 16);
        QVERIFY(forms.first().startsWith("1|1|") && forms.first().contains("|doc|"));
        QVERIFY(forms.last().startsWith("16|2|") && forms.last().contains("|odt|"));
        QCOMPARE(printForms(upgraded), forms);
    }

    // A step that fails keeps the book at the last step that went through; the next run goes
    // on from there.
    void interruptedUpgradeResumes() {
        Dialogs dialogs;
        OldAndNewBooks books;
        QTemporaryDir incomplete;
        for (const QString& name : QDir(templatesFolder()).entryList(QDir::Files))
            if (!name.contains("(3 экз) (Россия).odt"))
                QVERIFY(QFile::copy(QDir(templatesFolder()).filePath(name),
                                    QDir(incomplete.path()).filePath(name)));
        QVERIFY(!books.upgrade(incomplete.path()));
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].icon, MessageIcon::Error);
        QVERIFY2(dialogs.texts[0].contains("(3 экз) (Россия).odt"), qPrintable(dialogs.texts[0]));
        QCOMPARE(books.oldVersion(), "2.08");
        QCOMPARE(books.place.store().ini().readString("Version", "CurrVersion", ""), "2.07");
        closeConsoles();

        QVERIFY(books.upgrade(templatesFolder()));
        QCOMPARE(books.oldVersion(), "2.18");
        QCOMPARE(books.contents(books.oldPath), books.contents(books.newPath));
    }

    // A run that stopped after step 2.09 had made PRINTFORMS, with none, some or all of the
    // templates stored, left the book at 2.08; the next run makes only what is missing.
    void upgradeResumesAfterPrintFormsWereMade_data() {
        QTest::addColumn<int>("stored");
        QTest::newRow("no template") << 0;
        QTest::newRow("some templates") << 5;
        QTest::newRow("every template") << 16;
    }
    void upgradeResumesAfterPrintFormsWereMade() {
        QFETCH(int, stored);
        Dialogs dialogs;
        OldAndNewBooks books;
        {
            fb::Attachment old;
            old.attach(books.oldPath);
            runScript(old, carriedScript("UPDATE_TO_208"));
            runScript(old, carriedScript("UPDATE_TO_209"));
            fb::Transaction tr(old);
            insertPrintForms(tr, readDefaultPrintForms(tr, templatesFolder()).mid(0, stored),
                             false);
            fb::Statement stamp(tr, "UPDATE PARTS SET ETC=:ETC WHERE PRKEY=0");
            stamp.param("ETC").setString(setKeyValue(QString(), "DBVersion", "2.08"));
            stamp.execute();
            tr.commit();
        }
        QVERIFY(books.upgrade(templatesFolder()));
        QCOMPARE(dialogs.texts, QStringList{"Обновление завершено.\n\nПерезапустите программу."});
        QCOMPARE(books.oldVersion(), "2.18");
        QCOMPARE(books.contents(books.oldPath), books.contents(books.newPath));
    }
    void upgradeResumesAfterTheExtensionColumnWasAdded() {
        Dialogs dialogs;
        OldAndNewBooks books;
        {
            fb::Attachment old;
            old.attach(books.oldPath);
            for (const char* script : {"UPDATE_TO_208", "UPDATE_TO_209"})
                runScript(old, carriedScript(script));
            {
                fb::Transaction tr(old);
                insertPrintForms(tr, readDefaultPrintForms(tr, templatesFolder()), false);
                tr.commit();
            }
            for (const char* script : {"UPDATE_TO_210", "UPDATE_TO_212"})
                runScript(old, carriedScript(script));
            // The column went in and was committed; the extensions never followed.
            fb::Transaction alter(old);
            fb::Statement(alter, "ALTER TABLE PRINTFORMS ADD EXT VARCHAR(10)").execute();
            alter.commit();
            fb::Transaction tr(old);
            fb::Statement stamp(tr, "UPDATE PARTS SET ETC=:ETC WHERE PRKEY=0");
            stamp.param("ETC").setString(setKeyValue(QString(), "DBVersion", "2.12"));
            stamp.execute();
            tr.commit();
        }
        QVERIFY(books.upgrade(templatesFolder()));
        QCOMPARE(dialogs.texts, QStringList{"Обновление завершено.\n\nПерезапустите программу."});
        QCOMPARE(books.oldVersion(), "2.18");
        QCOMPARE(books.contents(books.oldPath), books.contents(books.newPath));
    }
};

QTEST_MAIN(TestSchema)
#include "test_schema.moc"
