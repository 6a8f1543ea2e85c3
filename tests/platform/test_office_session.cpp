#include "platform/office_session.h"

#include "core/file_operations.h"
#include "platform/office.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/platform/locale_of_the_user.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using testsupport::messageOf;
using testsupport::putOfficeScript;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// An office window that the user edits and closes: it records its arguments, one a line, in
// "args" beside itself, and appends to the file it is given.
const QByteArray kEditor = R"sh(printf '%s\n' "$@" > "$(dirname "$0")/args"
last=$(last_file "$@")
printf ' edited' >> "$last")sh";

// An office window that stays open until the file "close" appears beside it.
const QByteArray kOpenUntilClosed =
    R"sh(while [ ! -e "$(dirname "$0")/close" ]; do sleep 0.05; done)sh";

const QString kFileName = QStringLiteral("Приходный ордер.odt");

// A work folder with the document written into it.
std::unique_ptr<WorkFolder> folderWithDocument() {
    auto folder = std::make_unique<WorkFolder>();
    writeFile(folder->filePath(kFileName), "document");
    return folder;
}

// A session on the document of a new work folder.
std::unique_ptr<OfficeSession> sessionOnDocument() {
    std::unique_ptr<WorkFolder> folder = folderWithDocument();
    const QString file = folder->filePath(kFileName);
    return std::make_unique<OfficeSession>(std::move(folder), file);
}

} // namespace

