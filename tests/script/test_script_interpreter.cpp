#include "core/exceptions.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "script/script_interpreter.h"
#include "tests/support/platform/test_database.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::TestDatabase;

namespace {

// Records every note the interpreter reports of a failed run.
struct MessageLog {
    QStringList messages;
    void watch(ScriptInterpreter& interpreter) {
        interpreter.setFailureReport([this](const QString& note) { messages << note; });
    }
};

qint64 scalar(TestDatabase& db, const QString& sql) {
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, sql, fb::ParamMode::Untouched);
    q.execute();
    return q.fetch() ? q.field(0).asInteger() : -1;
}

QString text(TestDatabase& db, const QString& sql) {
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, sql, fb::ParamMode::Untouched);
    q.execute();
    return q.fetch() ? q.field(0).asString() : QString();
}

QStringList lines(const char* script) {
    return ScriptInterpreter::splitLines(QString::fromUtf8(script));
}

void prepareTable(TestDatabase& db) {
    db.exec(QStringList{"CREATE TABLE T (PRKEY INTEGER NOT NULL, NAME VARCHAR(50), "
                        "ETC BLOB SUB_TYPE 0 SEGMENT SIZE 80)",
                        "CREATE GENERATOR T_PRKEY_GEN", "SET GENERATOR T_PRKEY_GEN TO 10000"});
}

} // namespace

class TestSqlInterpreter : public QObject {
    Q_OBJECT

private slots:
    void commentsAndBlankLinesRunNothing() {
        TestDatabase db;
        prepareTable(db);
        MessageLog log;
        ScriptInterpreter interpreter(db.attachment());
        log.watch(interpreter);
        interpreter.run(lines("Comment()\nINSERT INTO T (PRKEY) VALUES (1)\n^\n\n   \n"));
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM T"), 0);
        QVERIFY(log.messages.isEmpty());
    }

    void bodySpansLinesUpToCaret() {
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        // Lower-case name, a body over three lines with a literal in double quotes, "^" in blanks.
        interpreter.run(
            lines("execsql()\r\nINSERT INTO T\r\n  (PRKEY, NAME)\r\n  VALUES (1, \"a\")\r\n"
                  "  ^  \r\nExecSQL()\r\nINSERT INTO T (PRKEY) VALUES (2)\r\n^\r\n"));
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM T"), 2);
        QCOMPARE(text(db, "SELECT NAME FROM T WHERE PRKEY=1"), QString("a"));
    }

    // Control characters count as blanks around a line: a Ctrl-Z end-of-file mark, a tab or a
    // form feed make no command, and beside a "^" they still close the body.
    void controlCharactersAroundLinesAreBlanks_data() {
        QTest::addColumn<QString>("script");
        const QString eof(QChar(0x1A));
        const QString insert1 = "ExecSQL()\r\nINSERT INTO T (PRKEY) VALUES (1)\r\n";
        const QString insert2 = "ExecSQL()\r\nINSERT INTO T (PRKEY) VALUES (2)\r\n^\r\n";
        QTest::newRow("end-of-file mark after the script") << insert1 + "^\r\n" + insert2 + eof;
        QTest::newRow("end-of-file mark on the caret line")
            << insert1 + "^" + eof + "\r\n" + insert2;
        QTest::newRow("control characters around the caret")
            << insert1 + "\x01\t^ \x1F\f\r\n" + insert2;
        QTest::newRow("a line of control characters between blocks")
            << insert1 + "^\r\n \x02\t" + eof + "\x0B\r\n" + insert2 + eof + "\r\n";
    }
    void controlCharactersAroundLinesAreBlanks() {
        QFETCH(QString, script);
        TestDatabase db;
        prepareTable(db);
        MessageLog log;
        ScriptInterpreter interpreter(db.attachment());
        log.watch(interpreter);
        interpreter.run(ScriptInterpreter::splitLines(script));
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM T"), 2);
        QVERIFY(log.messages.isEmpty());
    }

    void psqlBodyGoesUntouched() {
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        interpreter.run(lines("ExecSQL()\n"
                              "CREATE TRIGGER T_BI FOR T ACTIVE BEFORE INSERT POSITION 0 AS\n"
                              "DECLARE VARIABLE VCNT INTEGER;\n"
                              "BEGIN\n"
                              "  SELECT COUNT(*) FROM T INTO :VCNT;\n"
                              "  NEW.NAME = VCNT;\n"
                              "END\n"
                              "^\n"
                              "TransactionCommit()\n"
                              "ExecSQL()\nINSERT INTO T (PRKEY) VALUES (1)\n^\n"));
        QCOMPARE(text(db, "SELECT NAME FROM T"), QString("0"));
    }

