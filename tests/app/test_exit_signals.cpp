#include "shell/running_copy.h"
#include "store/data_store.h"
#include "tests/support/shell/book_machine.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>

namespace {

constexpr int kWaitMs = 60000;

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
    // window is up: it ends with 0 after its exit steps, and the book opens afterwards.
    void theProgramEndsOnASignalWithItsExitBackups_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void theProgramEndsOnASignalWithItsExitBackups() {
        QFETCH(int, signalNumber);
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
        QCOMPARE(kill(pid_t(program.processId()), signalNumber), 0);
        const bool hasEnded = ended(program);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(hasEnded, qPrintable(errors));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // No message box was left for nobody to answer.
        QVERIFY2(!errors.contains(QStringLiteral("Unanswered")), qPrintable(errors));
        QVERIFY(QFileInfo(reserv).size() > 1);
        QCOMPARE(readValue(book, QStringLiteral("SELECT COUNT(*) FROM USERS")),
                 QStringLiteral("1"));
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
