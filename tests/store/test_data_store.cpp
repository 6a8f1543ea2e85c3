#include "core/file_operations.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/book_options.h"
#include "store/data_store.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/part_writer.h"
#include "tests/support/core/small_file_system.h"
#include "tests/support/platform/test_database.h"
#include "tests/support/store/store_notices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <sys/stat.h>
#include <thread>

using testsupport::PartWriter;
using testsupport::readFile;
using testsupport::SmallFileSystem;
using testsupport::TestDatabase;
using testsupport::writeFile;

namespace {

// A book with the two tables the data store's own services touch.
struct Book {
    TestDatabase db;
    DataStore store;
    Book() : store(db.filePath("kaltro.ini")) {
        db.exec(QStringList{
            "CREATE TABLE PARTS (PRKEY INTEGER NOT NULL, LNAM VARCHAR(100), "
            "ETC BLOB SUB_TYPE 0 SEGMENT SIZE 80)",
            "CREATE TABLE USERS (PRKEY INTEGER NOT NULL, DATA1 BLOB SUB_TYPE 0 SEGMENT SIZE 80)",
            "CREATE GENERATOR PARTS_PRKEY_GEN", "SET GENERATOR PARTS_PRKEY_GEN TO 10000",
            "INSERT INTO PARTS (PRKEY) VALUES (0)", "INSERT INTO USERS (PRKEY) VALUES (1)"});
        db.attachment().detach();
        store.database().attach(db.path());
    }
    QString backup(int kind) const {
        return DataStore::backupPath(db.path(), DataStore::backupFolder(BackupKind(kind)));
    }
};

// A table whose saves can be made to fail on demand, through a second attachment: a check
// against LIMITS.CHECK_LIMIT fails the statement, a commit trigger against LIMITS.COMMIT_LIMIT
// fails the commit, and a row held by the second attachment fails it with a lock conflict.
struct SaveBook {
    TestDatabase db;
    DataStore store;
    SaveBook() : store(db.filePath("kaltro.ini")) {
        db.exec(QStringList{
            "CREATE TABLE LIMITS (CHECK_LIMIT INTEGER, COMMIT_LIMIT INTEGER)",
            "INSERT INTO LIMITS VALUES (100, 100)",
            "CREATE TABLE T (PRKEY INTEGER NOT NULL PRIMARY KEY, AMOUNT INTEGER, "
            "CHECK (AMOUNT <= (SELECT CHECK_LIMIT FROM LIMITS)))",
            "INSERT INTO T VALUES (1, 1)", "CREATE EXCEPTION E_OVER_LIMIT 'Сумма выше предела'",
            "CREATE TRIGGER T_COMMIT ON TRANSACTION COMMIT AS BEGIN "
            "IF (EXISTS(SELECT 1 FROM T WHERE AMOUNT > (SELECT COMMIT_LIMIT FROM LIMITS))) "
            "THEN EXCEPTION E_OVER_LIMIT; END"});
        store.database().attach(db.path());
    }
    // The committed amount of a row as the second attachment sees it; -1 when there is none.
    qint64 amount(int key) {
        fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
        fb::Statement q(tr, "SELECT AMOUNT FROM T WHERE PRKEY=:PRKEY");
        q.param("PRKEY").setInteger(key);
        q.execute();
        return q.fetch() ? q.field(0).asInteger() : -1;
    }
};

// The user data of user 1 as another connection sees it.
QString storedUserData(TestDatabase& db) {
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, "SELECT DATA1 FROM USERS WHERE PRKEY=1");
    q.execute();
    return q.fetch() ? q.field(0).asString() : QStringLiteral("<no row>");
}

