#include "core/cp1251.h"
#include "core/date_time.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "tests/support/platform/test_database.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <type_traits>

using testsupport::TestDatabase;

// A dataset and its fields are reached through references that the grids and handlers keep:
// never copied, never moved.
static_assert(std::is_final_v<fb::DataSet> && !std::is_copy_constructible_v<fb::DataSet> &&
              !std::is_move_constructible_v<fb::DataSet>);
static_assert(std::is_final_v<fb::DataField> && !std::is_copy_constructible_v<fb::DataField> &&
              !std::is_move_constructible_v<fb::DataField>);

namespace {

DateTime day1() {
    return datetime::encode(QDate(2024, 3, 15), QTime(10, 30));
}

DateTime day2() {
    return datetime::encodeDate(2024, 3, 16);
}

// Three documents: two of type 1, one of type 2 with a null amount and date.
void makeOper(TestDatabase& db) {
    db.exec("CREATE TABLE OPER (PRKEY INTEGER NOT NULL PRIMARY KEY, TYP INTEGER, "
            "SUM1 NUMERIC(15,4), NUM VARCHAR(20), DAT DATE, ETC BLOB SUB_TYPE 0 SEGMENT SIZE 80)");
    db.exec({"INSERT INTO OPER VALUES (1, 1, 10.5, 'A-1', '2024-03-15 10:30:00', NULL)",
             QString::fromUtf8("INSERT INTO OPER VALUES (2, 1, 20, 'Б-2', '2024-03-16', NULL)"),
             "INSERT INTO OPER VALUES (3, 2, NULL, 'C-3', NULL, NULL)"});
}

void setUpOper(fb::DataSet& ds, const QString& where = {}) {
    ds.setSQL("SELECT * FROM OPER " + where + " ORDER BY PRKEY");
    ds.setInsertSQL("INSERT INTO OPER (PRKEY, TYP, SUM1, NUM, DAT, ETC) "
                    "VALUES (:PRKEY, :TYP, :SUM1, :NUM, :DAT, :ETC)");
    ds.setModifySQL("UPDATE OPER SET PRKEY=:PRKEY, TYP=:TYP, SUM1=:SUM1, NUM=:NUM, DAT=:DAT, "
                    "ETC=:ETC WHERE PRKEY=:OLD_PRKEY");
    ds.setDeleteSQL("DELETE FROM OPER WHERE PRKEY=:OLD_PRKEY");
}

// The rows as another transaction sees them: "PRKEY NUM SUM1" each.
QStringList committedRows(TestDatabase& db) {
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement select(tr, "SELECT PRKEY, NUM, SUM1 FROM OPER ORDER BY PRKEY");
    select.execute();
    QStringList rows;
    while (select.fetch())
        rows << QStringList{select.field(0).asString(), select.field(1).asString(),
                            select.field(2).asString()}
                    .join(' ');
    return rows;
}

QList<qint64> keysOf(fb::DataSet& ds) {
    QList<qint64> keys;
    for (ds.first(); !ds.eof(); ds.next())
        keys << ds.field("PRKEY").asInteger();
    return keys;
}

// What one reading gives: its value as text, or the error it throws.
QString reading(const std::function<QVariant()>& read) {
    try {
        const QVariant value = read();
        return value.typeId() == QMetaType::QByteArray ? value.toByteArray().toHex()
                                                       : value.toString();
    } catch (const ConvertError&) {
        return QStringLiteral("ConvertError");
    }
}

void refuseNegative(const QVariant& value) {
    if (value.toDouble() < 0)
        throw Exception(QString::fromUtf8("Число должно быть не отрицательным!"));
}

} // namespace

class TestFbDataSet : public QObject {
    Q_OBJECT

private slots:
    void opensAndNavigates();
    void emptyResult();
    void fieldsReadEveryType();
    void statementAndDataSetReadAlike();
    void parametersByName();
    void changesAreAppliedInOwnTransaction();
    void oldKeyUpdateChangesTheKey();
    void cancelRevertsTheRow();
    void cancelUpdatesRevertsEverythingNotApplied();
    void validateRefusesAndKeepsOldValue();
    void changeFiresOnAssignmentNeverOnFetch();
    void assignmentOutsideEditIsRefused();
    void textAssignment_data();
    void textAssignment();
    void displayText_data();
    void displayText();
    void amountsShowAsTheirWordsRound();
    void locateFindsOrStays();
    void longResultsAreReadAsNeeded();
    void aTransactionEndedElsewhereEndsTheReading();
    void userExceptionKeepsTheCache();
    void rollbackAfterApplyKeepsTheEdit();
    void vanishedRowIsNotReportedAsSaved();
    void aRowLeftAsReadIsNotWritten_data();
    void aRowLeftAsReadIsNotWritten();
    void refreshReReadsTheAppliedRow();
    void commitAndRollbackClose();
};

