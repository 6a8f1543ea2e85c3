#include "shell/uRunningCopy.h"

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
    TRunningCopy* copy = new TRunningCopy;
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
            copy, [&] { ok = copy->Listen(book); }, Qt::BlockingQueuedConnection);
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
        const QString name = TRunningCopy::ServerName(book);
        QCOMPARE(TRunningCopy::ServerName(dir.filePath(QStringLiteral("sub/../Kaltro1.fdb"))),
                 name);
        QCOMPARE(TRunningCopy::ServerName(dir.filePath(QStringLiteral("link.fdb"))), name);
        QVERIFY(TRunningCopy::ServerName(other) != name);
        QVERIFY(name.size() < 60); // socket paths are short
    }

    void theCopyWithTheBookIsRaised() {
        QTemporaryDir dir;
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        const QString other = touch(dir.filePath(QStringLiteral("Kaltro2.fdb")));
        QVERIFY(!TRunningCopy::AskToRaise(book));
        OtherCopy copy;
        QSignalSpy raised(copy.copy, &TRunningCopy::raiseRequested);
        QVERIFY(copy.listen(book));
        QVERIFY(TRunningCopy::AskToRaise(book));
        QVERIFY(raised.count() == 1 || raised.wait());
        QCOMPARE(raised.count(), 1);
        QVERIFY(!TRunningCopy::AskToRaise(other));
    }

    void aSecondCopyOnTheSameBookLeavesTheAnswerToTheFirst() {
        QTemporaryDir dir;
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        OtherCopy first;
        QVERIFY(first.listen(book));
        TRunningCopy second;
        QVERIFY(!second.Listen(book));
        QVERIFY(!second.IsListening());
    }

    void aSocketLeftBehindIsTakenOver() {
        QTemporaryDir dir;
        const QString book = touch(dir.filePath(QStringLiteral("Kaltro1.fdb")));
        // What a copy that ended without closing leaves: the socket file, nobody behind it.
        const QString socketFile =
            QDir::tempPath() + QLatin1Char('/') + TRunningCopy::ServerName(book);
        touch(socketFile);
        QVERIFY(QFile::exists(socketFile));
        OtherCopy copy;
        QVERIFY(copy.listen(book));
        QSignalSpy raised(copy.copy, &TRunningCopy::raiseRequested);
        QVERIFY(TRunningCopy::AskToRaise(book));
        QVERIFY(raised.count() == 1 || raised.wait());
    }
};

QTEST_MAIN(TestRunningCopy)
#include "test_runningcopy.moc"
