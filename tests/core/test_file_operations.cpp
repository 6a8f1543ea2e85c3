#include "core/exceptions.h"
#include "core/file_operations.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/part_writer.h"
#include "tests/support/core/small_file_system.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::messageOf;
using testsupport::PartWriter;
using testsupport::readFile;
using testsupport::SmallFileSystem;
using testsupport::writeFile;

namespace {

const QByteArray kOldCopy = "the last good copy";
constexpr int kWaitMs = 10000;

// The names in a folder, hidden ones included.
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

void setMode(const QString& path, mode_t mode) {
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

class TestFileOperations : public QObject {
    Q_OBJECT
private slots:
    // The disk fills up while the new copy is written: the old copy stays as it was, nothing
    // else is left beside it, and the message names the file and the reason.
    void aCopyOnAFullDiskLeavesTheOldFileWhole_data() {
        QTest::addColumn<qint64>("free");
        QTest::newRow("no space at all") << qint64(0);
        QTest::newRow("space runs out midway") << qint64(16 * 1024);
    }
    void aCopyOnAFullDiskLeavesTheOldFileWhole() {
        QFETCH(qint64, free);
        if (const QString why = SmallFileSystem::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir tmp;
        SmallFileSystem disk(256 * 1024);
        const QString source = tmp.filePath("Reserv");
        const QString extra = disk.filePath("Reserv");
        QVERIFY(QDir().mkpath(source));
        QVERIFY(QDir().mkpath(extra));
        writeFile(source + "/Kaltro1.gbk", QByteArray(64 * 1024, 'n'));
        writeFile(extra + "/Kaltro1.gbk", kOldCopy);
        disk.fill(free);

        const QString message = messageOf([&] { copyFolder(source, extra); });
        QCOMPARE(message, QStringLiteral("Не удается скопировать файл: \"%1/Kaltro1.gbk\" -> "
                                         "\"%2/Kaltro1.gbk\"\nНедостаточно места на диске\n"
                                         "Закройте все программы, перезагрузите компьютер и "
                                         "попробуйте еще раз!")
                              .arg(source, extra));
        QCOMPARE(readFile(extra + "/Kaltro1.gbk"), kOldCopy);
        QCOMPARE(namesIn(extra), QStringList{"Kaltro1.gbk"});

        // With room again, the same copy goes through.
        disk.release();
        copyFolder(source, extra);
        QCOMPARE(readFile(extra + "/Kaltro1.gbk"), QByteArray(64 * 1024, 'n'));
        QCOMPARE(namesIn(extra), QStringList{"Kaltro1.gbk"});
    }

    // A copying program killed while it writes the new copy: the old copy keeps its name and
    // every byte. The source is large (and sparse, so it costs no disk) for the copy to take
    // long enough: the kill comes as soon as the new copy's file appears.
    void aKilledCopyLeavesTheOldFileWhole() {
        QTemporaryDir tmp;
        const QString source = tmp.filePath("Reserv");
        const QString extra = tmp.filePath("Extra");
        QVERIFY(QDir().mkpath(source));
        QVERIFY(QDir().mkpath(extra));
        const qint64 size = 64 * 1024 * 1024;
        QFile big(source + "/Kaltro1.gbk");
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(size));
        big.close();
        writeFile(extra + "/Kaltro1.gbk", kOldCopy);

        QProcess copier;
        copier.start(QStringLiteral(COPY_HELPER), {source, extra});
        QVERIFY(copier.waitForStarted());
        QString partial;
        QElapsedTimer waited;
        waited.start();
        while (partial.isEmpty() && waited.elapsed() < kWaitMs) {
            for (const QString& name : namesIn(extra))
                if (name != "Kaltro1.gbk")
                    partial = extra + '/' + name;
            ::usleep(100);
        }
        QCOMPARE(::kill(pid_t(copier.processId()), SIGKILL), 0);
        QVERIFY(copier.waitForFinished());
        QVERIFY(!partial.isEmpty());
        QCOMPARE(copier.exitStatus(), QProcess::CrashExit);
        QCOMPARE(readFile(extra + "/Kaltro1.gbk"), kOldCopy);
        // The killed copy was cut short: what it wrote lies under its own name.
        QVERIFY(QFileInfo(partial).size() < size);
    }

    // The files that killed writers of a target left beside it go; those of a running writer,
    // the target itself and the files of other targets or of other names stay.
    void leftoversOfKilledWritersGo() {
        QTemporaryDir tmp;
        const QString target = tmp.filePath("Kaltro1.gbk");
        writeFile(target, kOldCopy);
        PartWriter running(PART_WRITER, target);
        PartWriter killed(PART_WRITER, target);
        PartWriter otherTarget(PART_WRITER, tmp.filePath("Kaltro12.gbk"));
        QVERIFY(!running.part().isEmpty() && !killed.part().isEmpty());
        QVERIFY(!otherTarget.part().isEmpty());
        // The file of a backup made from the copy of an open book, inside the killed one's.
        const QString inner =
            QStringLiteral("%1.fdb.%2-q1w2e3.part").arg(killed.part()).arg(killed.processId());
        writeFile(inner, "copy of the book");
        const QString dead = killed.part();
        QVERIFY(killed.kill());
        QVERIFY(otherTarget.kill());
        const QStringList others{"Kaltro1.gbk.old", "Kaltro1.gbk.tmp", "Kaltro1.gbk.1-abc.part",
                                 "Kaltro1.gbk.x-abcdef.part"};
        for (const QString& name : others)
            writeFile(tmp.filePath(name), "not a part");

        QStringList removed = removeLeftoverParts(target);

        removed.sort();
        QCOMPARE(removed, QStringList({dead, inner}));
        QStringList kept = others + QStringList{"Kaltro1.gbk", QFileInfo(running.part()).fileName(),
                                                QFileInfo(otherTarget.part()).fileName()};
        kept.sort();
        QCOMPARE(namesIn(tmp.path()), kept);
        QCOMPARE(readFile(running.part()), QByteArray("half-written"));
        QCOMPARE(readFile(target), kOldCopy);
    }

    // A writer's number that another program has been given since: the file goes when that
    // program started after the file was last written, and stays when it may be the writer.
    void aNumberGivenToAnotherProgram_data() {
        QTest::addColumn<int>("writtenSecondsAgo");
        QTest::addColumn<bool>("removed");
        QTest::newRow("written before the program started") << 3600 << true;
        QTest::newRow("written while it runs") << 0 << false;
    }
    void aNumberGivenToAnotherProgram() {
        QFETCH(int, writtenSecondsAgo);
        QFETCH(bool, removed);
        QProcess other;
        other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(other.waitForStarted());
        QTemporaryDir tmp;
        const QString target = tmp.filePath("Kaltro1.gbk");
        const QString part = QStringLiteral("%1.%2-a1b2c3.part").arg(target).arg(other.processId());
        writeFile(part, "half-written");
        QFile file(part);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-writtenSecondsAgo),
                                 QFileDevice::FileModificationTime));
        file.close();