void TestFbDataSet::opensAndNavigates() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    QSignalSpy states(&ds, &fb::DataSet::stateChanged);
    setUpOper(ds);
    QCOMPARE(ds.state(), fb::DataSetState::Inactive);
    ds.open();
    QCOMPARE(ds.state(), fb::DataSetState::Browse);
    QCOMPARE(states.count(), 1);
    QCOMPARE(ds.recordCount(), 3);
    QVERIFY(ds.bof());
    QVERIFY(!ds.eof());
    QCOMPARE(ds.field("prkey").asInteger(), 1); // names without regard to case
    QCOMPARE(keysOf(ds), (QList<qint64>{1, 2, 3}));
    QVERIFY(ds.eof());
    QCOMPARE(ds.currentRow(), 2);

    ds.prior();
    QCOMPARE(ds.field("PRKEY").asInteger(), 2);
    ds.first();
    ds.prior();
    QVERIFY(ds.bof());
    QCOMPARE(ds.currentRow(), 0);
    ds.last();
    QVERIFY(ds.eof());
    QCOMPARE(ds.field("NUM").asString(), "C-3");
    ds.moveTo(1);
    QCOMPARE(ds.field("NUM").asString(), QString::fromUtf8("Б-2"));

    ds.close();
    QCOMPARE(ds.state(), fb::DataSetState::Inactive);
    QCOMPARE(ds.recordCount(), 0);
    QVERIFY_THROWS_EXCEPTION(Exception, ds.next());
}

void TestFbDataSet::emptyResult() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds, "WHERE PRKEY < 0");
    ds.open();
    QVERIFY(ds.isEmpty());
    QVERIFY(ds.eof());
    QVERIFY(ds.bof());
    QCOMPARE(ds.currentRow(), -1);
    QCOMPARE(keysOf(ds), QList<qint64>{});
    QVERIFY(ds.field("SUM1").isNull());
    QCOMPARE(ds.field("NUM").asString(), QString());
    QVERIFY_THROWS_EXCEPTION(Exception, ds.edit());
    QVERIFY_THROWS_EXCEPTION(Exception, ds.remove());
}

void TestFbDataSet::fieldsReadEveryType() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    QCOMPARE(ds.fieldNames(), (QStringList{"PRKEY", "TYP", "SUM1", "NUM", "DAT", "ETC"}));
    QCOMPARE(ds.field("PRKEY").type(), fb::FieldType::Integer);
    QCOMPARE(ds.field("SUM1").type(), fb::FieldType::Float);
    QCOMPARE(ds.field("NUM").type(), fb::FieldType::String);
    QCOMPARE(ds.field("DAT").type(), fb::FieldType::DateTime);
    QCOMPARE(ds.field("ETC").type(), fb::FieldType::Blob);
    QCOMPARE(ds.field("SUM1").asFloat(), 10.5);
    QCOMPARE(ds.field("SUM1").asInteger(), 11);
    QCOMPARE(ds.field("NUM").asBytes(), QByteArray("A-1"));
    QCOMPARE(ds.field("DAT").asDateTime(), day1());
    QCOMPARE(ds.field("SUM1").value(), QVariant(10.5));
    QCOMPARE(ds.field("SUM1").oldValue(), QVariant(10.5));
    QVERIFY(ds.field("ETC").isNull());
    ds.last();
    QVERIFY(ds.field("SUM1").isNull());
    QCOMPARE(ds.field("SUM1").asFloat(), 0.0);
    QVERIFY(ds.field("DAT").isNull());
    QVERIFY_THROWS_EXCEPTION(ListError, ds.field("NOSUCH"));
    QCOMPARE(ds.fieldIndex("NOSUCH"), -1);
}

