#include "platform/firebird/services.h"
#include "shell/running_copy.h"
#include "store/data_store.h"
#include "tests/support/shell/book_machine.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>

namespace {

constexpr int kWaitMs = 60000;
// A program that has nobody to wait for ends well within it on a signal.
constexpr int kEndMs = 20000;

// Waits for the process to end; kills it when it does not within the wait.
bool ended(QProcess& process) {
    if (process.waitForFinished(kWaitMs))
        return true;
    process.kill();
    process.waitForFinished();
    return false;
}

} // namespace

class TestExitSignals : public QObject {
    Q_OBJECT
private slots:
    // The program itself, on a book it opens without a question, gets the signal once its main
    // window is up: it ends with 0 after its exit steps, without a message box for nobody to
    // answer (what goes wrong goes to the standard error output), and the book opens afterwards.
    // trouble: what the exit meets: its backup cannot replace the old one (a folder stands in
    // its place), or the book's file was removed while it was open.
    void theProgramEndsOnASignalWithItsExitBackups_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("logged");
        QTest::newRow("SIGTERM") << SIGTERM << ""
                                 << "";
        QTest::newRow("SIGINT") << SIGINT << ""
                                << "";
        QTest::newRow("SIGTERM, the backup fails")
            << SIGTERM << "backup fails"
            << "Ошибка архивации: Не удалось создать архив базы данных! (Reserv)";
        QTest::newRow("SIGTERM, the book's file removed") << SIGTERM << "book removed"
                                                          << "удален или заменен другим файлом";
    }
    void theProgramEndsOnASignalWithItsExitBackups() {
        QFETCH(int, signalNumber);
        QFETCH(QString, trouble);
        QFETCH(QString, logged);
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        m.fakeBackups(book);
        const QString reserv = DataStore::backupPath(book, QStringLiteral("Reserv"));
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KALTRO_INI"), m.ini);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KALTRO_PROGRAM), QStringList());
        QVERIFY(program.waitForStarted());
        // The running copy answers for its book once the start-up has gone on.
        QTRY_VERIFY_WITH_TIMEOUT(RunningCopy::askToRaise(book), kWaitMs);
        QCOMPARE(QFileInfo(reserv).size(), 1);
        if (trouble == "backup fails") {
            QVERIFY(QFile::remove(reserv));
            QVERIFY(QDir().mkpath(reserv + "/in the way"));
        } else if (trouble == "book removed") {
            QVERIFY(QFile::remove(book));
        }
        QCOMPARE(kill(pid_t(program.processId()), signalNumber), 0);
        const bool hasEnded = ended(program);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(hasEnded, qPrintable(errors));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // No message box was left for nobody to answer.
        QVERIFY2(!errors.contains(QStringLiteral("Unanswered")), qPrintable(errors));
        QVERIFY2(errors.contains(logged), qPrintable(errors));
        if (trouble == "backup fails")
            return;
        QVERIFY(QFileInfo(reserv).size() > 1);
        const QString restored = m.dir.filePath("restored.fdb");
        fb::services::restore(reserv, restored);
        QCOMPARE(readValue(restored, QStringLiteral("SELECT COUNT(*) FROM USERS")),
                 QStringLiteral("1"));
    }

    // A modal window or dialog open in the program when the signal comes (window: what the
    // helper opens, see window_signal_helper.cpp) is closed unasked, nothing reads the book
    // once it is closed, and the program ends with its exit backups, no dialog left waiting.
    void aSignalClosesTheModalWindowsAndEndsWithTheExitBackups_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("a new report's window") << QStringLiteral("new-report");
        QTest::newRow("a stored report's window") << QStringLiteral("stored-report");
        QTest::newRow("the period dialog of a new report") << QStringLiteral("period-dialog");
        QTest::newRow("a pick dialog over a report's window") << QStringLiteral("pick-dialog");
        QTest::newRow("the expense analysis") << QStringLiteral("expense-analysis");
    }
    void aSignalClosesTheModalWindowsAndEndsWithTheExitBackups() {
        QFETCH(QString, window);
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        m.fakeBackups(book);
        // A stored report of this month, which the report browser shows first.
        const QDate today = QDate::currentDate();
        const QDate first(today.year(), today.month(), 1);
        execute(book, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, DAT, DAT2, SUM2, ETC) VALUES "
                                     "(7001, 101, '%1', '%2 23:59:59', 0, '')")
                          .arg(first.toString(Qt::ISODate),
                               first.addMonths(1).addDays(-1).toString(Qt::ISODate)));
        const QString reserv = DataStore::backupPath(book, QStringLiteral("Reserv"));
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KALTRO_INI"), m.ini);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(WINDOW_HELPER), {window});
        QVERIFY(program.waitForStarted());
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardOutput()).contains("opened"),
                                 kWaitMs);
        QCOMPARE(kill(pid_t(program.processId()), SIGTERM), 0);
        const bool hasEnded = program.waitForFinished(kEndMs);
        if (!hasEnded) {
            program.kill();
            program.waitForFinished();
        }
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(hasEnded, qPrintable(errors));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(!errors.contains(QStringLiteral("Unanswered")), qPrintable(errors));
        QVERIFY2(QFileInfo(reserv).size() > 1, qPrintable(errors));
    }

    void aSignalEndsAtOnceBeforeListeningAndWhileTheExitRuns_data() {
        QTest::addColumn<QString>("when");
        QTest::newRow("before listening") << QStringLiteral("before-listening");
        QTest::newRow("a second signal") << QStringLiteral("second");
    }
    void aSignalEndsAtOnceBeforeListeningAndWhileTheExitRuns() {
        QFETCH(QString, when);
        QProcess helper;
        helper.start(QStringLiteral(SIGNAL_HELPER), {when});
        QVERIFY(ended(helper));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
        QCOMPARE(helper.readAllStandardOutput(), QByteArray());
    }
};

QTEST_MAIN(TestExitSignals)
#include "test_exit_signals.moc"
