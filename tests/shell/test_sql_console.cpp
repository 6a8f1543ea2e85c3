#include "core/cp1251.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "script/script_interpreter.h"
#include "shell/sql_console.h"
#include "store/new_book.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

using namespace schematest;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// A cash book made as the new-book command makes it, open in the data store.
struct Book {
    Workplace place;
    QString path = createNewBook(BookKind::CashDesk, QStringLiteral("Касса"), place.folder(),
                                 templatesFolder());
    Book() { place.store().reopenBook(ChosenBook(0, path)); }
    fb::Attachment& database() { return place.store().database(); }
    QString value(const QString& sql) { return schematest::value(database(), sql); }
};

// Answers the file dialogs with chosen (Cancel when it is empty) and every message with OK.
struct FileDialogs {
    QString chosen;
    Dialogs dialogs{[this](const DialogRequest& r) {
        if (r.kind == DialogKind::Message)
            return DialogAnswer{Answer::Ok, {}};
        return chosen.isEmpty() ? DialogAnswer{Answer::Cancel, {}}
                                : DialogAnswer{Answer::Ok, chosen};
    }};
    const DialogRequest& last() const { return dialogs.requests.last(); }
};

QStringList editorLines(SqlConsole& console) {
    return ScriptInterpreter::splitLines(console.sourceEdit()->toPlainText());
}

QString caretText(SqlConsole& console) {
    return console.findChild<QLabel*>(QStringLiteral("caretPanel"))->text();
}

const QString kInsert20001 =
    QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (20001, 1, 'Взнос')");
const QString kInsert20002 =
    QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (20002, 2, 'Сдача')");
const QString kOurKeys =
    QStringLiteral("SELECT LIST(PRKEY) FROM (SELECT PRKEY FROM REASONS WHERE PRKEY > 20000 "
                   "ORDER BY PRKEY)");

} // namespace

class TestSqlConsole : public QObject {
    Q_OBJECT
private slots:
    // The runner of the carried scripts: a script that goes through leaves no window; one that
    // fails keeps what it committed, names its line, and leaves the console open with the
    // script, where the user can mend and run it; closing the console frees it.
    void aFailedScriptStaysOpenInTheConsole() {
        Book book;
        Dialogs dialogs;
        QWidget owner;
        const ScriptRunner run = SqlConsole::scriptRunner(&owner);

        run(QStringList{"ExecSQL()", kInsert20001, "^"}.join("\r\n"));
        QCOMPARE(book.value(kOurKeys), "20001");
        QVERIFY(owner.findChildren<SqlConsole*>().isEmpty());
        QVERIFY(dialogs.requests.isEmpty());

        const QStringList script{"ExecSQL()", "DELETE FROM REASONS WHERE PRKEY = 20001",
                                 "^",         "TransactionCommit()",
                                 "ExecSQL()", kInsert20002,
                                 "^",         "",
                                 "ExecSQL()", "INSERT INTO NO_SUCH_TABLE VALUES (1)",
                                 "^"};
        QVERIFY_THROWS_EXCEPTION(fb::Error, run(script.join("\r\n")));
        QCOMPARE(dialogs.texts, QStringList{"Exception at line 10"});
        QCOMPARE(book.value(kOurKeys), QString());
        QVERIFY(!QApplication::overrideCursor());

        const QList<SqlConsole*> consoles = owner.findChildren<SqlConsole*>();
        QCOMPARE(consoles.size(), 1);
        QPointer<SqlConsole> console = consoles.first();
        QVERIFY(console->isWindow());
        QVERIFY(console->isVisible());
        QCOMPARE(console->windowTitle(), book.path);
        QCOMPARE(editorLines(*console), script);

        console->sourceEdit()->setPlainText(QStringList{"ExecSQL()", kInsert20002, "^"}.join("\n"));
        console->findChild<QToolButton*>(QStringLiteral("executeButton"))->click();
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(book.value(kOurKeys), "20002");
        console->close();
        QTRY_VERIFY(console.isNull());
    }

    // The status bar shows the caret's line from 0 and its column from 1, wherever the keys or
    // the mouse put it.
    void statusShowsTheCaretLineAndColumn() {
        Book book;
        SqlConsole console;
        console.execute(book.database(), false);
        QVERIFY(console.isVisible());
        QCOMPARE(console.windowTitle(), book.path);
        QCOMPARE(caretText(console), "Line 0 / 1");

        QPlainTextEdit* edit = console.sourceEdit();
        const struct {
            std::function<void()> act;
            const char* status;
        } steps[] = {
            {[&] { QTest::keyClicks(edit, "ExecSQL()"); }, "Line 0 / 10"},
            {[&] { QTest::keyClick(edit, Qt::Key_Return); }, "Line 1 / 1"},
            {[&] { QTest::keyClicks(edit, "COMMIT"); }, "Line 1 / 7"},
            {[&] { QTest::keyClick(edit, Qt::Key_Up); }, "Line 0 / 7"},
            {[&] { QTest::keyClick(edit, Qt::Key_End); }, "Line 0 / 10"},
            {[&] { QTest::keyClick(edit, Qt::Key_Home); }, "Line 0 / 1"},
            {[&] {
                 QTextCursor at(edit->document()->findBlockByNumber(1));
                 at.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
                 QTest::mouseClick(edit->viewport(), Qt::LeftButton, {},
                                   edit->cursorRect(at).center());
             },
             "Line 1 / 3"},
        };
        for (const auto& step : steps) {
            step.act();
            QCOMPARE(caretText(console), QString::fromLatin1(step.status));
        }
    }