    void failureRollsBackToLastCommitAndNamesLine() {
        TestDatabase db;
        prepareTable(db);
        MessageLog log;
        ScriptInterpreter interpreter(db.attachment());
        log.watch(interpreter);
        QVERIFY_THROWS_EXCEPTION(
            fb::Error,
            interpreter.run(lines("ExecSQL()\nINSERT INTO T (PRKEY) VALUES (1)\n^\n"
                                  "TransactionCommit()\n"
                                  "ExecSQL()\nINSERT INTO T (PRKEY) VALUES (2)\n^\n"
                                  "ExecSQL()\nINSERT INTO NO_SUCH_TABLE VALUES (3)\n^\n")));
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM T"), 1);
        QCOMPARE(log.messages, QStringList{"Exception at line 9"});
        // The failing block is reported at its closing "^", where the runner stood.
        QCOMPARE(interpreter.currentLine(), 9);
    }

    void commandErrorsStopTheRun_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << "NoSuchCommand()"
                                         << "Command \"NoSuchCommand\" not found!";
        QTest::newRow("no bracket") << "ExecSQL"
                                    << "Bracket's not found in line \"ExecSQL\" pos 1";
        QTest::newRow("lone ampersand")
            << "SetVar(A,1)\nExecSQL$()\nDELETE FROM T WHERE PRKEY=&A\n^"
            << "Неправильное использование символа '&'";
        QTest::newRow("unknown variable") << "ExecSQL$()\nDELETE FROM T WHERE PRKEY=&B&\n^"
                                          << "Переменная B не найдена !!!";
        QTest::newRow("self reference")
            << "SetVar(A,&A&)\nExecSQL$()\nDELETE FROM T WHERE PRKEY=&A&\n^"
            << "Переменная A ссылается сама на себя";
        QTest::newRow("dollar without number") << "ExecSQL$()\nSELECT 1 FROM RDB$DATABASE\n^"
                                               << "'' is not a valid integer value";
        QTest::newRow("unset number") << "ExecSQL$()\nDELETE FROM T WHERE PRKEY=$5\n^"
                                      << "Переменная $5 не задана";
        QTest::newRow("include of itself") << "IncludeFile(self.uql)"
                                           << "Слишком глубокое вложение файлов: \"self.uql\"";
        QTest::newRow("missing generator file") << "SetDirectory(gen)\nSetGenerator(T)"
                                                << "Файл генератора для таблицы T НЕ НАЙДЕН";
    }
    void commandErrorsStopTheRun() {
        QFETCH(QString, script);
        QFETCH(QString, message);
        TestDatabase db;
        prepareTable(db);
        MessageLog log;
        ScriptInterpreter interpreter(db.attachment());
        log.watch(interpreter);
        interpreter.setBaseFolder(db.folder());
        QFile self("self.uql");
        QVERIFY(self.open(QIODevice::WriteOnly));
        self.write("IncludeFile(self.uql)\r\n");
        self.close();
        try {
            interpreter.run(ScriptInterpreter::splitLines(script));
            QFAIL("the run did not fail");
        } catch (const Exception& e) {
            QCOMPARE(e.message(), message);
        }
        QFile::remove("self.uql");
        QVERIFY(!log.messages.isEmpty());
        QVERIFY(log.messages.last().startsWith("Exception at line "));
    }

    void generatorKeyGoesIntoStatement() {
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        interpreter.run(
            lines("SaveTableGenIdCode(1,T)\n"
                  "ExecSql$()\nINSERT INTO T (PRKEY, NAME)\nVALUES ($1, \"k$1\")\n^\n"));
        QCOMPARE(interpreter.numberedVariable(1).toLongLong(), 10001);
        QCOMPARE(scalar(db, "SELECT PRKEY FROM T"), 10001);
        QCOMPARE(text(db, "SELECT NAME FROM T"), QString("k10001"));
    }

    void namedVariables() {
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        interpreter.run(lines("SetVar(A,first)\nSetVar(A,&B&)\nSetVar(B,second)\n"
                              "ExecSql$()\nINSERT INTO T (PRKEY, NAME) VALUES (1, \"&A&\")\n^\n"));
        QCOMPARE(interpreter.namedVariable("A"), QString("&B&"));
        QCOMPARE(text(db, "SELECT NAME FROM T"), QString("second"));
        // Variables outlive the run.
        interpreter.run(lines("ExecSql$()\nINSERT INTO T (PRKEY, NAME) VALUES (2, \"&B&\")\n^\n"));
        QCOMPARE(text(db, "SELECT NAME FROM T WHERE PRKEY=2"), QString("second"));
    }

    void execSqlParamsTakesTerminatedItems_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("name");
        QTest::newRow("both terminated") << "5,7,"
                                         << "7";
        QTest::newRow("last not terminated") << "5,7"
                                             << "";
    }
    void execSqlParamsTakesTerminatedItems() {
        QFETCH(QString, arguments);
        QFETCH(QString, name);
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        interpreter.run(ScriptInterpreter::splitLines(
            "ExecSqlParams(" + arguments +
            ")\nINSERT INTO T (PRKEY, NAME) VALUES (:A, :B)\n^\n"
            // parameter checking is off again: ":VCNT"-like text goes through untouched
            "ExecSQL()\nINSERT INTO T (PRKEY, NAME) VALUES (2, ':X')\n^\n"));
        QCOMPARE(text(db, "SELECT NAME FROM T WHERE PRKEY=5"), name);
        QCOMPARE(text(db, "SELECT NAME FROM T WHERE PRKEY=2"), QString(":X"));
    }

    void blobFieldValueKeepsLines() {
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        interpreter.run(lines("ExecSQL()\nINSERT INTO T (PRKEY) VALUES (7)\n^\n"
                              "SetVar(K,7)\n"
                              "SetBlobFieldValue$(T,ETC,&K&)\nпервая\n  вторая\n^\n"));
        QCOMPARE(text(db, "SELECT ETC FROM T WHERE PRKEY=7"), QString("первая\r\n  вторая\r\n"));
    }

    void generatorsSaveAndRestore() {
        TestDatabase db;
        prepareTable(db);
        ScriptInterpreter interpreter(db.attachment());
        interpreter.setBaseFolder(db.folder());
        interpreter.run(lines("Dir(gens)\nGetGenerator(t)\n"));
        QFile file(db.filePath("gens/T.gen")); // upper case whatever the script wrote
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("10000"));
        file.close();
        db.exec("SET GENERATOR T_PRKEY_GEN TO 5");
        interpreter.run(lines("SetDirectory(gens)\nSetGenerator(T)\n"));
        QCOMPARE(scalar(db, "SELECT GEN_ID(T_PRKEY_GEN,0) FROM RDB$DATABASE"), 10000);
    }

    void triggersSwitchOffAndOn() {
        TestDatabase db;
        prepareTable(db);
        db.exec("CREATE TRIGGER T_BI FOR T ACTIVE BEFORE INSERT POSITION 0 AS "
                "BEGIN NEW.NAME = 'trigger'; END");
        ScriptInterpreter interpreter(db.attachment());
        interpreter.run(lines("SetInactiveTriggers(t)\n"
                              "ExecSQL()\nINSERT INTO T (PRKEY, NAME) VALUES (1, 'plain')\n^\n"
                              "SetActiveTriggers(T)\n"
                              "ExecSQL()\nINSERT INTO T (PRKEY, NAME) VALUES (2, 'plain')\n^\n"));
        QCOMPARE(text(db, "SELECT NAME FROM T WHERE PRKEY=1"), QString("plain"));
        QCOMPARE(text(db, "SELECT NAME FROM T WHERE PRKEY=2"), QString("trigger"));
    }

    void includeFileRunsInPlace() {
        TestDatabase db;
        prepareTable(db);
        QFile inc(db.filePath("inc.uql"));
        QVERIFY(inc.open(QIODevice::WriteOnly));
        inc.write(
            "ExecSQL()\r\nINSERT INTO T (PRKEY, NAME) VALUES (1, \"\xEA\xE0\xF1\xF1\xE0\")\r\n^\r\n"
            "Broken(\r\n");
        inc.close();
        MessageLog log;
        ScriptInterpreter interpreter(db.attachment());
        log.watch(interpreter);
        QVERIFY_THROWS_EXCEPTION(
            Exception, interpreter.run(ScriptInterpreter::splitLines(
                           "ExecSQL()\nINSERT INTO T (PRKEY) VALUES (0)\n^\nIncludeFile(" +
                           inc.fileName() + ")\n")));
        QCOMPARE(log.messages,
                 QStringList({"Exception in file \"" + inc.fileName() + "\" at line 3",
                              "Exception at line 3"}));
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM T"), 0);

        db.exec("DELETE FROM T");
        QFile::resize(inc.fileName(), inc.size() - 9);
        interpreter.run(ScriptInterpreter::splitLines("IncludeFile(" + inc.fileName() + ")"));
        QCOMPARE(text(db, "SELECT NAME FROM T"), QString("касса"));
    }
};

QTEST_MAIN(TestSqlInterpreter)
#include "test_script_interpreter.moc"
