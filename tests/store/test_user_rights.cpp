#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "store/user_rights.h"
#include "ui/message_box.h"

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
    void hasPermissionReadsTheUsersRow() {
        fb::prepareEmbeddedEngine();
        QTemporaryDir dir;
        ScopedDialogAnswerer quiet([](const DialogRequest&) { return DialogAnswer{}; });
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