void TestFbDataSet::statementAndDataSetReadAlike() {
    QLocale::setDefault(QLocale::c()); // the one place the two differ: the decimal separator
    TestDatabase db;
    db.exec("CREATE TABLE V (PRKEY INTEGER, SUM1 NUMERIC(15,4), NAME VARCHAR(20), CODE CHAR(3), "
            "DAT DATE, FLAG BOOLEAN, ETC BLOB SUB_TYPE 0, DATA BLOB SUB_TYPE 1)");
    db.exec({QString::fromUtf8("INSERT INTO V VALUES (7, 2.5, 'Касса', 'A', "
                               "'2024-03-15 10:30:00', TRUE, 'x1', '12')"),
             "INSERT INTO V VALUES (-3, -0.25, '42', '', '2024-03-16', FALSE, '', '2,5')",
             "INSERT INTO V VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"});
    const QString sql = "SELECT * FROM V ORDER BY PRKEY NULLS LAST";
    fb::Transaction tr(db.attachment(), fb::TransactionKind::ReadOnly);
    fb::Statement select(tr, sql);
    select.execute();
    fb::DataSet ds(db.attachment(), fb::TransactionKind::ReadOnly);
    ds.setSQL(sql);
    ds.open();
    for (ds.first(); !ds.eof(); ds.next()) {
        QVERIFY(select.fetch());
        for (int i = 0; i < select.fieldCount(); ++i) {
            const fb::Field column = select.field(i);
            fb::DataField& field = ds.field(i);
            const QByteArray where =
                QStringLiteral("row %1, %2").arg(ds.currentRow()).arg(field.name()).toUtf8();
            QVERIFY2(column.type() == field.type(), where);
            QVERIFY2(column.isNull() == field.isNull(), where);
            QCOMPARE(reading([&] { return column.asString(); }),
                     reading([&] { return field.asString(); }));
            QCOMPARE(reading([&] { return column.asInteger(); }),
                     reading([&] { return field.asInteger(); }));
            QCOMPARE(reading([&] { return column.asFloat(); }),
                     reading([&] { return field.asFloat(); }));
            QCOMPARE(reading([&] { return column.asDateTime(); }),
                     reading([&] { return field.asDateTime(); }));
            QCOMPARE(reading([&] { return column.asBytes(); }),
                     reading([&] { return field.asBytes(); }));
        }
    }
    QVERIFY(!select.fetch());
}

void TestFbDataSet::parametersByName() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    ds.setSQL("SELECT PRKEY FROM OPER WHERE TYP=:TYP AND (DAT IS NULL OR DAT >= :SDAT) "
              "ORDER BY PRKEY");
    ds.setParam("TYP", 1);
    ds.setParamDateTime("SDAT", day2());
    ds.open();
    QCOMPARE(keysOf(ds), QList<qint64>{2});
    ds.close();
    ds.setParam("TYP", 2);
    ds.open();
    QCOMPARE(keysOf(ds), QList<qint64>{3});

    ds.setSQL("SELECT PRKEY FROM OPER"); // a new text forgets the old parameters
    ds.open();
    QCOMPARE(ds.recordCount(), 3);
    ds.close();
    ds.setParam("TYP", 1);
    QVERIFY_THROWS_EXCEPTION(ListError, ds.open());
    QVERIFY(!ds.isActive());
}

void TestFbDataSet::changesAreAppliedInOwnTransaction() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();

    ds.edit(); // row 1
    ds.field("NUM").setAsString(QString::fromUtf8("Изм-1"));
    ds.field("SUM1").setAsFloat(11.25);
    ds.post();
    QCOMPARE(ds.state(), fb::DataSetState::Browse);
    ds.locate("PRKEY", 3);
    ds.remove();
    QCOMPARE(ds.recordCount(), 2);
    ds.insert();
    QCOMPARE(ds.state(), fb::DataSetState::Insert);
    QVERIFY(ds.field("NUM").isNull()); // a new row starts null
    ds.field("PRKEY").setAsInteger(4);
    ds.field("NUM").setAsString("N-4");
    ds.field("ETC").setAsString(QString::fromUtf8("Ключ=Значение"));
    ds.post();
    QVERIFY(ds.updatesPending());

    // Kept in the cache: the database does not have it yet.
    QCOMPARE(committedRows(db),
             (QStringList{"1 A-1 10.5", QString::fromUtf8("2 Б-2 20"), "3 C-3 "}));
    ds.applyUpdates();
    QVERIFY(!ds.updatesPending());
    ds.first();
    QCOMPARE(ds.field("SUM1").oldValue(), QVariant(11.25)); // applied rows are clean
    // Applied in the dataset's transaction, visible to others after the commit only.
    QCOMPARE(committedRows(db).size(), 3);
    ds.commitRetaining();
    QCOMPARE(committedRows(db), (QStringList{QString::fromUtf8("1 Изм-1 11.25"),
                                             QString::fromUtf8("2 Б-2 20"), "4 N-4 "}));
    QVERIFY(ds.isActive());
    QCOMPARE(ds.recordCount(), 3);

    ds.close();
    ds.open();
    QVERIFY(ds.locate("PRKEY", 4));
    QCOMPARE(ds.field("ETC").asBytes(), cp1251::encode(QString::fromUtf8("Ключ=Значение")));
    QCOMPARE(ds.field("ETC").asString(), QString::fromUtf8("Ключ=Значение"));
}

