#include "platform/firebird/engine_shutdown.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "tests/support/platform/test_database.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

// Whether this process holds the file open.
bool fileIsOpen(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& entry : descriptors.entryInfoList(QDir::Files | QDir::System))
        if (entry.symLinkTarget() == target)
            return true;
    return false;
}

qint64 countOf(fb::Attachment& attachment, const QString& table) {
    fb::Transaction tr(attachment);
    fb::Statement q(tr, QStringLiteral("SELECT COUNT(*) FROM ") + table);
    q.execute();
    q.fetch();
    return q.field(0).asInteger();
}

} // namespace

// The engine's own handler of SIGINT and SIGTERM asks for a shutdown with the reason "signal";
// fb_shutdown with that reason is the same request, made here without a signal.
class TestEngineShutdown : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { fb::refuseSignalShutdown(); }

    void aShutdownForASignalIsRefusedAndTheDatabaseStaysOpen() {
        testsupport::TestDatabase db;
        db.exec("CREATE TABLE T (PRKEY INTEGER NOT NULL)");
        db.exec("INSERT INTO T (PRKEY) VALUES (1)");
        QVERIFY(fileIsOpen(db.path()));
        QVERIFY(fb_shutdown(0, fb_shutrsn_signal) != 0);
        QVERIFY(fileIsOpen(db.path()));
        QCOMPARE(countOf(db.attachment(), QStringLiteral("T")), 1);
        db.attachment().detach();
        db.attachment().attach(db.path());
        QCOMPARE(countOf(db.attachment(), QStringLiteral("T")), 1);
    }

    // Last: the engine is shut down afterwards.
    void theProgramsOwnShutdownGoesOn() {
        testsupport::TestDatabase db;
        QVERIFY(fileIsOpen(db.path()));
        fb::shutDownEngine();
        QVERIFY(!fileIsOpen(db.path()));
        QVERIFY_THROWS_EXCEPTION(fb::Error,
                                 countOf(db.attachment(), QStringLiteral("RDB$DATABASE")));
    }
};

QTEST_MAIN(TestEngineShutdown)
#include "test_engine_shutdown.moc"
