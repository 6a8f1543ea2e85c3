#include "core/cp1251.h"
#include "platform/firebird/error.h"
#include "platform/firebird/param_block.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/timestamp.h"
#include "platform/firebird/transaction.h"
#include "tests/support/core/small_file_system.h"
#include "tests/support/platform/test_database.h"

#include <QFileInfo>
#include <QTest>
#include <memory>
#include <type_traits>

using testsupport::SmallFileSystem;
using testsupport::TestDatabase;

// Handles of the layer are owned by one object at a time: never copied, moved without throwing.
template <typename T>
constexpr bool kMoveOnly =
    std::is_final_v<T> && !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
    std::is_nothrow_move_constructible_v<T> && std::is_nothrow_move_assignable_v<T>;
static_assert(kMoveOnly<fb::Attachment>);
static_assert(kMoveOnly<fb::Transaction>);
static_assert(kMoveOnly<fb::Statement>);
static_assert(kMoveOnly<fb::Param>);
static_assert(kMoveOnly<fb::Field>);
static_assert(kMoveOnly<fb::ParamBlock>);

namespace {

// A table with one column of every kind the program's schema uses.
const char kTable[] = "CREATE TABLE T (PRKEY INTEGER NOT NULL, TYP SMALLINT, NAME VARCHAR(300), "
                      "CODE CHAR(4), SUM1 NUMERIC(15,4), DAT DATE, "
                      "ETC BLOB SUB_TYPE 0 SEGMENT SIZE 80, DATA BLOB SUB_TYPE 1 SEGMENT SIZE 80)";

QByteArray allBytes() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

// Every character Windows-1251 holds, NUL aside.
QString allCharacters() {
    return cp1251::decode(allBytes().mid(1));
}

void insertRow(fb::Transaction& tr, int key, const QString& name) {
    fb::Statement insert(tr, "INSERT INTO T (PRKEY, NAME) VALUES (:PRKEY, :NAME)");
    insert.param("PRKEY").setInteger(key);
    insert.param("NAME").setString(name);
    insert.execute();
}

int countRows(fb::Transaction& tr) {
    fb::Statement count(tr, "SELECT COUNT(*) FROM T");
    count.execute();
    count.fetch();
    return int(count.field(0).asInteger());
}

} // namespace

class TestFbDatabase : public QObject {
    Q_OBJECT

private slots:
    void createsDialectOneWin1251Database();
    void textRoundTripsThroughVarcharAndTextBlob();
    void everyByteRoundTripsThroughBlobs_data();
    void everyByteRoundTripsThroughBlobs();
    void characterOutsideWin1251IsRefused();
    void dateTimeKeepsMilliseconds_data();
    void dateTimeKeepsMilliseconds();
    void numericIsRoundedToFourDecimals_data();
    void numericIsRoundedToFourDecimals();
    void fieldsByNameAndIndex();
    void likeWithQuestionMarkAndRepeatedName();
    void triggerBodyThroughUntouchedMode();
    void userExceptionCarriesItsOwnText();
    void engineErrorCarriesCodesAndText();
    void errorsTellConflictsFromDuplicates();
    void onlyALostConnectionCountsAsLost_data();
    void onlyALostConnectionCountsAsLost();
    void lostConnectionCodes_data();
    void lostConnectionCodes();
    void commitMakesInsertVisibleToOtherTransaction();
    void unfinishedTransactionIsRolledBack();
    void retainingKeepsTransactionActive();
    void failedDetachKeepsTheConnection();
    void movesTakeTransactionsAndStatementsAlong();
    void whatOutlivesItsOwnerThrows();
    void wrongNamesAreListErrors();
    void generatorHandsOutKeys();
};

