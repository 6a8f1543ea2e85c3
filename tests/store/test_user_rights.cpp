#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "store/rights_table.h"
#include "store/user_rights.h"
#include "tests/support/store/store_notices.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QString record(const QString& key, const QString& value) {
    return setKeyValue(QString(), key, value);
}

} // namespace

class TestRights : public QObject {
    Q_OBJECT
private slots:
    void onlyAnExactNDenies_data() {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("allowed");
        const QString denied = record("IncomeDoc2", "N");
        QTest::newRow("denied") << denied << "IncomeDoc2" << false;
        QTest::newRow("other action") << denied << "IncomeDoc3" << true;
        QTest::newRow("other area") << denied << "IssueDoc2" << true;
        QTest::newRow("longer key") << denied << "IncomeDoc" << true;
        QTest::newRow("lower case") << record("Options1", "n") << "Options1" << true;
        QTest::newRow("No") << record("Options1", "No") << "Options1" << true;
        QTest::newRow("Y") << record("Options1", "Y") << "Options1" << true;
        QTest::newRow("empty value") << record("Options1", "") << "Options1" << true;
        QTest::newRow("empty text") << QString() << "Options1" << true;
        QTest::newRow("among others")
            << setKeyValue(setKeyValue(record("IncomeDoc1", "Y"), "Options1", "N"), "VocsUsers1",
                           "Y")
            << "Options1" << false;
        QTest::newRow("text that is no record")
            << QStringLiteral("Options1=N") << "Options1" << true;
    }
    void onlyAnExactNDenies() {
        QFETCH(QString, rights);
        QFETCH(QString, key);
        QFETCH(bool, allowed);
        QCOMPARE(UserRights::rightsAllow(rights, key), allowed);
    }

    // The logged-on user's rights are read from the book at every call.
    void everyBoxTickedGivesTheFiftyThreeRecordsInOrder() {
        const QString text = permissionsText(permissionsFromText(QString()));
        const QStringList records = text.split(QChar(kKeyValueRecordEnd), Qt::SkipEmptyParts);
        QCOMPARE(records.size(), 53);
        QCOMPARE(records.first(), "IncomeDoc1=Y");
        // Recalculating is listed between editing and deleting.
        const int movement = records.indexOf("MovementReport1=Y");
        QCOMPARE(records.mid(movement, 6),
                 QStringList({"MovementReport1=Y", "MovementReport2=Y", "MovementReport6=Y",
                              "MovementReport4=Y", "MovementReport7=Y", "MovementReport8=Y"}));
        QCOMPARE(records.last(), "Options1=Y");
        QHash<QString, int> perArea;
        for (const QString& record : records) {
            QVERIFY(record.endsWith("=Y"));
            perArea[record.left(record.indexOf('=') - 1)]++;
        }
        const QHash<QString, int> expected = {
            {"IncomeDoc", 5},    {"IssueDoc", 5},        {"MovementReport", 6},  {"ReestrDocs", 4},
            {"PayersReport", 6}, {"AcceptorsReport", 6}, {"AnIssueReport", 3},   {"VocsIncome", 5},
            {"VocsIssue", 5},    {"VocsReasons", 5},     {"VocsInsertOwner", 1}, {"VocsUsers", 1},
            {"Options", 1}};
        QCOMPARE(perArea, expected);
    }

    void recordsFollowTheStoredText() {
        QString rights = record("IssueDoc4", "N");
        rights = setKeyValue(rights, "IssueDoc10", "N");
        rights = setKeyValue(rights, "Options1", "n");
        const QList<Permission> permissions = permissionsFromText(rights);
        QStringList denied;
        for (const Permission& permission : permissions) {
            const RightsArea& area = rightsAreas().at(permission.area);
            if (permission.action == RightsAction::Heading)
                QVERIFY(permission.allowed && *area.word == '\0');
            if (!permission.allowed)
                denied << rightsKey(area, permission.action);
        }
        QCOMPARE(denied, QStringList{"IssueDoc4"});
        // Headings write nothing; a denied record is written as "N" in its place.
        const QString text = permissionsText(permissions);
        QVERIFY(text.contains("IssueDoc3=Y\001IssueDoc4=N\001IssueDoc7=Y"));
        QVERIFY(!text.contains("0="));
        QCOMPARE(permissionsFromText(text).size(), permissions.size());
        QCOMPARE(permissionsText(permissionsFromText(text)), text);
    }

    void hasPermissionReadsTheUsersRow() {
        fb::prepareEmbeddedEngine();
        QTemporaryDir dir;
        StoreNotices quiet;
        DataStore store(dir.filePath("kaltro.ini"));
        const QString book = createNewBook(BookKind::CashDesk, QStringLiteral("Касса"), dir.path(),
                                           QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR));
        store.database().attach(book);
        store.setUserKey(1);
        QVERIFY(UserRights(store).hasPermission("IncomeDoc1"));

        auto setRights = [&](const QString& rights) {
            fb::Transaction tr(store.database());
            fb::Statement q(tr);
            q.prepare("UPDATE USERS SET DATA2=:DATA2 WHERE PRKEY=1");
            q.param("DATA2").setString(rights);
            q.execute();
            tr.commit();
        };
        setRights(record("IncomeDoc1", "N"));
        QVERIFY(!UserRights(store).hasPermission("IncomeDoc1"));
        QVERIFY(UserRights(store).hasPermission("IssueDoc1"));
        setRights(record("IncomeDoc1", "n"));
        QVERIFY(UserRights(store).hasPermission("IncomeDoc1"));

        // No such user: nothing is denied.
        setRights(record("IncomeDoc1", "N"));
        store.setUserKey(0);
        QVERIFY(UserRights(store).hasPermission("IncomeDoc1"));
        store.database().detach();
    }
};

QTEST_MAIN(TestRights)
#include "test_user_rights.moc"
