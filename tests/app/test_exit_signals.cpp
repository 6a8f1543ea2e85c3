#include "platform/firebird/services.h"
#include "shell/running_copy.h"
#include "store/data_store.h"
#include "tests/support/shell/book_machine.h"

#include <QDir>
#include <QFile>
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