void TestFbDataSet::oldKeyUpdateChangesTheKey() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.edit();
    ds.field("PRKEY").setAsInteger(100);
    QCOMPARE(ds.field("PRKEY").oldValue(), QVariant(qint64(1)));
    ds.applyUpdates(); // posts the edit first
    ds.commitRetaining();
    QCOMPARE(committedRows(db),
             (QStringList{QString::fromUtf8("2 Б-2 20"), "3 C-3 ", "100 A-1 10.5"}));
}

void TestFbDataSet::cancelRevertsTheRow() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.moveTo(1);
    ds.edit();
    ds.field("SUM1").setAsFloat(99);
    ds.field("NUM").clear();
    ds.cancel();
    QCOMPARE(ds.state(), fb::DataSetState::Browse);
    QCOMPARE(ds.field("SUM1").asFloat(), 20.0);
    QCOMPARE(ds.field("NUM").asString(), QString::fromUtf8("Б-2"));
    QVERIFY(!ds.updatesPending());

    ds.insert();
    ds.field("PRKEY").setAsInteger(5);
    QCOMPARE(ds.recordCount(), 4);
    ds.cancel();
    QCOMPARE(ds.recordCount(), 3);
    QCOMPARE(ds.field("PRKEY").asInteger(), 2); // back on the row it came from

    // Deleting a row being edited or inserted.
    ds.insert();
    ds.remove();
    QCOMPARE(ds.recordCount(), 3);
    QVERIFY(!ds.updatesPending());
    ds.applyUpdates();
    QCOMPARE(committedRows(db).size(), 3);
}

void TestFbDataSet::cancelUpdatesRevertsEverythingNotApplied() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.edit();
    ds.field("NUM").setAsString("X");
    ds.post();
    ds.next();
    ds.remove(); // row 2
    ds.remove(); // row 3
    ds.insert();
    ds.field("PRKEY").setAsInteger(7);
    ds.post();
    ds.first();
    ds.remove(); // row 1, edited before
    ds.insert();
    ds.field("PRKEY").setAsInteger(8); // still being inserted
    QCOMPARE(keysOf(ds), (QList<qint64>{7, 8}));

    ds.cancelUpdates();
    QCOMPARE(ds.state(), fb::DataSetState::Browse);
    QCOMPARE(keysOf(ds), (QList<qint64>{1, 2, 3}));
    ds.first();
    QCOMPARE(ds.field("NUM").asString(), "A-1");
    QVERIFY(!ds.updatesPending());
    ds.applyUpdates();
    ds.commitRetaining();
    QCOMPARE(committedRows(db),
             (QStringList{"1 A-1 10.5", QString::fromUtf8("2 Б-2 20"), "3 C-3 "}));
}

void TestFbDataSet::validateRefusesAndKeepsOldValue() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.prepare();
    int changes = 0;
    ds.field("SUM1").setOnValidate(refuseNegative);
    ds.field("SUM1").setOnChange([&changes](fb::DataField&) { ++changes; });
    ds.open();
    ds.edit();
    try {
        ds.field("SUM1").setAsFloat(-0.01);
        QFAIL("a negative amount was taken");
    } catch (const Exception& e) {
        QCOMPARE(e.message(), QString::fromUtf8("Число должно быть не отрицательным!"));
    }
    QCOMPARE(ds.field("SUM1").asFloat(), 10.5);
    QCOMPARE(changes, 0);
    QVERIFY_THROWS_EXCEPTION(Exception, ds.field("SUM1").setAsString("-3"));
    QCOMPARE(ds.field("SUM1").asFloat(), 10.5);
    ds.field("SUM1").setAsFloat(0); // zero is accepted
    QCOMPARE(ds.field("SUM1").asFloat(), 0.0);
    QCOMPARE(changes, 1);
}