void TestFbDatabase::createsDialectOneWin1251Database() {
    // Quotes and Cyrillic in the path: it goes to the library as it is, never into SQL text.
    TestDatabase db(QString::fromUtf8("книга 'кассы' \"1\".fdb"));
    QVERIFY(QFileInfo::exists(db.path()));
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement info(tr, "SELECT M.MON$SQL_DIALECT, R.RDB$CHARACTER_SET_NAME, "
                           "CURRENT_CONNECTION, \"dialect 1 literal\" "
                           "FROM MON$DATABASE M CROSS JOIN RDB$DATABASE R");
    info.execute();
    QVERIFY(info.fetch());
    QCOMPARE(info.field(0).asInteger(), 1);
    QCOMPARE(info.field(1).asString().trimmed(), "WIN1251");
    QCOMPARE(info.field(3).asString(), "dialect 1 literal");
    fb::Statement charset(tr, "SELECT C.RDB$CHARACTER_SET_NAME FROM MON$ATTACHMENTS A "
                              "JOIN RDB$CHARACTER_SETS C ON C.RDB$CHARACTER_SET_ID = "
                              "A.MON$CHARACTER_SET_ID WHERE A.MON$ATTACHMENT_ID = :ID");
    charset.param("ID").setInteger(info.field(2).asInteger());
    charset.execute();
    QVERIFY(charset.fetch());
    QCOMPARE(charset.field(0).asString().trimmed(), "WIN1251");

    fb::Attachment second;
    QVERIFY_THROWS_EXCEPTION(fb::Error, second.create(db.path())); // never overwrites a book
    QVERIFY(!second.isAttached());
    second.attach(db.path());
    QVERIFY(second.isAttached());
}

void TestFbDatabase::textRoundTripsThroughVarcharAndTextBlob() {
    TestDatabase db;
    db.exec(kTable);
    const QString text = allCharacters();
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY, NAME, DATA) VALUES (1, :TEXT, :TEXT)");
    insert.param("TEXT").setString(text);
    insert.execute();
    tr.commit();

    fb::Transaction reader(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement select(reader, "SELECT NAME, DATA FROM T WHERE NAME = :TEXT");
    select.param("TEXT").setString(text);
    select.execute();
    QVERIFY(select.fetch());
    QCOMPARE(select.field("NAME").asString(), text);
    QCOMPARE(select.field("DATA").asString(), text);
    QCOMPARE(select.field("DATA").asBytes(), allBytes().mid(1));
    QVERIFY(!select.fetch());
}

void TestFbDatabase::everyByteRoundTripsThroughBlobs_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QByteArray>("bytes");
    QByteArray large;
    for (int i = 0; i < 200000; ++i)
        large.append(static_cast<char>((i * 7) % 256));
    QTest::newRow("sub-type 0") << "ETC" << allBytes();
    QTest::newRow("sub-type 1") << "DATA" << allBytes();
    QTest::newRow("sub-type 1, many segments") << "DATA" << large;
    QTest::newRow("empty") << "DATA" << QByteArray("");
}

void TestFbDatabase::everyByteRoundTripsThroughBlobs() {
    QFETCH(QString, column);
    QFETCH(QByteArray, bytes);
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, QString("INSERT INTO T (PRKEY, %1) VALUES (1, :V)").arg(column));
    insert.param("V").setBytes(bytes);
    insert.execute();
    tr.commit();

    fb::Statement select(tr, QString("SELECT %1 FROM T").arg(column));
    select.execute();
    QVERIFY(select.fetch());
    QVERIFY(!select.field(0).isNull());
    QCOMPARE(select.field(0).type(), fb::FieldType::Blob);
    QCOMPARE(select.field(0).asBytes(), bytes);
}

void TestFbDatabase::characterOutsideWin1251IsRefused() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY, NAME) VALUES (1, :NAME)");
    try {
        insert.param("NAME").setString(QString::fromUtf8("Касса \u4e2d"));
        QFAIL("the character was accepted");
    } catch (const Exception& e) {
        QVERIFY2(e.message().contains("NAME") && e.message().contains("Windows-1251") &&
                     e.message().contains(QString::fromUtf8("\u4e2d")),
                 qPrintable(e.message()));
    }
    // The same goes for the statement text itself.
    fb::Statement other(tr);
    QVERIFY_THROWS_EXCEPTION(Exception,
                             other.prepare(QString::fromUtf8("SELECT '\u2713' FROM RDB$DATABASE")));
    insert.execute(); // the parameter stayed null
    QCOMPARE(countRows(tr), 1);
    fb::Statement select(tr, "SELECT NAME FROM T");
    select.execute();
    QVERIFY(select.fetch());
    QVERIFY(select.field(0).isNull());
}

