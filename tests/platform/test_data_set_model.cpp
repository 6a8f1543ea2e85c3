#include "core/date_time.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/data_set_model.h"
#include "tests/support/platform/test_database.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <type_traits>

using testsupport::TestDatabase;

static_assert(std::is_final_v<fb::DataSetModel>);

namespace {

void makeOper(TestDatabase& db) {
    db.exec("CREATE TABLE OPER (PRKEY INTEGER NOT NULL PRIMARY KEY, SUM1 NUMERIC(15,4), "
            "NUM VARCHAR(20), DAT DATE)");
    db.exec({"INSERT INTO OPER VALUES (1, 10.5, 'A-1', '2024-03-15 10:30:00')",
             QString::fromUtf8("INSERT INTO OPER VALUES (2, 20, 'Б-2', '2024-03-16')"),
             "INSERT INTO OPER VALUES (3, NULL, 'C-3', NULL)"});
}

// The browser's columns: date through a get-text handler, number, amount "#0.00".
void setUp(fb::DataSet& ds, fb::DataSetModel& model) {
    ds.setSQL("SELECT * FROM OPER ORDER BY PRKEY");
    ds.setModifySQL("UPDATE OPER SET SUM1=:SUM1 WHERE PRKEY=:OLD_PRKEY");
    ds.prepare();
    ds.field("DAT").setOnGetText([](const QVariant& value) {
        return value.isNull() ? QString()
                              : datetime::decode(value.toDouble()).toString("dd.MM.yyyy");
    });
    ds.field("SUM1").setDisplayFormat("#0.00");
    model.addColumn("DAT", QString::fromUtf8("Дата"), Qt::AlignCenter);
    model.addColumn("NUM", QString::fromUtf8("№ докум."));
    model.addColumn("SUM1", QString::fromUtf8("Сумма"), Qt::AlignRight | Qt::AlignVCenter);
}

QStringList rowTexts(const fb::DataSetModel& model, int row) {
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

class TestFbDataSetModel : public QObject {
    Q_OBJECT

private slots:
    void showsRowsColumnsAndTexts();
    void followsAnEdit();
    void followsInsertDeleteAndClose();
    void currentRowMapsToTheCursor();
};

void TestFbDataSetModel::showsRowsColumnsAndTexts() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    fb::DataSetModel model(ds);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    setUp(ds, model);
    model.addColumn("NOSUCH", "?");
    QCOMPARE(model.rowCount(), 0);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    ds.open();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString::fromUtf8("Сумма"));
    QCOMPARE(model.columnField(1), "NUM");
    QCOMPARE(rowTexts(model, 0), (QStringList{"15.03.2024", "A-1", "10.50", ""}));
    QCOMPARE(rowTexts(model, 1),
             (QStringList{"16.03.2024", QString::fromUtf8("Б-2"), "20.00", ""}));
    QCOMPARE(rowTexts(model, 2), (QStringList{"", "C-3", "", ""}));
    QCOMPARE(model.index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(model.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
}

void TestFbDataSetModel::followsAnEdit() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    fb::DataSetModel model(ds);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    setUp(ds, model);
    ds.open();
    ds.moveTo(1);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    ds.edit();
    ds.field("SUM1").setAsFloat(7);
    QVERIFY(changes.count() >= 1);
    QCOMPARE(changes.last().at(0).toModelIndex().row(), 1);
    QCOMPARE(model.index(1, 2).data().toString(), "7.00");

    changes.clear();
    ds.cancel(); // the old text comes back
    QVERIFY(changes.count() >= 1);
    QCOMPARE(model.index(1, 2).data().toString(), "20.00");
}

void TestFbDataSetModel::followsInsertDeleteAndClose() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    fb::DataSetModel model(ds);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    setUp(ds, model);
    ds.open();
    ds.insert();
    QCOMPARE(model.rowCount(), 4);
    ds.field("NUM").setAsString("new");
    QCOMPARE(model.index(3, 1).data().toString(), "new");
    ds.cancel();
    QCOMPARE(model.rowCount(), 3);
    ds.first();
    ds.remove();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 1).data().toString(), QString::fromUtf8("Б-2"));
    ds.cancelUpdates();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 1).data().toString(), "A-1");
    ds.close();
    QCOMPARE(model.rowCount(), 0);
}

void TestFbDataSetModel::currentRowMapsToTheCursor() {
    TestDatabase db;
    makeOper(db);
    fb::DataSet ds(db.attachment());
    fb::DataSetModel model(ds);
    setUp(ds, model);
    QSignalSpy moves(&model, &fb::DataSetModel::currentRowChanged);
    ds.open();
    QCOMPARE(model.currentRow(), 0);
    model.setCurrentRow(2);
    QCOMPARE(ds.field("PRKEY").asInteger(), 3);
    ds.prior();
    QCOMPARE(moves.last().at(0).toInt(), 1);
    QCOMPARE(model.currentRow(), 1);
    ds.locate("NUM", "A-1");
    QCOMPARE(moves.last().at(0).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestFbDataSetModel)
#include "test_data_set_model.moc"