// One value of a one-row query on the book a backup restores.
QString restoredValue(const QString& backup, const QString& folder, const QString& sql) {
    const QString restored = folder + QStringLiteral("/restored.fdb");
    QFile::remove(restored);
    fb::services::restore(backup, restored);
    fb::Attachment database;
    database.attach(restored);
    fb::Transaction tr(database, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, sql);
    q.execute();
    const QString value = q.fetch() ? q.field(0).asString() : QStringLiteral("<no row>");
    q.close();
    tr.commit();
    return value;
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// The files of a folder, hidden ones included.
QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestDataStore : public QObject {
    Q_OBJECT
private slots:
    void keysFieldsAndUserData() {
        Book book;
        QCOMPARE(&DataStore::instance(), &book.store);
        QCOMPARE(book.store.newKey("PARTS"), 10001);
        QCOMPARE(book.store.newKey("PARTS"), 10002);
        QCOMPARE(book.store.fieldValue("PARTS", "LNAM", 0), QString());
        QCOMPARE(book.store.fieldValue("PARTS", "LNAM", 777), QString());
        book.store.setUserKey(1);
        book.store.setUserData1(QString::fromUtf8("Ключ=значение\x01"));
        book.store.saveUserData();
        book.store.setUserData1(QString());
        book.store.loadUserData();
        QCOMPARE(book.store.userData1(), QString::fromUtf8("Ключ=значение\x01"));
    }

    void optionsReadBackAsWritten() {
        Book book;
        QVERIFY(DataStore::instance().options().reservBackupFlag());
        QCOMPARE(DataStore::instance().options().storeCurrency(), QStringLiteral("грн."));
        QCOMPARE(DataStore::instance().options().lookupDelay(), 500);
        DataStore::instance().options().setOption("StoreCapt", QStringLiteral("Касса №1"));
        DataStore::instance().options().setOption("ReservBackupFlag", "0");
        DataStore::instance().options().setOption("KibitzDelay", "abc");
        QCOMPARE(DataStore::instance().options().storeCaption(), QStringLiteral("Касса №1"));
        QVERIFY(!DataStore::instance().options().reservBackupFlag());
        QCOMPARE(DataStore::instance().options().lookupDelay(), 500);
    }

    // converts: whether the text is a Boolean at all; a text that is none gives the fallback.
    void flagTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("converts");
        QTest::newRow("-1") << "-1" << true << true;
        QTest::newRow("0") << "0" << false << true;
        QTest::newRow("1") << "1" << true << true;
        QTest::newRow("false") << "false" << false << true;
        QTest::newRow("True") << "True" << true << true;
        QTest::newRow("TRUE in blanks") << " TRUE " << true << true;
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("junk") << "n" << true << false;
        QTest::newRow("0.0") << "0.0" << false << true;
        QTest::newRow("0,0") << "0,0" << false << true;
        QTest::newRow("-0.00 in blanks") << " -0.00 " << false << true;
        QTest::newRow("zero with exponent") << "0E5" << false << true;
        QTest::newRow("fraction only") << ".0" << false << true;
        QTest::newRow("0.5") << "0.5" << true << true;
        QTest::newRow("-1.0") << "-1.0" << true << true;
        QTest::newRow("small exponent") << "1e-3" << true << true;
        QTest::newRow("plus sign") << "+0" << false << true;
        QTest::newRow("two separators") << "0.0.0" << true << false;
        QTest::newRow("lone separator") << "." << true << false;
        QTest::newRow("no number words") << "nan" << true << false;
        QTest::newRow("infinity") << "inf" << true << false;
        QTest::newRow("hexadecimal") << "0x0" << true << false;
        QTest::newRow("Yes") << "Yes" << true << false;
    }
    void flagTexts() {
        QFETCH(QString, text);
        QFETCH(bool, flag);
        QFETCH(bool, converts);
        QCOMPARE(BookOptions::textToFlag(text), flag);
        QCOMPARE(BookOptions::textToFlag(text, true), converts ? flag : true);
        QCOMPARE(BookOptions::textToFlag(text, false), converts ? flag : false);
    }

    // A save that fails in the database, at the statement or at the commit, says so, leaves
    // nothing behind in the database (no row stays locked) and keeps the edit or the new row,
    // so that the same save goes through once the cause is gone.
    void failedSaveKeepsTheEdit_data() {
        QTest::addColumn<bool>("insert");
        QTest::addColumn<QString>("block");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<QString>("release");
        for (const bool insert : {false, true}) {
            const char* row = insert ? "new row, " : "edit, ";
            QTest::addRow("%scheck constraint", row)
                << insert << "UPDATE LIMITS SET CHECK_LIMIT=5" << false
                << "UPDATE LIMITS SET CHECK_LIMIT=100";
            QTest::addRow("%scommit trigger", row) << insert << "UPDATE LIMITS SET COMMIT_LIMIT=5"
                                                   << false << "UPDATE LIMITS SET COMMIT_LIMIT=100";
        }
        QTest::newRow("edit, lock conflict")
            << false << "UPDATE T SET AMOUNT=2 WHERE PRKEY=1" << true << "";
        QTest::newRow("new row, key held by another insert")
            << true << "INSERT INTO T VALUES (2, 2)" << true << "";
    }
    void failedSaveKeepsTheEdit() {
        QFETCH(bool, insert);
        QFETCH(QString, block);
        QFETCH(bool, hold);
        QFETCH(QString, release);
        SaveBook book;
        StoreNotices dialogs;
        fb::Transaction blocker(book.db.attachment());
        fb::Statement(blocker, block).execute();
        if (!hold)
            blocker.commit();

        const int key = insert ? 2 : 1;
        const std::unique_ptr<fb::DataSet> ds = book.store.createQuery();
        ds->setSQL("SELECT PRKEY, AMOUNT FROM T WHERE PRKEY=1");
        ds->setModifySQL("UPDATE T SET AMOUNT=:AMOUNT WHERE PRKEY=:OLD_PRKEY");
        ds->setInsertSQL("INSERT INTO T (PRKEY, AMOUNT) VALUES (:PRKEY, :AMOUNT)");
        ds->open();
        if (insert) {
            ds->insert();
            ds->field("PRKEY").setAsInteger(key);
        } else {
            ds->edit();
        }
        ds->field("AMOUNT").setAsInteger(20);
        QVERIFY_THROWS_EXCEPTION(fb::Error, book.store.postAndCommit(*ds));
        QCOMPARE(dialogs.texts, QStringList{"Не могу сохранить введенные данные!"});
        QVERIFY(ds->updatesPending());
        QCOMPARE(ds->field("PRKEY").asInteger(), key);
        QCOMPARE(ds->field("AMOUNT").asInteger(), 20);

        if (hold)
            blocker.rollback();
        else
            book.db.exec(release);
        // The row is free: the failed save holds no lock on it.
        fb::Transaction probe(book.db.attachment());
        fb::Statement(probe, insert ? "INSERT INTO T VALUES (2, 0)"
                                    : "UPDATE T SET AMOUNT=AMOUNT WHERE PRKEY=1")
            .execute();
        probe.rollback();
        QCOMPARE(book.amount(key), insert ? -1 : 1);

        book.store.postAndCommit(*ds);
        QCOMPARE(dialogs.texts.size(), 1);
        QVERIFY(!ds->updatesPending());
        QCOMPARE(book.amount(key), 20);
        QCOMPARE(book.amount(1), insert ? 1 : 20);
    }

    void backupRules_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("age");
        QTest::addColumn<bool>("due");
        const double ms = 1.0 / datetime::kMsPerDay;
        QTest::newRow("reserv fresh") << 0 << 0.0 << true;
        QTest::newRow("yesterday under a day") << 1 << 1.0 - ms << false;
        QTest::newRow("yesterday a whole day") << 1 << 1.0 << true;
        QTest::newRow("week six days") << 2 << 6.99 << false;
        QTest::newRow("week seven days") << 2 << 7.0 << true;
    }
    void backupRules() {
        QFETCH(int, kind);
        QFETCH(double, age);
        QFETCH(bool, due);
        const DateTime now = datetime::encodeDate(2026, 3, 1) + 0.5;
        QCOMPARE(DataStore::backupDue(BackupKind(kind), now - age, now), due);
    }

    void backupIsMadeAndRenewedByItsRule() {
        Book book;
        StoreNotices errors;
        for (int kind = 0; kind <= 2; ++kind)
            book.store.makeBackup(BackupKind(kind), "", false);
        for (int kind = 0; kind <= 2; ++kind)
            QVERIFY2(QFileInfo(book.backup(kind)).size() > 0, qPrintable(book.backup(kind)));
        QVERIFY(errors.captioned().isEmpty());
        // A fresh "Yesterday" file is kept; "Reserv" is always renewed.
        QFile::resize(book.backup(1), 1);
        QFile::resize(book.backup(0), 1);
        book.store.makeBackup(BackupKind::Yesterday, "", false);
        book.store.makeBackup(BackupKind::Reserv, "", false);
        QCOMPARE(QFileInfo(book.backup(1)).size(), 1);
        QVERIFY(QFileInfo(book.backup(0)).size() > 1);
    }

    // A backup that fails keeps the last good copy under its name and leaves nothing beside it.
    void failedBackupKeepsTheLastGoodCopy_data() {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no database") << false << "kaltro.fdb";
        QTest::newRow("full disk") << true << "free disk space exhausted";
    }
    void failedBackupKeepsTheLastGoodCopy() {
        QFETCH(bool, fullDisk);
        QFETCH(QString, reason);
        if (fullDisk && !SmallFileSystem::unavailable().isEmpty())
            QSKIP(qPrintable(SmallFileSystem::unavailable()));
        Book book;
        StoreNotices errors;
        book.store.makeBackup(BackupKind::Reserv, "", true);
        const QByteArray good = readFile(book.backup(0));
        QVERIFY(good.size() > 0);
        const QString reserv = book.db.filePath("Reserv");
        QString database = book.db.path();
        std::unique_ptr<SmallFileSystem> disk;
        if (fullDisk) {
            // The backups' folder on a disk without room.
            disk = std::make_unique<SmallFileSystem>(256 * 1024);
            const QString folder = disk->filePath("Reserv");
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::rename(book.backup(0), folder + "/test.gbk"));
            QVERIFY(QDir().rmdir(reserv));
            QVERIFY(QFile::link(folder, reserv));
            disk->fill();
        } else {
            // A file that is no database: the service fails.
            database = book.db.filePath("kaltro.fdb");
            writeFile(database, "no database");
            QVERIFY(QFile::rename(book.backup(0), reserv + "/kaltro.gbk"));
        }
        book.store.makeBackup(BackupKind::Reserv, database, false);
        const QString target = DataStore::backupPath(database, "Reserv");
        QCOMPARE(readFile(target), good);
        QCOMPARE(filesIn(reserv), QStringList{QFileInfo(target).fileName()});
        QCOMPARE(errors.captioned().size(), 1);
        QVERIFY(errors.captioned()[0].startsWith(
            QStringLiteral("Ошибка архивации: Не удалось создать архив базы данных! (Reserv)")));
        QVERIFY2(errors.captioned()[0].contains(reason), qPrintable(errors.captioned()[0]));
    }

    // Two copies of the program back one book up into one file at the same time: neither takes
    // the other's file for its own, both succeed, and the backup is whole. The half-written file
    // of a third copy still at work, and a file of another name, stay as they are.
    void backupsOfTwoCopiesDoNotMeet() {
        Book book;
        StoreNotices errors;
        book.store.makeBackup(BackupKind::Reserv, "", false);
        const QString stranger = book.db.filePath("Reserv/test.gbk.tmp");
        writeFile(stranger, "another copy, half-written");
        const PartWriter third(PART_WRITER, book.backup(0));
        QVERIFY(!third.part().isEmpty());
        QProcess copy;
        copy.start(QStringLiteral(STORE_COPY),
                   {"backup", book.db.filePath("copy.ini"), book.db.path(), "8"});
        QVERIFY(copy.waitForStarted());
        int made = 0;
        while (copy.state() != QProcess::NotRunning || made < 8) {
            book.store.makeBackup(BackupKind::Reserv, "", false);
            ++made;
            copy.waitForFinished(0);
        }
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        // Its messages, had it any, went to its error output and made it end with 1.
        QVERIFY2(copy.exitCode() == 0, copy.readAllStandardError().constData());
        QCOMPARE(errors.captioned(), QStringList{});
        QCOMPARE(readFile(stranger), QByteArray("another copy, half-written"));
        QCOMPARE(readFile(third.part()), QByteArray("half-written"));
        QCOMPARE(filesIn(book.db.filePath("Reserv")).size(), 3);
        QCOMPARE(restoredValue(book.backup(0), book.db.folder(), "SELECT COUNT(*) FROM PARTS"),
                 QStringLiteral("1"));
    }

    void iniSwitchStopsBackups() {
        Book book;
        book.store.ini().writeInteger("DB", "Backup", 0);
        book.store.makeBackup(BackupKind::Reserv, "", false);
        QVERIFY(!QFile::exists(book.backup(0)));
    }

    void closeMakesTheChosenBackups() {
        Book book;
        DataStore::instance().options().setOption("ReservBackupFlag", "-1");
        DataStore::instance().options().setOption("YesterdayBackupFlag", "0");
        DataStore::instance().options().setOption("WeekBackupFlag", "0");
        book.store.closeAndBackup();
        QVERIFY(!book.store.database().isAttached());
        QVERIFY(QFile::exists(book.backup(0)));
        QVERIFY(!QFile::exists(book.backup(1)));
        QVERIFY(!QFile::exists(book.backup(2)));
    }

    // A copy killed while it made a backup left its file beside it: the next backup of that
    // kind removes it, whether it renews the backup or not, and keeps the file of a copy still
    // at work.
    void theNextBackupRemovesAKilledCopysFile_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("renewed");
        QTest::newRow("Reserv") << 0 << true << true;
        QTest::newRow("Yesterday, not due") << 1 << true << false;
        QTest::newRow("Week, the first") << 2 << false << true;
    }
    void theNextBackupRemovesAKilledCopysFile() {
        QFETCH(int, kind);
        QFETCH(bool, existing);
        QFETCH(bool, renewed);
        Book book;
        StoreNotices errors;
        const QString target = book.backup(kind);
        const QString folder = QFileInfo(target).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        if (existing)
            writeFile(target, "fresh");
        const PartWriter running(PART_WRITER, target);
        PartWriter killed(PART_WRITER, target);
        QVERIFY(!running.part().isEmpty() && !killed.part().isEmpty());
        QVERIFY(killed.kill());
        QVERIFY(QFileInfo::exists(killed.part()));

        book.store.makeBackup(BackupKind(kind), "", false);

        QCOMPARE(errors.captioned(), QStringList{});
        QVERIFY(!QFileInfo::exists(killed.part()));
        QCOMPARE(readFile(running.part()), QByteArray("half-written"));
        QCOMPARE(filesIn(folder).size(), 2);
        QCOMPARE(readFile(target) != "fresh", renewed);
    }

    // At start, what copies killed while they made one of the chosen book's backups left goes,
    // though the backups that are there are not renewed.
    void theStartRemovesWhatKilledCopiesLeft() {
        Book book;
        StoreNotices errors;
        QStringList left;
        for (int kind = 0; kind <= 2; ++kind) {
            QVERIFY(QDir().mkpath(QFileInfo(book.backup(kind)).absolutePath()));
            writeFile(book.backup(kind), "fresh");
            PartWriter killed(PART_WRITER, book.backup(kind));
            QVERIFY(!killed.part().isEmpty() && killed.kill());
            left << killed.part();
        }
        book.store.chooseBook(ChosenBook(0, book.db.path()));

        book.store.makeFirstBackups();

        for (const QString& part : left)
            QVERIFY2(!QFileInfo::exists(part), qPrintable(part));
        for (int kind = 0; kind <= 2; ++kind) {
            QCOMPARE(readFile(book.backup(kind)), QByteArray("fresh"));
            QCOMPARE(filesIn(QFileInfo(book.backup(kind)).absolutePath()).size(), 1);
        }
        QCOMPARE(errors.captioned(), QStringList{});
    }

    // The same user leaves two copies of the program at once: the second save waits for the
    // first (no message, no conflict) and writes over what the first stored only what it
    // changed itself, so both layouts stay.
    void theSameUserLeavingTwoCopiesKeepsBothLayouts_data() {
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("stored");
        QTest::newRow("the other copy saved first")
            << "saved" << QString::fromUtf8("Сетка=1\x01Другая=2\x01Своя=3\x01");
        QTest::newRow("the other copy is saving and commits")
            << "commits" << QString::fromUtf8("Сетка=1\x01Другая=2\x01Своя=3\x01");
        QTest::newRow("the other copy is saving and rolls back")
            << "rolls back" << QString::fromUtf8("Сетка=1\x01Своя=3\x01");
    }
    void theSameUserLeavingTwoCopiesKeepsBothLayouts() {
        QFETCH(QString, other);
        QFETCH(QString, stored);
        Book book;
        book.db.attachment().attach(book.db.path());
        book.store.setUserKey(1);
        book.store.setUserData1(QString::fromUtf8("Сетка=1\x01"));
        book.store.saveUserData();
        book.store.loadUserData();
        const QString otherData = QString::fromUtf8("Сетка=1\x01Другая=2\x01");
        std::unique_ptr<fb::Transaction> saving;
        if (other == "saved") {
            DataStore copy(book.db.filePath("copy.ini"));
            copy.database().attach(book.db.path());
            copy.setUserKey(1);
            copy.loadUserData();
            copy.setUserData1(otherData);
            copy.saveUserData();
        } else {
            saving = std::make_unique<fb::Transaction>(book.db.attachment());
            fb::Statement update(*saving, "UPDATE USERS SET DATA1=:DATA1 WHERE PRKEY=1");
            update.param("DATA1").setString(otherData);
            update.execute();
        }
        std::thread ending([&] {
            if (!saving)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (other == "commits")
                saving->commit();
            else
                saving->rollback();
        });
        book.store.setUserData1(book.store.userData1() + QString::fromUtf8("Своя=3\x01"));
        QString failure;
        try {
            book.store.saveUserData();
        } catch (const Exception& e) {
            failure = e.message();
        }
        ending.join();
        QCOMPARE(failure, QString());
        QCOMPARE(storedUserData(book.db), stored);
    }

    // A backup is as private as the book it holds, and so is an older backup kept by its rule.
    void backupsTakeTheBooksPermissions_data() {
        QTest::addColumn<int>("bookMode");
        QTest::newRow("owner only") << 0600;
        QTest::newRow("group reads") << 0640;
        QTest::newRow("group writes") << 0660;
        QTest::newRow("everybody reads") << 0644;
    }
    void backupsTakeTheBooksPermissions() {
        QFETCH(int, bookMode);
        Book book;
        StoreNotices errors;
        QCOMPARE(::chmod(QFile::encodeName(book.db.path()).constData(), mode_t(bookMode)), 0);
        // A "Yesterday" backup of today, world-readable as older programs left it.
        const QString kept = book.backup(1);
        QVERIFY(QDir().mkpath(QFileInfo(kept).absolutePath()));
        writeFile(kept, "kept");
        QCOMPARE(::chmod(QFile::encodeName(kept).constData(), 0666), 0);
        for (BackupKind kind : kBackupKinds)
            book.store.makeBackup(kind, "", false);
        QCOMPARE(errors.captioned(), QStringList{});
        QVERIFY(QFileInfo(book.backup(0)).size() > 0);
        QCOMPARE(int(modeOf(book.backup(0))), bookMode);
        QCOMPARE(int(modeOf(book.backup(2))), bookMode);
        QCOMPARE(readFile(kept), QByteArray("kept"));
        QCOMPARE(int(modeOf(kept)), bookMode);
    }

    // The book's file is removed or replaced while the book is open: the saves go on into the
    // open book, and its backup, at exit whatever the options say or whenever one is made, is
    // made from the open book; the user is told that the file is gone and where the backup is.
    void aBookWhoseFileIsGoneIsBackedUpFromTheOpenBook_data() {
        QTest::addColumn<QString>("gone");
        QTest::addColumn<bool>("atExit");
        for (const char* gone : {"removed", "renamed away", "replaced by another file"}) {
            QTest::addRow("%s, at exit", gone) << gone << true;
            QTest::addRow("%s, a backup while open", gone) << gone << false;
        }
    }
    void aBookWhoseFileIsGoneIsBackedUpFromTheOpenBook() {
        QFETCH(QString, gone);
        QFETCH(bool, atExit);
        Book book;
        StoreNotices errors;
        book.store.options().setOption("ReservBackupFlag", "0");
        book.store.options().setOption("YesterdayBackupFlag", "0");
        book.store.options().setOption("WeekBackupFlag", "0");
        TestDatabase other(QStringLiteral("other.fdb"));
        other.attachment().detach();
        const QString path = book.db.path();
        if (gone == "removed")
            QVERIFY(QFile::remove(path));
        else if (gone == "renamed away")
            QVERIFY(QFile::rename(path, path + ".moved"));
        else
            replaceFile(other.path(), path);
        const QByteArray atPath = readFile(path);
        // Saved after the file went: only the open book holds it.
        book.store.setUserKey(1);
        book.store.setUserData1(QStringLiteral("Сохранено=1\x01"));
        book.store.saveUserData();

        if (atExit)
            book.store.closeAndBackup();
        else
            book.store.makeBackup(BackupKind::Reserv, "", false);

        QCOMPARE(book.store.database().isAttached(), !atExit);
        const QString backup = book.backup(0);
        QCOMPARE(restoredValue(backup, book.db.folder(), "SELECT DATA1 FROM USERS WHERE PRKEY=1"),
                 QStringLiteral("Сохранено=1\x01"));
        QCOMPARE(filesIn(QFileInfo(backup).absolutePath()), QStringList{"test.gbk"});
        QCOMPARE(readFile(path), atPath);
        QCOMPARE(errors.captioned().size(), 1);
        QVERIFY2(errors.captioned()[0].startsWith(
                     QStringLiteral("Архивация: Файл базы данных \"%1\" удален или заменен "
                                    "другим файлом")
                         .arg(path)),
                 qPrintable(errors.captioned()[0]));
        QVERIFY2(errors.captioned()[0].contains(backup), qPrintable(errors.captioned()[0]));
    }
};

QTEST_MAIN(TestDataStore)
#include "test_data_store.moc"