void TestFbDatabase::dateTimeKeepsMilliseconds_data() {
    QTest::addColumn<QDateTime>("moment");
    QTest::newRow("end of day") << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999));
    QTest::newRow("first millisecond") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0, 1));
    QTest::newRow("date only") << QDateTime(QDate(1999, 12, 31), QTime(0, 0));
    QTest::newRow("before 1899") << QDateTime(QDate(1850, 6, 15), QTime(12, 30, 0, 500));
}

void TestFbDatabase::dateTimeKeepsMilliseconds() {
    QFETCH(QDateTime, moment);
    const DateTime value = datetime::encode(moment);
    const ISC_TIMESTAMP stamp = fb::timestamp::fromDateTime(value);
    QCOMPARE(qint64(stamp.timestamp_time), qint64(moment.time().msecsSinceStartOfDay()) * 10);
    QCOMPARE(fb::timestamp::toDateTime(stamp), value);

    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY, DAT) VALUES (1, :DAT)");
    insert.param("DAT").setDateTime(value);
    insert.execute();
    // The server compares what it stored with what we send: nothing was lost on the way.
    fb::Statement select(tr, "SELECT DAT, EXTRACT(MILLISECOND FROM DAT) FROM T WHERE DAT = :DAT");
    select.param("DAT").setDateTime(value);
    select.execute();
    QVERIFY(select.fetch());
    QCOMPARE(select.field(0).asDateTime(), value);
    QCOMPARE(datetime::decode(select.field(0).asDateTime()), moment);
    QCOMPARE(select.field(1).asFloat(), double(moment.time().msec()));
}

void TestFbDatabase::numericIsRoundedToFourDecimals_data() {
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("text");
    QTest::newRow("five decimals") << 1.23456 << 1.2346 << "1.2346";
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << 0.3 << "0.3";
    QTest::newRow("large amount") << 12345678901.23449 << 12345678901.2345 << "12345678901.2345";
    QTest::newRow("negative") << -5.55554 << -5.5555 << "-5.5555";
}

void TestFbDatabase::numericIsRoundedToFourDecimals() {
    QFETCH(double, stored);
    QFETCH(double, expected);
    QFETCH(QString, text);
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY, SUM1) VALUES (1, :SUM1)");
    insert.param("SUM1").setFloat(stored);
    insert.execute();
    fb::Statement select(tr, "SELECT SUM1 FROM T");
    select.execute();
    QVERIFY(select.fetch());
    QCOMPARE(select.field(0).type(), fb::FieldType::Float);
    QCOMPARE(select.field(0).asFloat(), expected);
    QCOMPARE(select.field(0).asString(), text);
}

void TestFbDatabase::fieldsByNameAndIndex() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement insert(
        tr, "INSERT INTO T (PRKEY, TYP, NAME, CODE, SUM1, DAT) VALUES (?, ?, ?, ?, ?, ?)",
        fb::ParamMode::Untouched);
    QCOMPARE(insert.paramCount(), 6);
    insert.param(0).setString("10001"); // the server converts the text
    insert.param(1).setValue(QVariant(2));
    insert.param(2).setValue(QString::fromUtf8("Ёлка"));
    insert.param(3).setString("AB");
    insert.param(4).setString("99.5");
    insert.param(5).setValue(QDateTime(QDate(2023, 5, 1), QTime(8, 15)));
    insert.execute();
    QCOMPARE(insert.rowsAffected(), 1);
    insert.clearParams();
    insert.param(0).setInteger(10002);
    insert.execute();

    fb::Statement select(tr, "SELECT PRKEY, TYP, NAME, CODE, SUM1, DAT, ETC AS NOTE FROM T "
                             "ORDER BY PRKEY");
    QCOMPARE(select.type(), fb::StatementType::Select);
    QCOMPARE(select.fieldNames(),
             QStringList({"PRKEY", "TYP", "NAME", "CODE", "SUM1", "DAT", "NOTE"}));
    select.execute();
    QVERIFY(select.fetch());
    QCOMPARE(select.field("prkey").asInteger(), 10001);
    QCOMPARE(select.field(0).type(), fb::FieldType::Integer);
    QCOMPARE(select.field("TYP").asString(), "2");
    QCOMPARE(select.field("NAME").asString(), QString::fromUtf8("Ёлка"));
    QCOMPARE(select.field("NAME").asBytes(), cp1251::encode(QString::fromUtf8("Ёлка")));
    QCOMPARE(select.field("CODE").asString(), "AB  ");
    QCOMPARE(select.field("SUM1").asInteger(), 100);
    QCOMPARE(select.field("DAT").asString(), "01.05.2023 08:15:00");
    QCOMPARE(select.field("DAT").asVariant(), QVariant(QDateTime(QDate(2023, 5, 1), QTime(8, 15))));
    QVERIFY(select.field("NOTE").isNull());
    QCOMPARE(select.field("NOTE").asString(), QString());

    QVERIFY(select.fetch());
    QCOMPARE(select.field(0).asInteger(), 10002);
    for (int i = 1; i < select.fieldCount(); ++i) {
        QVERIFY(select.field(i).isNull());
        QCOMPARE(select.field(i).asInteger(), 0);
        QCOMPARE(select.field(i).asDateTime(), 0.0);
        QVERIFY(!select.field(i).asVariant().isValid());
    }
    QVERIFY(!select.fetch());
    QVERIFY(!select.isOpen());
}

