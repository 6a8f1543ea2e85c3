#include "platform/firebird/error.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "tests/support/platform/test_database.h"

#include <QFileInfo>
#include <QTest>

using testsupport::TestDatabase;

namespace {

QByteArray templateBytes() {
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.append(static_cast<char>(i % 256));
    return bytes;
}

void fill(TestDatabase& db) {
    db.exec("CREATE TABLE T (PRKEY INTEGER NOT NULL, NAME VARCHAR(100), "
            "DATA BLOB SUB_TYPE 1 SEGMENT SIZE 80)");
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY, NAME, DATA) VALUES (:PRKEY, :NAME, :DATA)");
    for (int key = 1; key <= 3; ++key) {
        insert.param("PRKEY").setInteger(key);
        insert.param("NAME").setString(QString::fromUtf8("Строка %1").arg(key));
        insert.param("DATA").setBytes(templateBytes());
        insert.execute();
    }
    tr.commit();
}

// The rows as one text, blobs compared byte for byte.
QStringList rows(fb::Attachment& attachment) {
    fb::Transaction tr(attachment, fb::TransactionKind::ReadOnly);
    fb::Statement select(tr, "SELECT PRKEY, NAME, DATA FROM T ORDER BY PRKEY");
    select.execute();
    QStringList result;
    while (select.fetch())
        result << select.field(0).asString() + "|" + select.field(1).asString() + "|" +
                      (select.field(2).asBytes() == templateBytes() ? "same" : "different");
    return result;
}

} // namespace

class TestFbServices : public QObject {
    Q_OBJECT

private slots:
    void backupRestoresIntoNewFile();
    void restoreReplacesExistingFile();
    void failedBackupRaises_data();
    void failedBackupRaises();
    void failedRestoreRaises();
};

void TestFbServices::backupRestoresIntoNewFile() {
    TestDatabase db;
    fill(db);
    const QStringList expected = rows(db.attachment());
    QCOMPARE(expected.size(), 3);
    const QString backup = db.filePath("copy.gbk");
    fb::services::backup(db.path(), backup);
    QVERIFY(QFileInfo(backup).size() > 0);

    const QString restored = db.filePath("restored.fdb");
    fb::services::restore(backup, restored);
    fb::Attachment copy;
    copy.attach(restored);
    QCOMPARE(rows(copy), expected);
}

void TestFbServices::restoreReplacesExistingFile() {
    TestDatabase db;
    fill(db);
    const QStringList expected = rows(db.attachment());
    const QString backup = db.filePath("book.gbk");
    fb::services::backup(db.path(), backup);
    db.exec("DELETE FROM T");
    QVERIFY(rows(db.attachment()).isEmpty());

    // In use, the file is not replaced.
    QVERIFY_THROWS_EXCEPTION(fb::Error, fb::services::restore(backup, db.path()));
    db.attachment().detach();
    fb::services::restore(backup, db.path());
    db.attachment().attach(db.path());
    QCOMPARE(rows(db.attachment()), expected);
}

void TestFbServices::failedBackupRaises_data() {
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("backup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("impossible backup path") << ""
                                            << "/nonexistent-folder/sub/book.gbk"
                                            << "/nonexistent-folder/sub/book.gbk";
    QTest::newRow("missing database") << "missing.fdb"
                                      << "missing.gbk"
                                      << "missing.fdb";
}

void TestFbServices::failedBackupRaises() {
    QFETCH(QString, database);
    QFETCH(QString, backup);
    QFETCH(QString, reason);
    TestDatabase db;
    const QString source = database.isEmpty() ? db.path() : db.filePath(database);
    const QString target = backup.startsWith('/') ? backup : db.filePath(backup);
    try {
        fb::services::backup(source, target);
        QFAIL("the backup reported success");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QVERIFY(!QFileInfo::exists(target));
}

void TestFbServices::failedRestoreRaises() {
    TestDatabase db;
    const QString target = db.filePath("never.fdb");
    QVERIFY_THROWS_EXCEPTION(fb::Error, fb::services::restore(db.filePath("missing.gbk"), target));
    QVERIFY(!QFileInfo::exists(target));
}

QTEST_GUILESS_MAIN(TestFbServices)
#include "test_services.moc"
