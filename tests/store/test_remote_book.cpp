#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "store/book_list.h"
#include "store/book_options.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "tests/support/platform/firebird_server.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/store/store_notices.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using testsupport::FirebirdServer;

namespace {

// A new book whose file the test's own Firebird server keeps, listed in the INI under its path
// through that server, and a data store open on it.
struct ServerBook {
    FirebirdServer server;
    schematest::Workplace place;
    QString file;
    QString path;
    DataStore& store = place.store();

    ServerBook() {
        QDir().mkpath(place.path("books"));
        file = createNewBook(BookKind::CashDesk, QStringLiteral("Касса"), place.path("books"),
                             schematest::templatesFolder());
        for (BackupKind kind : kBackupKinds)
            QDir(place.path("books/" + DataStore::backupFolder(kind))).removeRecursively();
        path = server.remotePath(file);
        BookList(store.ini()).save({{QStringLiteral("Касса на сервере"), path}});
        open(store);
    }

    void open(DataStore& other) {
        other.chooseBook(ChosenBook(0, path));
        other.openBook();
    }

    // The files and folders beside the book's file (the new-book command's backups removed).
    QStringList besideTheFile() const {
        return QDir(QFileInfo(file).absolutePath())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
};

// A document row inserted through a dataset of the store, as a document window stores it.
std::unique_ptr<fb::DataSet> newDocument(DataStore& store, int key) {
    std::unique_ptr<fb::DataSet> document = store.createQuery();
    document->setSQL("SELECT PRKEY, TYP, NUM, SUM1, PURP1 FROM OPER WHERE PRKEY=:PRKEY");
    document->setInsertSQL("INSERT INTO OPER (PRKEY, TYP, NUM, SUM1, PURP1) "
                           "VALUES (:PRKEY, :TYP, :NUM, :SUM1, :PURP1)");
    document->setParam("PRKEY", key);
    document->open();
    document->insert();
    document->field("PRKEY").setAsInteger(key);
    document->field("TYP").setAsInteger(1);
    document->field("NUM").setAsString("17");
    document->field("SUM1").setAsFloat(250.5);
    document->field("PURP1").setAsString(QStringLiteral("Оплата по счету №5"));
    return document;
}

} // namespace

class TestRemoteBook : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (const QString why = FirebirdServer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
    }

    void optionsWrittenByOneStoreAreReadByTheOther() {
        ServerBook book;
        DataStore other(book.place.path("kaltro.ini"));
        book.open(other);
        book.store.options().setOption(kStoreCaptionKey, QStringLiteral("Касса на сервере"));
        QCOMPARE(other.options().storeCaption(), QStringLiteral("Касса на сервере"));
        other.options().setOption(kReservBackupFlagKey, "0");
        QVERIFY(!book.store.options().reservBackupFlag());
        QCOMPARE(book.store.options().storeCaption(), QStringLiteral("Касса на сервере"));
    }

    void documentCommittedByOneStoreIsSeenByTheOther() {
        ServerBook book;
        DataStore other(book.place.path("kaltro.ini"));
        book.open(other);
        const int key = book.store.newKey("OPER");
        const std::unique_ptr<fb::DataSet> document = newDocument(book.store, key);
        QCOMPARE(other.fieldValue("OPER", "NUM", key), QString());
        book.store.postAndCommit(*document);
        QCOMPARE(other.fieldValue("OPER", "NUM", key), QStringLiteral("17"));
        QCOMPARE(other.fieldValue("OPER", "PURP1", key), QStringLiteral("Оплата по счету №5"));
        QCOMPARE(other.newKey("OPER"), key + 1);
    }

    // What the user is told when the server goes away under an open book: the store's own words
    // for a failed save, then the error of the lost connection (SQL code -902) goes on to the
    // caller; reads fail with the same error, and the store closes without a hang.
    void stoppedServerGivesTheDatabaseMessage() {
        ServerBook book;
        const std::unique_ptr<fb::DataSet> document =
            newDocument(book.store, book.store.newKey("OPER"));
        book.server.kill();
        StoreNotices notices;
        int sqlCode = 0;
        QString message;
        try {
            book.store.postAndCommit(*document);
        } catch (const fb::Error& e) {
            sqlCode = e.sqlCode();
            message = e.message();
        }
        QCOMPARE(sqlCode, -902);
        QVERIFY2(message.contains(QStringLiteral("connection")), qPrintable(message));
        QCOMPARE(notices.texts, QStringList{"Не могу сохранить введенные данные!"});

        QVERIFY_THROWS_EXCEPTION(fb::Error, book.store.options().storeCaption());
        QVERIFY_THROWS_EXCEPTION(fb::Error, book.store.closeAndBackup());
        QCOMPARE(notices.texts.size(), 1);
    }

    // The book's file and its backup folders are on the server's machine: no backup is tried at
    // start, and at close one message says why there is none, whatever kinds are chosen.
    void serverBookGetsNoBackupsAndSaysSoOnce_data() {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<int>("iniBackup");
        QTest::addColumn<int>("messages");
        QTest::newRow("all kinds") << "-1 -1 -1" << 1 << 1;
        QTest::newRow("week only") << "0 0 -1" << 1 << 1;
        QTest::newRow("none") << "0 0 0" << 1 << 0;
        QTest::newRow("switched off in the INI") << "-1 -1 -1" << 0 << 0;
    }
    void serverBookGetsNoBackupsAndSaysSoOnce() {
        QFETCH(QString, flags);
        QFETCH(int, iniBackup);
        QFETCH(int, messages);
        ServerBook book;
        const QStringList flag = flags.split(' ');
        const char* const keys[] = {kReservBackupFlagKey, kYesterdayBackupFlagKey,
                                    kWeekBackupFlagKey};
        for (int i = 0; i < 3; ++i)
            book.store.options().setOption(keys[i], flag[i]);
        book.store.ini().writeInteger("DB", "Backup", iniBackup);
        StoreNotices dialogs;
        book.store.makeFirstBackups();
        QVERIFY(dialogs.texts.isEmpty());
        QCOMPARE(DataStore::backupPath(book.path, "Reserv"), QString());

        book.store.closeAndBackup();
        QVERIFY(!book.store.database().isAttached());
        QCOMPARE(dialogs.texts.size(), messages);
        if (messages) {
            QCOMPARE(dialogs.captions[0], QStringLiteral("Ошибка архивации"));
            QVERIFY(dialogs.texts[0].startsWith(
                QStringLiteral("Архив базы данных не создан: база данных \"%1\" находится на "
                               "сервере")
                    .arg(book.path)));
        }
        QCOMPARE(book.besideTheFile(), QStringList{"Kaltro1.fdb"});
    }
};

QTEST_MAIN(TestRemoteBook)
#include "test_remote_book.moc"