void TestFbDatabase::likeWithQuestionMarkAndRepeatedName() {
    TestDatabase db;
    db.exec(kTable);
    db.exec("INSERT INTO T (PRKEY, TYP, NAME) VALUES (1, 1, '?Скрытый')");
    db.exec("INSERT INTO T (PRKEY, TYP, NAME) VALUES (2, 1, 'Видимый')");
    db.exec("INSERT INTO T (PRKEY, TYP, NAME) VALUES (3, 2, '?Чужой')");
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement select(tr, "SELECT NAME FROM T -- the :COMMENT is no parameter\n"
                             "WHERE NAME LIKE '?%' AND (TYP = :TYP OR PRKEY = :TYP)");
    QCOMPARE(select.paramCount(), 1);
    select.param("TYP").setInteger(1);
    select.execute();
    QStringList names;
    while (select.fetch())
        names << select.field(0).asString();
    QCOMPARE(names, QStringList{QString::fromUtf8("?Скрытый")});
}

void TestFbDatabase::triggerBodyThroughUntouchedMode() {
    TestDatabase db;
    db.exec(kTable);
    const QString trigger = "CREATE TRIGGER T_BI FOR T ACTIVE BEFORE INSERT POSITION 0 AS\n"
                            "DECLARE VARIABLE VCNT INTEGER;\n"
                            "BEGIN\n"
                            "  SELECT COUNT(*) FROM T INTO :VCNT;\n"
                            "  NEW.TYP = :VCNT + 1;\n"
                            "END";
    fb::Transaction tr(db.attachment());
    fb::Statement named(tr);
    QVERIFY_THROWS_EXCEPTION(fb::Error, named.prepare(trigger, fb::ParamMode::Named));
    fb::Statement ddl(tr, trigger, fb::ParamMode::Untouched);
    QCOMPARE(ddl.type(), fb::StatementType::Ddl);
    QCOMPARE(ddl.paramCount(), 0);
    ddl.execute();
    tr.commit();

    insertRow(tr, 1, "a");
    insertRow(tr, 2, "b");
    fb::Statement select(tr, "SELECT TYP FROM T ORDER BY PRKEY");
    select.execute();
    QVERIFY(select.fetch());
    QCOMPARE(select.field(0).asInteger(), 1);
    QVERIFY(select.fetch());
    QCOMPARE(select.field(0).asInteger(), 2);
}