        QCOMPARE(removeLeftoverParts(target), removed ? QStringList{part} : QStringList{});
        QCOMPARE(QFileInfo::exists(part), !removed);
        other.kill();
        other.waitForFinished();
    }

    // A copy is as private as its source, whatever the old copy allowed.
    void aCopyTakesTheSourcesPermissions_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("owner only") << 0600;
        QTest::newRow("group reads") << 0640;
        QTest::newRow("group writes") << 0660;
        QTest::newRow("everybody reads") << 0644;
    }
    void aCopyTakesTheSourcesPermissions() {
        QFETCH(int, mode);
        QTemporaryDir tmp;
        const QString source = tmp.filePath("Reserv");
        const QString extra = tmp.filePath("Extra");
        QVERIFY(QDir().mkpath(source));
        QVERIFY(QDir().mkpath(extra));
        writeFile(source + "/Kaltro1.gbk", "new");
        setMode(source + "/Kaltro1.gbk", mode_t(mode));
        writeFile(extra + "/Kaltro1.gbk", kOldCopy);
        setMode(extra + "/Kaltro1.gbk", 0666);
        copyFolder(source, extra);
        QCOMPARE(readFile(extra + "/Kaltro1.gbk"), QByteArray("new"));
        QCOMPARE(int(modeOf(extra + "/Kaltro1.gbk")), mode);
    }

    // A rename that fails says so, with the file and the reason; the source stays.
    void aFailedReplaceIsReported_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no such folder") << "missing/Kaltro1.gbk"
                                        << "Файл или каталог не найден";
        QTest::newRow("a folder in the file's place") << "Reserv"
                                                      << "На этом месте находится каталог";
    }
    void aFailedReplaceIsReported() {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QTemporaryDir tmp;
        QVERIFY(QDir().mkpath(tmp.filePath("Reserv/Kaltro1.gbk")));
        const QString source = tmp.filePath("new.part");
        writeFile(source, "new");
        QCOMPARE(messageOf([&] { replaceFile(source, tmp.filePath(target)); }),
                 QStringLiteral("Не удается заменить файл \"%1\": %2")
                     .arg(tmp.filePath(target), reason));
        QCOMPARE(readFile(source), QByteArray("new"));
    }

    void renameWithoutReplacingKeepsATakenName_data() {
        QTest::addColumn<bool>("taken");
        QTest::newRow("free name") << false;
        QTest::newRow("taken name") << true;
    }
    void renameWithoutReplacingKeepsATakenName() {
        QFETCH(bool, taken);
        QTemporaryDir tmp;
        const QString source = tmp.filePath("Kaltro.fdb.part");
        const QString target = tmp.filePath("Kaltro1.fdb");
        writeFile(source, "new book");
        if (taken)
            writeFile(target, "another copy's book");
        QCOMPARE(renameWithoutReplacing(source, target), !taken);
        QCOMPARE(readFile(target), taken ? QByteArray("another copy's book") : "new book");
        QCOMPARE(QFile::exists(source), taken);
    }

    // Two writers of one target never touch each other's file; the one that commits last wins
    // with its whole file, and the other one's goes away with it.
    void replacementFilesOfOneTargetStayApart() {
        QTemporaryDir tmp;
        const QString target = tmp.filePath("Kaltro1.gbk");
        writeFile(target, kOldCopy);
        {
            ReplacementFile first(target);
            ReplacementFile second(target);
            QVERIFY(first.path() != second.path());
            QCOMPARE(int(modeOf(first.path())), 0600);
            first.write("first", 5);
            second.write("second", 6);
            QCOMPARE(readFile(target), kOldCopy);
            second.commit();
            QCOMPARE(readFile(target), QByteArray("second"));
            QCOMPARE(readFile(first.path()), QByteArray("first"));
        }
        QCOMPARE(namesIn(tmp.path()), QStringList{"Kaltro1.gbk"});
        QCOMPARE(readFile(target), QByteArray("second"));
    }
};

QTEST_MAIN(TestFileOperations)
#include "test_file_operations.moc"