void TestFbDataSet::changeFiresOnAssignmentNeverOnFetch() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.prepare();
    QStringList seen;
    ds.field("TYP").setOnChange(
        [&seen](fb::DataField& field) { seen << "TYP=" + field.asString(); });
    ds.field("NUM").setOnChange(
        [&seen](fb::DataField& field) { seen << "NUM=" + field.asString(); });
    QSignalSpy changed(&ds, &fb::DataSet::fieldChanged);
    ds.open();
    keysOf(ds);
    ds.close();
    ds.open(); // the handlers stay across close and open
    QVERIFY(seen.isEmpty());
    QCOMPARE(changed.count(), 0);

    ds.edit();
    ds.field("TYP").setAsInteger(2);
    ds.field("TYP").setAsInteger(2); // the same value again is an assignment too
    ds.field("NUM").clear();
    ds.cancel();
    QCOMPARE(seen, (QStringList{"TYP=2", "TYP=2", "NUM="}));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(2).at(0).toString(), "NUM");

    // Like a partner rule: a change of one field fills another.
    ds.field("TYP").setOnChange(
        [&ds](fb::DataField& field) { ds.field("NUM").setAsString("T" + field.asString()); });
    ds.insert();
    ds.field("TYP").setAsInteger(9);
    QCOMPARE(ds.field("NUM").asString(), "T9");
}

void TestFbDataSet::assignmentOutsideEditIsRefused() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.prepare();
    QVERIFY_THROWS_EXCEPTION(Exception, ds.field("NUM").setAsString("x")); // closed
    ds.open();
    try {
        ds.field("NUM").setAsString("x");
        QFAIL("a browsing row was changed");
    } catch (const Exception& e) {
        QVERIFY(e.message().contains(QString::fromUtf8("не в режиме редактирования")));
    }
    QCOMPARE(ds.field("NUM").asString(), "A-1");
    QVERIFY(!ds.updatesPending());
}

void TestFbDataSet::textAssignment_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");
    const QString cyrillic = QString::fromUtf8("№ 5 Ёж");
    QTest::newRow("float with comma") << "SUM1"
                                      << "12,5" << true << QVariant(12.5);
    QTest::newRow("float with point") << "SUM1"
                                      << " 7.25 " << true << QVariant(7.25);
    QTest::newRow("empty float is null") << "SUM1"
                                         << "" << true << QVariant();
    QTest::newRow("no number") << "SUM1"
                               << "abc" << false << QVariant();
    QTest::newRow("integer") << "TYP"
                             << "42" << true << QVariant(qint64(42));
    QTest::newRow("no integer") << "TYP"
                                << "4.5" << false << QVariant();
    QTest::newRow("date") << "DAT"
                          << "16.03.2024" << true << QVariant(day2());
    QTest::newRow("date and time") << "DAT"
                                   << "15.03.2024 10:30:00" << true << QVariant(day1());
    QTest::newRow("no date") << "DAT"
                             << "32.01.2024" << false << QVariant();
    QTest::newRow("cyrillic text") << "NUM" << cyrillic << true << QVariant(cyrillic);
    QTest::newRow("text outside win1251")
        << "NUM" << QString::fromUtf8("日本") << false << QVariant();
}

void TestFbDataSet::textAssignment() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.edit();
    const QVariant before = ds.field(field).value();
    if (!accepted) {
        QVERIFY_THROWS_EXCEPTION(Exception, ds.field(field).setAsString(text));
        QCOMPARE(ds.field(field).value(), before);
        return;
    }
    ds.field(field).setAsString(text);
    QCOMPARE(ds.field(field).value(), stored);
    ds.applyUpdates();
    ds.commitRetaining();
    ds.close();
    ds.open();
    QCOMPARE(ds.field(field).value(), stored); // and so it reads back
}

