#include "shell/running_copy.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// A running copy of its own thread, as another process would be: it answers while this thread
// waits for its answer.
struct OtherCopy {
    QThread thread;
    RunningCopy* copy = new RunningCopy;
    OtherCopy() {
        copy->moveToThread(&thread);
        thread.start();
    }
    ~OtherCopy() {
        QMetaObject::invokeMethod(copy, &QObject::deleteLater);
        thread.quit();
        thread.wait();
    }
    bool listen(const QString& book) {
        bool ok = false;
        QMetaObject::invokeMethod(
            copy, [&] { ok = copy->listen(book); }, Qt::BlockingQueuedConnection);
        return ok;
    }
};

QString touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

} // namespace

class TestRunningCopy : public QObject {
    Q_OBJECT
private slots:
    void nameFollowsTheCanonicalPath() {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        const QString other = touch(dir.filePath(QStringLiteral("Kaltro2.fdb")));
        QFile::link(book, dir.filePath(QStringLiteral("link.fdb")));
        const QString name = RunningCopy::serverName(book);
        QCOMPARE(RunningCopy::serverName(dir.filePath(QStringLiteral("sub/../Kaltro1.fdb"))), name);
        QCOMPARE(RunningCopy::serverName(dir.filePath(QStringLiteral("link.fdb"))), name);
        QVERIFY(RunningCopy::serverName(other) != name);
        QVERIFY(name.size() < 60); // socket paths are short
    }

    void nameOfAServerBookIsItsText() {
        const QString book = QStringLiteral("localhost/3051:/srv/books/Kaltro1.fdb");
        const QString name = RunningCopy::serverName(book);
        const QString before = QDir::currentPath();
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        const QString nameElsewhere = RunningCopy::serverName(book);
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(nameElsewhere, name);
        QVERIFY(RunningCopy::serverName(QStringLiteral("localhost/3051:/srv/books/Kaltro2.fdb")) !=
                name);
    }

    void theCopyWithTheBookIsRaised() {
        QTemporaryDir dir;
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        const QString other = touch(dir.filePath(QStringLiteral("Kaltro2.fdb")));
        QVERIFY(!RunningCopy::askToRaise(book));
        OtherCopy copy;
        QSignalSpy raised(copy.copy, &RunningCopy::raiseRequested);
        QVERIFY(copy.listen(book));
        QVERIFY(RunningCopy::askToRaise(book));
        QVERIFY(raised.count() == 1 || raised.wait());
        QCOMPARE(raised.count(), 1);
        QVERIFY(!RunningCopy::askToRaise(other));
    }

    void aSecondCopyOnTheSameBookLeavesTheAnswerToTheFirst() {
        QTemporaryDir dir;
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        OtherCopy first;
        QVERIFY(first.listen(book));
        RunningCopy second;
        QVERIFY(!second.listen(book));
        QVERIFY(!second.isListening());
    }

    void aSocketLeftBehindIsTakenOver() {
        QTemporaryDir dir;
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        // What a copy that ended without closing leaves: the socket file, nobody behind it.
        const QString socketFile =
            QDir::tempPath() + QLatin1Char('/') + RunningCopy::serverName(book);
        touch(socketFile);
        QVERIFY(QFile::exists(socketFile));
        OtherCopy copy;
        QVERIFY(copy.listen(book));
        QSignalSpy raised(copy.copy, &RunningCopy::raiseRequested);
        QVERIFY(RunningCopy::askToRaise(book));
        QVERIFY(raised.count() == 1 || raised.wait());
    }
};

QTEST_MAIN(TestRunningCopy)
#include "test_running_copy.moc"