// LibreOffice opened for the user on a document of a work folder, faked: the folder lives as
// long as the window and the session do.
class TestOfficeSession : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_office = std::make_unique<QTemporaryDir>();
        setOfficeSearchPath(m_office->path());
    }
    void cleanup() { setOfficeSearchPath(QString()); }

    // The window opens the document on a profile inside the folder; its end is told once; the
    // document stays until the session is destroyed, and the folder goes with it.
    void endToldOnceAndFolderRemovedAfter() {
        putOfficeScript(m_office->path(), kEditor);
        std::unique_ptr<OfficeSession> session = sessionOnDocument();
        const QString path = session->folder().path();
        QCOMPARE(session->folder().owner(), session->processId());
        QSignalSpy ended(session.get(), &OfficeSession::ended);

        QVERIFY(ended.wait(5000));
        QTest::qWait(1000);

        QCOMPARE(ended.count(), 1);
        QVERIFY(session->hasEnded());
        QCOMPARE(readFile(path + "/" + kFileName), "document edited");
        QCOMPARE(QString::fromUtf8(readFile(m_office->filePath("args"))),
                 QStringLiteral("--nologo\n--norestore\n-env:UserInstallation=file://%1/profile\n"
                                "%2\n")
                     .arg(path, officeFileUrl(path + "/" + kFileName)));
        session.reset();
        QVERIFY(!QFileInfo::exists(path));
    }

    // Under a locale this machine lacks, the window still opens the document: it runs under a
    // locale that reads this program's file names.
    void theUsersMissingLocaleReadsUtf8() {
        putOfficeScript(m_office->path(), R"sh(
echo "LANG=$LANG LC_CTYPE=$LC_CTYPE LC_ALL=$LC_ALL" > "$(dirname "$0")/locale"
last=$(last_file "$@")
printf ' edited' >> "$last")sh");
        std::unique_ptr<OfficeSession> session;
        {
            const testsupport::LocaleOfTheUser missing("xx_XX.UTF-8");
            session = sessionOnDocument();
        }
        const QString path = session->folder().path();
        QSignalSpy ended(session.get(), &OfficeSession::ended);
        QVERIFY(ended.wait(5000));
        QCOMPARE(readFile(m_office->filePath("locale")), "LANG=C.UTF-8 LC_CTYPE= LC_ALL=\n");
        QCOMPARE(readFile(path + "/" + kFileName), "document edited");
        QCOMPARE(session->failure(), QString());
    }

    // A session destroyed while the window is open leaves the folder to it; once the window
    // has closed, the clean-up at a later start removes the folder.
    void folderLeftToAnOpenWindow() {
        putOfficeScript(m_office->path(), kOpenUntilClosed);
        std::unique_ptr<OfficeSession> session = sessionOnDocument();
        const QString path = session->folder().path();
        const qint64 pid = session->processId();
        QSignalSpy ended(session.get(), &OfficeSession::ended);
        QVERIFY(!ended.wait(1000));
        QVERIFY(processRuns(pid));

        session.reset();
        removeStaleWorkFolders();
        QCOMPARE(readFile(path + "/" + kFileName), "document");

        writeFile(m_office->filePath("close"), "");
        QTRY_VERIFY(!processRuns(pid));
        QVERIFY(QFileInfo::exists(path));
        removeStaleWorkFolders();
        QVERIFY(!QFileInfo::exists(path));
    }

    // A document opened to view: the session goes by itself, with the folder, once the window
    // has closed.
    void openedToViewGoesByItself() {
        putOfficeScript(m_office->path(), kOpenUntilClosed);
        std::unique_ptr<WorkFolder> folder = folderWithDocument();
        const QString path = folder->path();
        const QString file = folder->filePath(kFileName);

        OfficeSession::open(std::move(folder), file);

        const auto session = qApp->findChild<OfficeSession*>();
        QVERIFY(session);
        QCOMPARE(session->folder().path(), path);
        QTest::qWait(1000);
        QCOMPARE(readFile(file), "document");
        QPointer<OfficeSession> watched(session);
        writeFile(m_office->filePath("close"), "");
        QTRY_VERIFY(watched.isNull());
        QVERIFY(!QFileInfo::exists(path));
    }

    // A LibreOffice that is missing is told at once, and so is one without windows, which is
    // never started: it would run unseen. The folder is removed at once.
    void startFailureTold_data() {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QStringList>("beside");
        QTest::addColumn<QString>("told");
        QTest::newRow("no office program")
            << QByteArray() << QStringList{} << "не найден LibreOffice";
        QTest::newRow("window-less build")
            << QByteArray("#!/bin/sh\ntouch \"$(dirname \"$0\")/started\"\n")
            << QStringList{"soffice.bin"} << "работает без окон";
    }
    void startFailureTold() {
        QFETCH(QByteArray, program);
        QFETCH(QStringList, beside);
        QFETCH(QString, told);
        if (!program.isEmpty()) {
            const QString path = m_office->filePath("soffice");
            writeFile(path, program);
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        }
        for (const QString& name : beside)
            writeFile(m_office->filePath(name), "");
        std::unique_ptr<WorkFolder> folder = folderWithDocument();
        const QString path = folder->path();
        const QString file = folder->filePath(kFileName);

        const QString message = messageOf([&] { OfficeSession session(std::move(folder), file); });

        QVERIFY2(message.contains(told), qPrintable(message));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!QFileInfo::exists(m_office->filePath("started")));
    }

    // A window that ends badly is told, once it has ended, in one sentence with the document's
    // file; one the user closes tells nothing. What it writes goes to standard error.
    void failureToldOnceEnded_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("told");
        QTest::newRow("closed") << QByteArray("echo 'closing'") << QString();
        QTest::newRow("crashed")
            << QByteArray("echo 'Fatal exception: Signal 11' >&2; kill -11 $$")
            << "LibreOffice аварийно завершил работу с документом «Приходный ордер.odt».";
        QTest::newRow("ended with an error")
            << QByteArray("exit 1")
            << "LibreOffice завершился с ошибкой (код 1) при работе с документом «Приходный "
               "ордер.odt».";
        QTest::newRow("cannot run") << QByteArray("#!/nonexistent/interpreter\n")
                                    << "Не удалось запустить LibreOffice (%1) для документа "
                                       "«Приходный ордер.odt».";
    }
    void failureToldOnceEnded() {
        QFETCH(QByteArray, script);
        QFETCH(QString, told);
        const QString program = m_office->filePath("soffice");
        if (script.startsWith("#!")) {
            writeFile(program, script);
            QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        } else {
            putOfficeScript(m_office->path(), script);
        }
        std::unique_ptr<OfficeSession> session = sessionOnDocument();
        QSignalSpy ended(session.get(), &OfficeSession::ended);
        QVERIFY(ended.wait(5000));
        QCOMPARE(session->failure(), told.contains("%1") ? told.arg(program) : told);
    }

    // A LibreOffice installation shows windows when a window plugin stands beside its program.
    void installationWithWindowsOpens() {
        putOfficeScript(m_office->path(), kEditor);
        writeFile(m_office->filePath("soffice.bin"), "");
        writeFile(m_office->filePath("libvclplug_genlo.so"), "");
        QVERIFY(officeShowsWindows());
        std::unique_ptr<OfficeSession> session = sessionOnDocument();
        QSignalSpy ended(session.get(), &OfficeSession::ended);
        QVERIFY(ended.wait(5000));
    }

private:
    std::unique_ptr<QTemporaryDir> m_office; // the fake office program's folder, new per test
};

QTEST_MAIN(TestOfficeSession)
#include "test_office_session.moc"