    // Script files are Windows-1251; the editor's lines are saved each ending in CR LF,
    // whatever line ends the loaded file had.
    void scriptFilesAreWindows1251WithCrLf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        const QStringList lines{"Comment()", "Касса №1 — приход", "", "^",
                                "ExecSQL()", kInsert20001,        "^"};
        QTest::newRow("CR LF") << lines.join("\r\n") + "\r\n" << lines;
        QTest::newRow("LF") << lines.join("\n") + "\n" << lines;
        QTest::newRow("no line end at the end") << lines.join("\r\n") << lines;
    }
    void scriptFilesAreWindows1251WithCrLf() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        Book book;
        QTemporaryDir dir;
        FileDialogs files;
        files.chosen = dir.filePath("script.UQL");
        writeFile(files.chosen, cp1251::encode(text));
        SqlConsole console;
        console.execute(book.database(), false);

        console.findChild<QToolButton*>(QStringLiteral("loadButton"))->click();
        QCOMPARE(files.last().kind, DialogKind::OpenFile);
        QCOMPARE(editorLines(console), lines);

        files.chosen = dir.filePath("saved.uql");
        console.saveAction()->trigger();
        QCOMPARE(files.last().kind, DialogKind::SaveFile);
        QCOMPARE(readFile(files.chosen), cp1251::encode(lines.join("\r\n") + "\r\n"));
        QCOMPARE(files.dialogs.requests.size(), 2);

        console.executeAction()->trigger();
        QCOMPARE(book.value(kOurKeys), "20001");
    }

    // Both dialogs start beside the program and then each in the folder of its own last file;
    // a cancelled dialog changes nothing.
    void eachFileDialogKeepsItsOwnFolder() {
        Book book;
        QTemporaryDir loads, saves;
        const QString loaded = loads.filePath("a.sql");
        writeFile(loaded, "ExecSQL()\r\n");
        FileDialogs files;
        SqlConsole console;
        console.execute(book.database(), false);
        const QString program = QCoreApplication::applicationDirPath();

        const struct {
            QAction* action;
            QString chosen;
            DialogKind kind;
            QString start;
        } steps[] = {
            {console.loadAction(), QString(), DialogKind::OpenFile, program},
            {console.loadAction(), loaded, DialogKind::OpenFile, program},
            {console.saveAction(), QString(), DialogKind::SaveFile, program},
            {console.saveAction(), saves.filePath("b.uql"), DialogKind::SaveFile, program},
            {console.loadAction(), loaded, DialogKind::OpenFile, loads.path()},
            {console.saveAction(), saves.filePath("c.uql"), DialogKind::SaveFile, saves.path()},
        };
        for (const auto& step : steps) {
            files.chosen = step.chosen;
            step.action->trigger();
            QCOMPARE(files.last().kind, step.kind);
            QCOMPARE(QDir::cleanPath(files.last().value), QDir::cleanPath(step.start));
            QCOMPARE(files.last().filter,
                     "UQL&SQL Files (*.UQL *.uql *.SQL *.sql);;UQL Files (*.UQL *.uql);;All "
                     "Files (*)");
        }
        QCOMPARE(files.dialogs.requests.size(), 6);
        QCOMPARE(editorLines(console), QStringList{"ExecSQL()"});
        QCOMPARE(readFile(saves.filePath("c.uql")), "ExecSQL()\r\n");
    }

    // A file that cannot be read or written is named in a message; the editor and any file
    // already there stay as they were.
    void unreadableAndUnwritableFiles() {
        Book book;
        QTemporaryDir dir;
        const QString kept = dir.filePath("kept.uql");
        writeFile(kept, "Comment()\r\n");
        FileDialogs files;
        SqlConsole console;
        console.execute(book.database(), false);
        console.sourceEdit()->setPlainText("ExecSQL()");

        const struct {
            QAction* action;
            QString chosen;
            QString text;
            QString message;
        } cases[] = {
            {console.loadAction(), dir.filePath("none.uql"), "ExecSQL()",
             "Не удается открыть файл \"" + dir.filePath("none.uql") + "\""},
            {console.saveAction(), dir.filePath("no/such/folder.uql"), "ExecSQL()",
             "Не удается записать файл \"" + dir.filePath("no/such/folder.uql") + "\""},
            {console.saveAction(), kept, "Comment()\n日本",
             "Символ \"日\" (U+65E5) нельзя записать в кодировке Windows-1251"},
        };
        for (const auto& c : cases) {
            console.sourceEdit()->setPlainText(c.text);
            files.chosen = c.chosen;
            c.action->trigger();
            QCOMPARE(files.last().kind, DialogKind::Message);
            QCOMPARE(files.last().icon, MessageIcon::Error);
            QCOMPARE(files.last().text, c.message);
            QCOMPARE(console.sourceEdit()->toPlainText(), c.text);
        }
        QCOMPARE(readFile(kept), "Comment()\r\n");
        QVERIFY(!QFile::exists(dir.filePath("no")));
    }
};

QTEST_MAIN(TestSqlConsole)
#include "test_sql_console.moc"
