#include "app/main_window.h"
#include "core/ini_file.h"
#include "store/data_store.h"
#include "tests/support/platform/firebird_server.h"
#include "tests/support/shell/book_machine.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using testsupport::FirebirdServer;

namespace {

// A machine whose one book a Firebird server of the test's own keeps: the INI lists the book by
// its path through that server.
struct ServerMachine {
    Machine machine;
    FirebirdServer server;
    QString file = machine.addBook(BookKind::CashDesk, QStringLiteral("Касса на сервере"));
    QString path = server.remotePath(file);
    ServerMachine() { IniFile(machine.ini).writeString("DB", "DatabasePath_0", path); }
};

} // namespace

class TestServerBook : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (const QString why = FirebirdServer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
    }

    void aServerBookRunsFromStartToExit() {
        ServerMachine m;
        Dialogs dialogs;
        {
            MainWindow main(m.machine.ini);
            QCOMPARE(main.runStartup(), StartupEnd::GoOn);
            QCOMPARE(DataStore::instance().databaseName(), m.path);
            QVERIFY(dialogs.texts.isEmpty());
            main.show();
            QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Касса на сервере"));
            // The copy's own book: no other copy is asked or started (it could not be).
            main.session().setCopyProgram(m.machine.dir.filePath("no-such-program"));
            main.session().switchToBook(0);
            QVERIFY(dialogs.texts.isEmpty());
            DataStore::instance().setUserData1(QStringLiteral("Сетка=1\x01"));
            QVERIFY(main.close());
        }
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(dialogs.requests[0].caption, QStringLiteral("Ошибка архивации"));
        QVERIFY(dialogs.texts[0].contains(m.path));
        QCOMPARE(readValue(m.path, "SELECT DATA1 FROM USERS WHERE PRKEY=1"),
                 QStringLiteral("Сетка=1\x01"));
        for (BackupKind kind : kBackupKinds)
            QVERIFY(!QFileInfo::exists(QFileInfo(m.file).absolutePath() + '/' +
                                       DataStore::backupFolder(kind)));
    }

    // The first step of the exit that needs the book says that its connection is gone, once;
    // the program still ends.
    void aStoppedServerLeavesTheProgramToClose() {
        ServerMachine m;
        Dialogs dialogs;
        MainWindow main(m.machine.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        m.server.kill();
        QVERIFY(main.close());
        QCOMPARE(dialogs.texts.size(), 1);
        for (const DialogRequest& request : dialogs.requests) {
            QCOMPARE(request.icon, MessageIcon::Error);
            QVERIFY2(request.text.contains(QStringLiteral("connection")), qPrintable(request.text));
        }
    }
};

QTEST_MAIN(TestServerBook)
#include "test_server_book.moc"
