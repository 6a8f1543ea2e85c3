#include "platform/firebird/error.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "tests/support/platform/test_database.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <sys/stat.h>

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
    void unfinishedServiceRunsOutOfTime();
    void answersThatAskForMore_data();
    void answersThatAskForMore();
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

void TestFbServices::unfinishedServiceRunsOutOfTime() {
    TestDatabase db;
    fill(db);
    // Until someone reads the pipe the service cannot even open its backup file.
    const QString pipe = db.filePath("pipe.gbk");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    try {
        fb::services::backup(db.path(), pipe, std::chrono::milliseconds(100));
        QFAIL("the backup reported success");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains(QString::fromUtf8("не завершила работу за 0.1 с")),
                 qPrintable(e.message()));
    }
    // The service went on: reading the pipe lets it finish a whole backup.
    QFile reader(pipe);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QFile copy(db.filePath("copy.gbk"));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write(reader.readAll());
    copy.close();
    const QString restored = db.filePath("restored.fdb");
    fb::services::restore(copy.fileName(), restored);
    fb::Attachment attachment;
    attachment.attach(restored);
    QCOMPARE(rows(attachment), rows(db.attachment()));
}

void TestFbServices::answersThatAskForMore_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("meaning");
    const auto answer = [](std::initializer_list<int> bytes) {
        QByteArray result;
        for (int b : bytes)
            result.append(char(b));
        return result.leftJustified(64, char(isc_info_end));
    };
    QTest::newRow("output ended") << answer({isc_info_svc_line, 0, 0, isc_info_end}) << "finished";
    QTest::newRow("a line") << answer({isc_info_svc_line, 2, 0, 'o', 'k', isc_info_end}) << "more";
    QTest::newRow("cut short") << answer({isc_info_truncated, isc_info_end}) << "more";
    QTest::newRow("no output within the wait")
        << answer({isc_info_svc_line, 0, 0, isc_info_svc_timeout, isc_info_end}) << "more";
    QTest::newRow("no output yet")
        << answer({isc_info_svc_line, 0, 0, isc_info_data_not_ready, isc_info_end}) << "more";
    QTest::newRow("no line item") << answer({isc_info_end}) << "refused";
}

void TestFbServices::answersThatAskForMore() {
    QFETCH(QByteArray, answer);
    QFETCH(QString, meaning);
    QString result;
    try {
        result = fb::services::serviceFinished(answer.constData(), int(answer.size())) ? "finished"
                                                                                       : "more";
    } catch (const fb::Error&) {
        result = "refused";
    }
    QCOMPARE(result, meaning);
}

QTEST_GUILESS_MAIN(TestFbServices)
#include "test_services.moc"