void TestFbDataSet::displayText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("amount plain") << "C"
                                  << "SUM1"
                                  << "" << 0 << "10.5";
    QTest::newRow("amount #0.00") << "C"
                                  << "SUM1"
                                  << "#0.00" << 0 << "10.50";
    QTest::newRow("amount #0.00, decimal comma") << "ru_RU"
                                                 << "SUM1"
                                                 << "#0.00" << 1 << "20,00";
    QTest::newRow("null amount") << "C"
                                 << "SUM1"
                                 << "#0.00" << 2 << "";
    QTest::newRow("date with time") << "C"
                                    << "DAT"
                                    << "" << 0 << "15.03.2024 10:30:00";
    QTest::newRow("date at midnight") << "C"
                                      << "DAT"
                                      << "" << 1 << "16.03.2024";
    QTest::newRow("null date") << "C"
                               << "DAT"
                               << "" << 2 << "";
}

void TestFbDataSet::displayText() {
    QFETCH(QString, locale);
    QFETCH(QString, field);
    QFETCH(QString, format);
    QFETCH(int, row);
    QFETCH(QString, text);
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.field(field).setDisplayFormat(format);
    ds.moveTo(row);
    QLocale::setDefault(QLocale(locale));
    const QString shown = ds.field(field).displayText();
    const QString ofValue = ds.field(field).displayTextOf(ds.value(row, ds.fieldIndex(field)));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(shown, text);
    QCOMPARE(ofValue, text);
}

// An amount shown with "#0.00" rounds as the amount in words does: on its decimal form, half
// away from zero, so a printed figure and its words never disagree.
void TestFbDataSet::amountsShowAsTheirWordsRound() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    fb::DataField& sum = ds.field("SUM1");
    sum.setDisplayFormat("#0.00");
    const QList<std::pair<double, QString>> cases = {
        {1.005, "1.01"}, {2.995, "3.00"}, {8.675, "8.68"}, {-1.005, "-1.01"}, {-0.001, "0.00"}};
    for (const auto& [amount, text] : cases)
        QCOMPARE(sum.displayTextOf(amount), text);
}

void TestFbDataSet::locateFindsOrStays() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    QVERIFY(ds.locate("PRKEY", 3));
    QCOMPARE(ds.currentRow(), 2);
    QVERIFY(!ds.locate("PRKEY", 42));
    QCOMPARE(ds.currentRow(), 2);
    QVERIFY(ds.locate("NUM", QString::fromUtf8("Б-2")));
    QCOMPARE(ds.field("PRKEY").asInteger(), 2);
    QVERIFY(ds.locate("PRKEY", QString("1"))); // converted to the field's type
    QCOMPARE(ds.currentRow(), 0);
    QVERIFY(ds.locate("SUM1", QVariant())); // null finds null
    QCOMPARE(ds.field("PRKEY").asInteger(), 3);

    ds.first();
    ds.edit();
    ds.field("NUM").setAsString("Z");
    QVERIFY(ds.locate("NUM", "Z")); // an edit is posted first
    QCOMPARE(ds.state(), fb::DataSetState::Browse);
    QVERIFY(ds.updatesPending());
}

namespace {

// OPER with rows keys 1..count, amounts equal to their keys.
void makeLongOper(TestDatabase& db, int count) {
    db.exec("CREATE TABLE OPER (PRKEY INTEGER NOT NULL PRIMARY KEY, TYP INTEGER, "
            "SUM1 NUMERIC(15,4), NUM VARCHAR(20), DAT DATE, ETC BLOB SUB_TYPE 0 SEGMENT SIZE 80)");
    db.exec(QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= %1) DO "
                           "BEGIN INSERT INTO OPER (PRKEY, TYP, SUM1, NUM) VALUES (:I, 1, :I, :I); "
                           "I = I + 1; END END")
                .arg(count));
}

} // namespace