void TestFbDatabase::userExceptionCarriesItsOwnText() {
    TestDatabase db;
    db.exec(kTable);
    db.exec(QString::fromUtf8("CREATE EXCEPTION E_PARTINUSE 'Фирма используется в документах!'"));
    db.exec("CREATE TRIGGER T_BD FOR T ACTIVE BEFORE DELETE POSITION 0 AS\n"
            "DECLARE VARIABLE VCNT INTEGER;\n"
            "BEGIN\n"
            "  SELECT COUNT(*) FROM T WHERE TYP = OLD.PRKEY INTO :VCNT;\n"
            "  IF ((VCNT IS NOT NULL) AND (VCNT <> 0)) THEN\n"
            "    EXCEPTION E_PARTINUSE;\n"
            "END");
    db.exec("INSERT INTO T (PRKEY, TYP) VALUES (1, 1)");
    fb::Transaction tr(db.attachment());
    fb::Statement del(tr, "DELETE FROM T WHERE PRKEY = :PRKEY");
    del.param("PRKEY").setInteger(1);
    try {
        del.execute();
        QFAIL("the trigger did not raise");
    } catch (const fb::Error& e) {
        QCOMPARE(e.message(), QString::fromUtf8("Фирма используется в документах!"));
        QVERIFY(e.isUserException());
        QCOMPARE(e.exceptionName(), "E_PARTINUSE");
        QCOMPARE(e.gdsCode(), qint64(isc_except));
        QCOMPARE(e.sqlCode(), -836);
        QVERIFY(e.serverText().contains(QString::fromUtf8("Фирма используется в документах!")));
        QVERIFY(e.serverText().contains("T_BD"));
    }
    QCOMPARE(countRows(tr), 1);
}

void TestFbDatabase::engineErrorCarriesCodesAndText() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    try {
        fb::Statement bad(tr, "SELEKT * FROM T");
        QFAIL("the statement was prepared");
    } catch (const fb::Error& e) {
        QCOMPARE(e.sqlCode(), -104);
        QVERIFY(!e.isUserException());
        QCOMPARE(e.message(), e.serverText());
        QVERIFY2(e.message().contains("Token unknown") && e.message().contains('\n'),
                 qPrintable(e.message()));
    }
    db.exec("ALTER TABLE T ADD CONSTRAINT T_PK PRIMARY KEY (PRKEY)");
    insertRow(tr, 1, "a");
    try {
        insertRow(tr, 1, "b");
        QFAIL("the duplicate key was stored");
    } catch (const fb::Error& e) {
        QCOMPARE(e.sqlCode(), -803);
        QVERIFY2(e.message().contains("T_PK"), qPrintable(e.message()));
    }
}

void TestFbDatabase::errorsTellConflictsFromDuplicates() {
    TestDatabase db;
    db.exec(kTable);
    db.exec("ALTER TABLE T ADD CONSTRAINT T_PK PRIMARY KEY (PRKEY)");
    db.exec("CREATE TABLE CHILD (PRKEY INTEGER NOT NULL, LPARENT INTEGER REFERENCES T (PRKEY))");
    db.exec("INSERT INTO T (PRKEY, NAME) VALUES (1, 'a')");
    fb::Transaction first(db.attachment());
    fb::Transaction second(db.attachment());
    fb::Statement update(first, "UPDATE T SET NAME = 'first' WHERE PRKEY = 1");
    update.execute();

    struct Case {
        const char* what;
        fb::Transaction* transaction;
        const char* sql;
        const char* sqlState;
        bool lockConflict;
        bool uniqueViolation;
    };
    const Case cases[] = {
        {"row held by another transaction", &second, "UPDATE T SET NAME = 'second' WHERE PRKEY = 1",
         "40001", true, false},
        {"duplicate primary key", &first, "INSERT INTO T (PRKEY) VALUES (1)", "23000", false, true},
        {"missing parent row", &first, "INSERT INTO CHILD VALUES (1, 99)", "23000", false, false},
        {"syntax", &first, "SELEKT 1 FROM T", "42000", false, false},
    };
    for (const Case& c : cases) {
        try {
            fb::Statement statement(*c.transaction, c.sql);
            statement.execute();
            QFAIL(c.what);
        } catch (const fb::Error& e) {
            QVERIFY2(e.sqlState() == c.sqlState, c.what);
            QVERIFY2(e.isLockConflict() == c.lockConflict, c.what);
            QVERIFY2(e.isUniqueViolation() == c.uniqueViolation, c.what);
        }
    }
    QVERIFY(fb::Error("no engine behind it").sqlState().isEmpty());
}

