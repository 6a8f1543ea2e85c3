#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "tests/support/platform/test_database.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct HelperResult {
    int exitCode = -1;
    QString out;
    QString err;
};

HelperResult runHelper(const QStringList& args, const QProcessEnvironment& env) {
    QProcess helper;
    helper.setProcessEnvironment(env);
    helper.start(QStringLiteral(FB_SHARE_HELPER), args);
    HelperResult result;
    if (!helper.waitForFinished(120000)) {
        helper.kill();
        helper.waitForFinished();
        result.err = "the helper did not finish";
        return result;
    }
    result.exitCode = helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1;
    result.out = QString::fromLocal8Bit(helper.readAllStandardOutput()).trimmed();
    result.err = QString::fromLocal8Bit(helper.readAllStandardError()).trimmed();
    return result;
}

} // namespace

class TestFbEmbedded : public QObject {
    Q_OBJECT

private slots:
    void twoProcessesShareOneBook();
    void privateRootIsPrepared();
    void userRootIsLeftAlone();
};

void TestFbEmbedded::twoProcessesShareOneBook() {
    testsupport::TestDatabase db; // prepares this process's engine first
    db.exec("CREATE TABLE T (PRKEY INTEGER NOT NULL)");
    fb::Transaction tr(db.attachment());
    fb::Statement insert(tr, "INSERT INTO T (PRKEY) VALUES (1)");
    insert.execute();

    // The helper inherits FIREBIRD from this process, as a second copy of the program would
    // prepare the same root for itself.
    const HelperResult helper =
        runHelper({"insert", db.path(), "2"}, QProcessEnvironment::systemEnvironment());
    QVERIFY2(helper.exitCode == 0, qPrintable(helper.err));
    tr.commit();

    fb::Statement select(tr, "SELECT PRKEY FROM T ORDER BY PRKEY");
    select.execute();
    QList<qint64> keys;
    while (select.fetch())
        keys << select.field(0).asInteger();
    QCOMPARE(keys, (QList<qint64>{1, 2}));
}

void TestFbEmbedded::privateRootIsPrepared() {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("FIREBIRD");
    env.insert("HOME", home.path());
    env.insert("XDG_CACHE_HOME", home.filePath("cache"));
    const HelperResult helper = runHelper({"root"}, env);
    QVERIFY2(helper.exitCode == 0, qPrintable(helper.err));
    QCOMPARE(helper.out, home.filePath("cache/kaltro/firebird"));

    QFile config(helper.out + "/firebird.conf");
    QVERIFY(config.open(QIODevice::ReadOnly));
    QVERIFY(config.readAll().contains("ServerMode = SuperClassic"));
    QVERIFY(QFileInfo(helper.out + "/plugins/libEngine12.so").exists());
    QVERIFY(QFileInfo(helper.out + "/firebird.msg").exists());
    QVERIFY(QFileInfo(helper.out + "/intl/fbintl.conf").exists());
    const QFileInfo intl(helper.out + "/intl/libfbintl.so");
    QVERIFY(intl.exists() && !intl.isSymLink());

    // A second start finds everything in place.
    QCOMPARE(runHelper({"root"}, env).out, helper.out);
}

void TestFbEmbedded::userRootIsLeftAlone() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FIREBIRD", fb::systemFirebirdRoot());
    const HelperResult helper = runHelper({"root"}, env);
    QVERIFY2(helper.exitCode == 0, qPrintable(helper.err));
    QCOMPARE(helper.out, fb::systemFirebirdRoot());
}

QTEST_GUILESS_MAIN(TestFbEmbedded)
#include "test_embedded_engine.moc"