// A long result is read in batches as the rows are needed; every way of reaching a row further
// on reads up to it, and each batch read is announced.
void TestFbDataSet::longResultsAreReadAsNeeded() {
    TestDatabase db;
    makeLongOper(db, 1000);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    QSignalSpy appended(&ds, &fb::DataSet::rowsAboutToBeAppended);
    ds.open();
    const int first = ds.fetchedCount();
    QVERIFY(first > 0 && first < 1000);
    QVERIFY(ds.canFetchMore());
    QVERIFY(appended.isEmpty());

    ds.fetchMore();
    QCOMPARE(appended.size(), 1);
    QCOMPARE(appended[0], (QVariantList{first, ds.fetchedCount() - 1}));
    QVERIFY(ds.fetchedCount() > first);

    // Walking row by row meets every row once, in order.
    QList<qint64> keys = keysOf(ds);
    QCOMPARE(keys.size(), 1000);
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(keys[i], qint64(i + 1));
    QVERIFY(!ds.canFetchMore());
    QCOMPARE(ds.recordCount(), 1000);

    ds.close();
    ds.open();
    QVERIFY(ds.locate("PRKEY", 777));
    QCOMPARE(ds.currentRow(), 776);
    QVERIFY(ds.fetchedCount() < 1000);
    ds.moveTo(899);
    QCOMPARE(ds.field("SUM1").asInteger(), 900);
    QVERIFY(!ds.locate("PRKEY", 1001)); // not there: every row read, the cursor stays
    QCOMPARE(ds.currentRow(), 899);
    QVERIFY(!ds.canFetchMore());

    ds.close();
    ds.open();
    ds.last();
    QCOMPARE(ds.field("PRKEY").asInteger(), 1000);
    QVERIFY(ds.eof());

    // A new row comes after every row; its key reaches the database with the rest unchanged.
    ds.close();
    ds.open();
    ds.insert();
    QCOMPARE(ds.currentRow(), 1000);
    ds.field("PRKEY").setAsInteger(1001);
    ds.post();
    ds.first();
    ds.edit();
    ds.field("NUM").setAsString("первый");
    QCOMPARE(ds.field("NUM").oldValue().toString(), QStringLiteral("1"));
    ds.applyUpdates();
    ds.commit();
    QCOMPARE(committedRows(db).size(), 1001);
    QCOMPARE(committedRows(db).first(), QString::fromUtf8("1 первый 1"));
    QCOMPARE(committedRows(db).last(), QStringLiteral("1001  "));
}

// The rows read stay; there are simply no more.
void TestFbDataSet::aTransactionEndedElsewhereEndsTheReading() {
    TestDatabase db;
    makeLongOper(db, 1000);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    const int first = ds.fetchedCount();
    ds.transaction().commit();
    ds.fetchMore();
    QVERIFY(!ds.canFetchMore());
    QCOMPARE(ds.recordCount(), first);
    ds.last();
    QCOMPARE(ds.field("PRKEY").asInteger(), first);
}

// A trigger refuses the second of two changed rows: the caller gets the exception's own
// text, rolls back retaining, and nothing of the cache is lost; fixed, both rows are stored.
void TestFbDataSet::userExceptionKeepsTheCache() {
    TestDatabase db;
    makeOper(db);
    db.exec(QString::fromUtf8("CREATE EXCEPTION E_LOCKED 'Документ закрыт для изменений!'"));
    db.exec("CREATE TRIGGER OPER_BU FOR OPER ACTIVE BEFORE UPDATE POSITION 0 AS\n"
            "BEGIN\n"
            "  IF (NEW.TYP = 9) THEN EXCEPTION E_LOCKED;\n"
            "END");
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.edit();
    ds.field("NUM").setAsString("first");
    ds.next();
    ds.edit();
    ds.field("TYP").setAsInteger(9);
    ds.post();
    try {
        ds.applyUpdates();
        QFAIL("the trigger did not refuse");
    } catch (const fb::Error& e) {
        QCOMPARE(e.message(), QString::fromUtf8("Документ закрыт для изменений!"));
        QVERIFY(e.isUserException());
    }
    ds.rollbackRetaining();
    QVERIFY(ds.updatesPending());
    QCOMPARE(ds.field("TYP").asInteger(), 9);
    ds.first();
    QCOMPARE(ds.field("NUM").asString(), "first");
    QCOMPARE(ds.field("NUM").oldValue(), QVariant("A-1"));

    ds.next();
    ds.edit();
    ds.field("TYP").setAsInteger(1);
    ds.applyUpdates();
    ds.commitRetaining();
    QCOMPARE(committedRows(db),
             (QStringList{"1 first 10.5", QString::fromUtf8("2 Б-2 20"), "3 C-3 "}));
}