// Errors the engine gives for real: a connection that another one cut is gone; a full disk or a
// file that cannot be opened is an I/O error (SQLSTATE 08001 too), and the connection stays.
void TestFbDatabase::onlyALostConnectionCountsAsLost_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("sqlState");
    QTest::addColumn<bool>("lost");
    QTest::newRow("attachment cut by another one") << "cut"
                                                   << "08003" << true;
    QTest::newRow("disk full") << "disk full"
                               << "08001" << false;
    QTest::newRow("a folder opened as a database") << "folder"
                                                   << "08001" << false;
    QTest::newRow("row held by another transaction") << "lock"
                                                     << "40001" << false;
}

void TestFbDatabase::onlyALostConnectionCountsAsLost() {
    QFETCH(QString, cause);
    QFETCH(QString, sqlState);
    QFETCH(bool, lost);
    if (cause == "disk full" && !SmallFileSystem::unavailable().isEmpty())
        QSKIP(qPrintable(SmallFileSystem::unavailable()));
    TestDatabase db;
    db.exec(kTable);
    db.exec("INSERT INTO T (PRKEY) VALUES (1)");
    fb::Attachment victim;
    victim.attach(db.path());
    std::unique_ptr<SmallFileSystem> disk;
    if (cause == "disk full") {
        disk = std::make_unique<SmallFileSystem>(4 * 1024 * 1024);
        victim.detach();
        victim.create(disk->filePath("full.fdb"));
        fb::Transaction tr(victim);
        fb::Statement(tr, kTable).execute();
        tr.commit();
        disk->fill();
    }
    fb::Transaction holder(db.attachment());
    if (cause == "lock")
        fb::Statement(holder, "UPDATE T SET NAME = 'held' WHERE PRKEY = 1").execute();
    if (cause == "cut") {
        fb::Statement id(holder, "SELECT MIN(MON$ATTACHMENT_ID) FROM MON$ATTACHMENTS "
                                 "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
                                 "AND MON$SYSTEM_FLAG = 0");
        id.execute();
        QVERIFY(id.fetch());
        fb::Statement cut(holder, "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = :ID");
        cut.param("ID").setInteger(id.field(0).asInteger());
        id.close();
        cut.execute();
        holder.commit();
    }
    try {
        if (cause == "folder") {
            fb::Attachment folder;
            folder.attach(db.folder());
        } else {
            fb::Transaction tr(victim);
            fb::Statement write(tr, cause == "disk full"
                                        ? "INSERT INTO T (PRKEY, ETC) VALUES (2, :ETC)"
                                        : "UPDATE T SET NAME = 'mine' WHERE PRKEY = 1");
            if (cause == "disk full")
                write.param("ETC").setBytes(QByteArray(512 * 1024, 'x'));
            write.execute();
            tr.commit();
        }
        QFAIL("no error");
    } catch (const fb::Error& e) {
        QCOMPARE(e.sqlState(), sqlState);
        QVERIFY2(e.isConnectionLost() == lost, qPrintable(e.message()));
    }
}

// The engine's codes of a lost connection and of a shutdown, and others of SQLSTATE class 08.
void TestFbDatabase::lostConnectionCodes_data() {
    QTest::addColumn<qint64>("code");
    QTest::addColumn<bool>("lost");
    QTest::newRow("network error") << qint64(isc_network_error) << true;
    QTest::newRow("read from the connection") << qint64(isc_net_read_err) << true;
    QTest::newRow("write to the connection") << qint64(isc_net_write_err) << true;
    QTest::newRow("connection lost to the database") << qint64(isc_lost_db_connection) << true;
    QTest::newRow("connection lost to the pipe server") << qint64(isc_conn_lost) << true;
    QTest::newRow("connection shut down") << qint64(isc_att_shutdown) << true;
    QTest::newRow("database shut down") << qint64(isc_shutdown) << true;
    QTest::newRow("database shutdown in progress") << qint64(isc_shutinprog) << true;
    QTest::newRow("no active connection") << qint64(isc_bad_db_handle) << true;
    QTest::newRow("I/O error") << qint64(isc_io_error) << false;
    QTest::newRow("unavailable database") << qint64(isc_unavailable) << false;
    QTest::newRow("lock conflict") << qint64(isc_lock_conflict) << false;
}

