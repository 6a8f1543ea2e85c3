#include "platform/work_folder.h"

#include "core/file_operations.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <ctime>
#include <unistd.h>
#include <utime.h>

using testsupport::messageOf;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

QString workFoldersRoot() {
    return QDir::tempPath() + QStringLiteral("/kaltro-%1").arg(getuid());
}

// A process of the test that runs until the object is destroyed.
class RunningProcess {
public:
    RunningProcess() {
        m_process.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        m_process.waitForStarted();
    }
    ~RunningProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }
    qint64 id() const { return m_process.processId(); }

private:
    QProcess m_process;
};

// The id of a process that has run and ended.
qint64 endedProcessId() {
    QProcess process;
    process.start(QStringLiteral("true"), QStringList());
    process.waitForStarted();
    const qint64 id = process.processId();
    process.waitForFinished();
    return id;
}

// The owner record of a new work folder: the only file in it.
QString ownerRecordOf(const WorkFolder& folder) {
    const QFileInfoList files =
        QDir(folder.path()).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    return files.size() == 1 ? files.first().filePath() : QString();
}

void makeOld(const QString& path) {
    const time_t twoMinutesAgo = time(nullptr) - 120;
    const utimbuf times{twoMinutesAgo, twoMinutesAgo};
    QCOMPARE(utime(QFile::encodeName(path).constData(), &times), 0);
}

void putFiles(const WorkFolder& folder) {
    QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("profile/user"))));
    writeFile(folder.filePath(QStringLiteral("profile/user/settings.xcu")), "<items/>");
    writeFile(folder.filePath(QStringLiteral("Приходный ордер.odt")), "document");
}

} // namespace

// The folders of one print, view or edit: where they are made, when they go.
class TestWorkFolder : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QDir(workFoldersRoot()).removeRecursively(); }

    // Each folder is new, private, under the user's folder of the temporary folder, and owned
    // by this process.
    void aNewPrivateFolderOwnedByThisProcess() {
        const WorkFolder first;
        const WorkFolder second;
        QVERIFY(first.path() != second.path());
        for (const WorkFolder* folder : {&first, &second}) {
            const QFileInfo info(folder->path());
            QVERIFY(info.isDir());
            QCOMPARE(info.absolutePath(), workFoldersRoot());
            QCOMPARE(info.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
            QCOMPARE(folder->owner(), QCoreApplication::applicationPid());
            QCOMPARE(folder->filePath(QStringLiteral("a.odt")), folder->path() + "/a.odt");
        }
        QCOMPARE(
            QFileInfo(workFoldersRoot()).permissions() & (QFile::ReadOther | QFile::WriteOther), 0);
    }

    // The destructor removes the folder with its files unless its owner is another process
    // that still runs.
    void removedUnlessItsOwnerRuns_data() {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<bool>("removed");
        QTest::newRow("this process") << "this" << true;
        QTest::newRow("a process that has ended") << "ended" << true;
        QTest::newRow("a process that runs") << "running" << false;
    }
    void removedUnlessItsOwnerRuns() {
        QFETCH(QString, owner);
        QFETCH(bool, removed);
        const RunningProcess running;
        QString path;
        {
            WorkFolder folder;
            putFiles(folder);
            path = folder.path();
            if (owner == "ended")
                folder.setOwner(endedProcessId());
            if (owner == "running")
                folder.setOwner(running.id());
        }
        QCOMPARE(!QFileInfo::exists(path), removed);
        if (!removed)
            QCOMPARE(readFile(path + QStringLiteral("/Приходный ордер.odt")), "document");
    }

    // A folder is stale when its owner has ended, or, without an owner record, when it is older
    // than a minute; a record that cannot be read and a link keep what they name.
    void staleFoldersRemoved_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("removed");
        QTest::newRow("owned by this process") << "this" << false;
        QTest::newRow("owned by a process that runs") << "running" << false;
        QTest::newRow("owned by a process that has ended") << "ended" << true;
        QTest::newRow("new, without an owner") << "ownerless" << false;
        QTest::newRow("old, without an owner") << "old ownerless" << true;
        QTest::newRow("old, owner record unreadable") << "old garbage" << false;
    }
    void staleFoldersRemoved() {
        QFETCH(QString, kind);
        QFETCH(bool, removed);
        const RunningProcess running;
        WorkFolder folder;
        const QString record = ownerRecordOf(folder);
        putFiles(folder);
        if (kind == "running")
            folder.setOwner(running.id());
        if (kind == "ended")
            folder.setOwner(endedProcessId());
        if (kind.endsWith("ownerless"))
            QVERIFY(QFile::remove(record));
        if (kind == "old garbage")
            writeFile(record, "garbage");
        if (kind.startsWith("old"))
            makeOld(folder.path());
        removeStaleWorkFolders();
        QCOMPARE(!QFileInfo::exists(folder.path()), removed);
    }

    // A process that has ended but that its parent has not collected yet (here a child of a
    // shell that has become "sleep" before the child ends) counts as ended.
    void aZombieCountsAsEnded() {
        QProcess parent;
        parent.start(QStringLiteral("sh"),
                     {QStringLiteral("-c"), QStringLiteral("sleep 1 & echo $!; exec sleep 30")});
        QVERIFY(parent.waitForReadyRead());
        const qint64 child = parent.readLine().trimmed().toLongLong();
        QVERIFY(processRuns(child));
        QTRY_VERIFY_WITH_TIMEOUT(!processRuns(child), 5000);
        QCOMPARE(kill(pid_t(child), 0), 0);
        parent.kill();
        parent.waitForFinished();
    }

    // A link among the work folders is not followed: the folder it names stays whole.
    void aLinkIsNotFollowed() {
        QTemporaryDir outside;
        writeFile(outside.filePath("keep.txt"), "keep");
        makeOld(outside.path());
        const WorkFolder folder; // makes the root
        const QString link = workFoldersRoot() + QStringLiteral("/link");
        QVERIFY(QFile::link(outside.path(), link));
        removeStaleWorkFolders();
        QCOMPARE(readFile(outside.filePath("keep.txt")), "keep");
        QVERIFY(QFile::remove(link));
    }

    // A folder that cannot be made is named in the message; the user's folder of the work
    // folders is not taken when it is a link (somebody else may have put it there).
    void creationFailureNamesTheFolder_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("the temporary folder is a file") << "file";
        QTest::newRow("the root is a link") << "link";
    }
    void creationFailureNamesTheFolder() {
        QFETCH(QString, obstacle);
        const QByteArray tmp = qgetenv("TMPDIR");
        QTemporaryDir dir;
        QString temp = dir.path();
        if (obstacle == "file") {
            temp = dir.filePath("file");
            writeFile(temp, "text");
        } else {
            QVERIFY(QDir().mkpath(dir.filePath("elsewhere")));
            QVERIFY(QFile::link(dir.filePath("elsewhere"),
                                dir.filePath(QStringLiteral("kaltro-%1").arg(getuid()))));
        }
        qputenv("TMPDIR", QFile::encodeName(temp));
        const QString message = messageOf([] { WorkFolder folder; });
        qputenv("TMPDIR", tmp);
        QCOMPARE(message, QStringLiteral("Не удалось создать временную папку %1/kaltro-%2")
                              .arg(temp)
                              .arg(getuid()));
        if (obstacle == "link")
            QVERIFY(QDir(dir.filePath("elsewhere")).isEmpty());
    }
};

QTEST_MAIN(TestWorkFolder)
#include "test_work_folder.moc"