// A commit that fails after a successful apply is followed by a rollback: the edit must come
// back as pending, so the next save writes it.
void TestFbDataSet::rollbackAfterApplyKeepsTheEdit() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.edit();
    ds.field("NUM").setAsString("edited");
    ds.next();
    ds.remove();
    ds.applyUpdates();
    QVERIFY(!ds.updatesPending());
    ds.rollbackRetaining();
    QVERIFY(ds.updatesPending());
    QCOMPARE(ds.recordCount(), 2);
    ds.first();
    QCOMPARE(ds.field("NUM").asString(), "edited");
    QCOMPARE(committedRows(db),
             (QStringList{"1 A-1 10.5", QString::fromUtf8("2 Б-2 20"), "3 C-3 "}));

    ds.applyUpdates();
    ds.commitRetaining();
    ds.rollbackRetaining(); // nothing left to bring back after a commit
    QVERIFY(!ds.updatesPending());
    QCOMPARE(committedRows(db), (QStringList{"1 edited 10.5", "3 C-3 "}));
}

void TestFbDataSet::vanishedRowIsNotReportedAsSaved() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    db.exec("DELETE FROM OPER WHERE PRKEY=1"); // by someone else
    ds.edit();
    ds.field("NUM").setAsString("lost?");
    QVERIFY_THROWS_EXCEPTION(Exception, ds.applyUpdates());
    QVERIFY(ds.updatesPending());
}

// A row edited and posted with every value as read is not written: what another transaction
// stored meanwhile stays. A row with a value changed is written whole.
void TestFbDataSet::aRowLeftAsReadIsNotWritten_data() {
    QTest::addColumn<QStringList>("numbers"); // assigned to NUM in turn
    QTest::addColumn<bool>("written");
    QTest::newRow("looked at") << QStringList{} << false;
    QTest::newRow("the same value") << QStringList{"A-1"} << false;
    QTest::newRow("changed back") << QStringList{"X", "A-1"} << false;
    QTest::newRow("changed") << QStringList{"X"} << true;
}

void TestFbDataSet::aRowLeftAsReadIsNotWritten() {
    QFETCH(QStringList, numbers);
    QFETCH(bool, written);
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    db.exec("UPDATE OPER SET SUM1=99 WHERE PRKEY=1"); // by someone else
    ds.edit();
    for (const QString& number : numbers)
        ds.field("NUM").setAsString(number);
    ds.post();
    QCOMPARE(ds.updatesPending(), written);
    ds.applyUpdates();
    ds.commitRetaining();
    QCOMPARE(committedRows(db).first(),
             written ? QStringLiteral("1 X 10.5") : QStringLiteral("1 A-1 99"));
    QCOMPARE(ds.field("NUM").oldValue(), ds.field("NUM").value());
}

void TestFbDataSet::refreshReReadsTheAppliedRow() {
    TestDatabase db;
    makeOper(db);
    db.exec("CREATE TRIGGER OPER_BI FOR OPER ACTIVE BEFORE INSERT POSITION 0 AS\n"
            "BEGIN\n"
            "  IF (NEW.NUM IS NULL) THEN NEW.NUM = 'N' || NEW.PRKEY;\n"
            "END");
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.setRefreshSQL("SELECT NUM FROM OPER WHERE PRKEY=:PRKEY");
    ds.open();
    ds.insert();
    ds.field("PRKEY").setAsInteger(7);
    ds.applyUpdates();
    QCOMPARE(ds.field("NUM").asString(), "N7");
    QCOMPARE(ds.field("NUM").oldValue(), QVariant("N7"));
}

void TestFbDataSet::commitAndRollbackClose() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    setUpOper(ds);
    ds.open();
    ds.remove();
    ds.applyUpdates();
    ds.rollback(); // the applied delete is undone with the transaction
    QVERIFY(!ds.isActive());
    QVERIFY(!ds.transaction().isActive());
    ds.open();
    QCOMPARE(ds.recordCount(), 3);
    ds.remove();
    ds.applyUpdates();
    ds.commit();
    QVERIFY(!ds.isActive());
    QCOMPARE(committedRows(db).size(), 2);

    fb::DataSet browse(db.attachment(), fb::TransactionKind::ReadOnly);
    setUpOper(browse);
    browse.open();
    browse.edit();
    browse.field("NUM").setAsString("x");
    QVERIFY_THROWS_EXCEPTION(fb::Error, browse.applyUpdates()); // a browsing transaction
}

QTEST_GUILESS_MAIN(TestFbDataSet)
#include "test_data_set.moc"