void TestFbDatabase::lostConnectionCodes() {
    QFETCH(qint64, code);
    QFETCH(bool, lost);
    const ISC_STATUS status[] = {isc_arg_gds, ISC_STATUS(code), isc_arg_end};
    QCOMPARE(fb::errorFromStatus(status).isConnectionLost(), lost);
}

void TestFbDatabase::commitMakesInsertVisibleToOtherTransaction() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction writer(db.attachment());
    fb::Transaction reader(db.attachment(), fb::TransactionKind::ReadOnly);
    reader.start();
    insertRow(writer, 1, "a");
    QCOMPARE(countRows(writer), 1);
    QCOMPARE(countRows(reader), 0);
    writer.commit();
    QVERIFY(!writer.isActive());
    QCOMPARE(countRows(reader), 1);

    fb::Statement insert(reader, "INSERT INTO T (PRKEY) VALUES (2)");
    QVERIFY_THROWS_EXCEPTION(fb::Error, insert.execute()); // a browsing transaction cannot write
}

void TestFbDatabase::unfinishedTransactionIsRolledBack() {
    TestDatabase db;
    db.exec(kTable);
    {
        fb::Transaction tr(db.attachment());
        insertRow(tr, 1, "lost with its owner");
    }
    fb::Transaction tr(db.attachment());
    QCOMPARE(countRows(tr), 0);
    tr.commit();

    // Detaching rolls back what is still open, the same way.
    fb::Transaction open(db.attachment());
    insertRow(open, 2, "lost at detach");
    fb::Statement prepared(open, "SELECT COUNT(*) FROM T"); // outlives the detach harmlessly
    db.attachment().detach();
    QVERIFY(!db.attachment().isAttached());
    QVERIFY(!open.isActive());
    db.attachment().attach(db.path());
    QCOMPARE(countRows(tr), 0);
}

void TestFbDatabase::retainingKeepsTransactionActive() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Transaction reader(db.attachment(), fb::TransactionKind::ReadOnly);
    insertRow(tr, 1, "kept");
    tr.commitRetaining();
    QVERIFY(tr.isActive());
    insertRow(tr, 2, "undone");
    tr.rollbackRetaining();
    QVERIFY(tr.isActive());
    QCOMPARE(countRows(tr), 1);
    QCOMPARE(countRows(reader), 1);
    tr.rollback();
    QVERIFY(!tr.isActive());
    QVERIFY_THROWS_EXCEPTION(fb::Error, tr.commit());
}

void TestFbDatabase::failedDetachKeepsTheConnection() {
    TestDatabase db;
    db.exec(kTable);
    // A transaction started past the attachment is not rolled back by it, and the engine
    // refuses the first detach while it is open.
    isc_tr_handle foreign = 0;
    fb::Status status;
    isc_start_transaction(status, &foreign, 1, db.attachment().handle(), 0, nullptr);
    fb::check(status);
    try {
        db.attachment().detach();
        QFAIL("the detach was not refused");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains("open transactions"), qPrintable(e.message()));
    }
    // The handle is kept, so the next detach releases it.
    QVERIFY(db.attachment().isAttached());
    QCOMPARE(db.attachment().path(), db.path());
    db.attachment().detach();
    QVERIFY(!db.attachment().isAttached());
    QVERIFY(db.attachment().path().isEmpty());

    db.attachment().attach(db.path());
    fb::Transaction tr(db.attachment());
    QCOMPARE(countRows(tr), 0);
}

void TestFbDatabase::movesTakeTransactionsAndStatementsAlong() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY) VALUES (:PRKEY)");

    fb::Attachment attachment(std::move(db.attachment()));
    QVERIFY(!db.attachment().isAttached());
    QVERIFY(db.attachment().path().isEmpty());
    QCOMPARE(attachment.path(), db.path());

    fb::Transaction moved(std::move(tr));
    QVERIFY(!tr.isActive());
    QVERIFY_THROWS_EXCEPTION(fb::Error, tr.start());
    fb::Statement movedInsert(std::move(insert));
    QVERIFY(!insert.isPrepared());
    QVERIFY_THROWS_EXCEPTION(fb::Error, insert.execute());
    movedInsert.param("PRKEY").setInteger(1);
    movedInsert.execute();
    QVERIFY(moved.isActive());
    moved.commit();

    // A move assignment first lets go of what the target held: its transaction rolls back.
    fb::Transaction target(attachment);
    insertRow(target, 2, "undone");
    fb::Transaction reader(attachment, fb::TransactionKind::ReadOnly);
    target = std::move(reader);
    QCOMPARE(countRows(target), 1);

    insert = std::move(movedInsert);
    insert.param("PRKEY").setInteger(3);
    insert.execute();
    moved.commit();
    QCOMPARE(countRows(target), 2);
}

