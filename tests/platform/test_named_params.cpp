#include "platform/firebird/database_location.h"
#include "platform/firebird/named_params.h"

#include <QTest>

// The ":NAME" rewriter and the split of server paths, without a database.
class TestFbParams : public QObject {
    Q_OBJECT

private slots:
    void rewrites_data();
    void rewrites();
    void splitsServerPaths_data();
    void splitsServerPaths();
};

void TestFbParams::rewrites_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("positions");

    QTest::newRow("plain") << "SELECT * FROM T WHERE A=:A AND B = :b_2$"
                           << "SELECT * FROM T WHERE A=? AND B = ?" << QStringList{"A", "B_2$"}
                           << QList<int>{0, 1};
    QTest::newRow("same name twice, any case")
        << "UPDATE T SET A=:V WHERE B=:v OR C=:W"
        << "UPDATE T SET A=? WHERE B=? OR C=?" << QStringList{"V", "W"} << QList<int>{0, 0, 1};
    QTest::newRow("question mark in a literal")
        << "SELECT LNAM FROM PARTS WHERE LNAM LIKE '?%' AND TYP=:TYP"
        << "SELECT LNAM FROM PARTS WHERE LNAM LIKE '?%' AND TYP=?" << QStringList{"TYP"}
        << QList<int>{0};
    QTest::newRow("colon names in literals and comments")
        << "SELECT ':X', \"a :Y\" -- :Z ?\nFROM T /* :Q ? */ WHERE A=:A"
        << "SELECT ':X', \"a :Y\" -- :Z ?\nFROM T /* :Q ? */ WHERE A=?" << QStringList{"A"}
        << QList<int>{0};
    QTest::newRow("doubled quotes stay inside the literal")
        << "SELECT 'it''s :X', \"say \"\":Y\"\"\" FROM T WHERE A=:A"
        << "SELECT 'it''s :X', \"say \"\":Y\"\"\" FROM T WHERE A=?" << QStringList{"A"}
        << QList<int>{0};
    QTest::newRow("unterminated literal and comment run to the end")
        << "SELECT 'open :X"
        << "SELECT 'open :X" << QStringList{} << QList<int>{};
    QTest::newRow("unnamed markers get entries of their own")
        << "INSERT INTO T VALUES (?, :N, ?)"
        << "INSERT INTO T VALUES (?, ?, ?)" << QStringList{"", "N", ""} << QList<int>{0, 1, 2};
    QTest::newRow("colon without a name")
        << "SELECT A FROM T WHERE B=: 1 OR C=:1"
        << "SELECT A FROM T WHERE B=: 1 OR C=:1" << QStringList{} << QList<int>{};
    QTest::newRow("PSQL body would be rewritten: it needs the untouched mode")
        << "SELECT COUNT(*) FROM OPER INTO :VCNT;"
        << "SELECT COUNT(*) FROM OPER INTO ?;" << QStringList{"VCNT"} << QList<int>{0};
}

void TestFbParams::rewrites() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, positions);
    const fb::ParsedSql parsed = fb::parseNamedParams(sql);
    QCOMPARE(parsed.sql, expected);
    QCOMPARE(parsed.names, names);
    QCOMPARE(parsed.positionToName, positions);
}

void TestFbParams::splitsServerPaths_data() {
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("path");
    QTest::newRow("local file") << "/data/book.fdb"
                                << ""
                                << "/data/book.fdb";
    QTest::newRow("relative file") << "./a:b.fdb"
                                   << ""
                                   << "./a:b.fdb";
    QTest::newRow("server") << "kassa:/data/book.fdb"
                            << "kassa"
                            << "/data/book.fdb";
    QTest::newRow("drive letter") << "C:\\Books\\book.fdb"
                                  << ""
                                  << "C:\\Books\\book.fdb";
    QTest::newRow("server with drive") << "10.0.0.5:C:\\book.fdb"
                                       << "10.0.0.5"
                                       << "C:\\book.fdb";
}

void TestFbParams::splitsServerPaths() {
    QFETCH(QString, full);
    QFETCH(QString, host);
    QFETCH(QString, path);
    const fb::DatabaseLocation location(full);
    QCOMPARE(location.host(), host);
    QCOMPARE(location.file(), path);
    QCOMPARE(location.onServer(), !host.isEmpty());
    QCOMPARE(location.text(), full);
}

QTEST_GUILESS_MAIN(TestFbParams)
#include "test_named_params.moc"