void TestFbDatabase::whatOutlivesItsOwnerThrows() {
    TestDatabase db;
    db.exec(kTable);
    auto attachment = std::make_unique<fb::Attachment>();
    attachment->attach(db.path());
    auto tr = std::make_unique<fb::Transaction>(*attachment);
    fb::Statement count(*tr, "SELECT COUNT(*) FROM T");

    // Prepared on a connection that was closed since: refused, and prepared anew after attach.
    attachment->detach();
    QVERIFY_THROWS_EXCEPTION(fb::Error, tr->start());
    attachment->attach(db.path());
    try {
        count.execute();
        QFAIL("a statement of a closed connection ran");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains(QString::fromUtf8("закрыто")), qPrintable(e.message()));
    }
    count.prepare(count.sql());
    count.execute();
    QVERIFY(count.fetch());
    QCOMPARE(count.field(0).asInteger(), 0);

    // A statement whose transaction is gone.
    fb::Statement insert(*tr, "INSERT INTO T (PRKEY) VALUES (1)");
    tr.reset();
    QVERIFY_THROWS_EXCEPTION(fb::Error, insert.execute());
    QVERIFY_THROWS_EXCEPTION(fb::Error, insert.prepare(insert.sql()));

    // A transaction and a statement whose attachment is gone.
    fb::Transaction orphan(*attachment);
    fb::Statement select(orphan, "SELECT PRKEY FROM T");
    select.execute();
    attachment.reset();
    QVERIFY(!orphan.isActive());
    QVERIFY_THROWS_EXCEPTION(fb::Error, orphan.start());
    QVERIFY_THROWS_EXCEPTION(fb::Error, select.fetch());
    QVERIFY_THROWS_EXCEPTION(fb::Error, select.execute());
    select.close();
}

void TestFbDatabase::wrongNamesAreListErrors() {
    TestDatabase db;
    db.exec(kTable);
    fb::Transaction tr(db.attachment());
    fb::Statement select(tr, "SELECT NAME FROM T WHERE PRKEY = :PRKEY");
    QCOMPARE(select.paramIndex("prkey"), 0);
    QCOMPARE(select.paramIndex("NAME"), -1);
    QVERIFY_THROWS_EXCEPTION(ListError, select.param("NAME"));
    QVERIFY_THROWS_EXCEPTION(ListError, select.param(1));
    QVERIFY_THROWS_EXCEPTION(ListError, select.field("PRKEY"));
    QVERIFY_THROWS_EXCEPTION(ListError, select.field(1));
    select.param(0).setInteger(1);
    select.execute();
    QVERIFY(!select.fetch());
    QVERIFY_THROWS_EXCEPTION(fb::Error, select.field(0).asString()); // no current row
}

void TestFbDatabase::generatorHandsOutKeys() {
    TestDatabase db;
    db.exec("CREATE GENERATOR T_PRKEY_GEN");
    db.exec("SET GENERATOR T_PRKEY_GEN TO 10000");
    fb::Transaction tr(db.attachment());
    fb::Statement next(tr, "SELECT GEN_ID(T_PRKEY_GEN,1)\nFROM RDB$DATABASE");
    for (qint64 expected : {10001, 10002}) {
        next.execute();
        QVERIFY(next.fetch());
        QCOMPARE(next.field(0).asInteger(), expected);
        QCOMPARE(next.field(0).asString(), QString::number(expected));
        QVERIFY(!next.fetch());
    }
}

QTEST_GUILESS_MAIN(TestFbDatabase)
#include "test_statement.moc"
