#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "shell/startup_flow.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "store/upgrade_steps.h"
#include "tests/support/store/schema_support.h"

#include <QDir>
#include <QFile>
#include <QTest>

using schematest::Dialogs;
using schematest::Workplace;

namespace {

const QStringList kKinds{QStringLiteral("Reserv"), QStringLiteral("Yesterday"),
                         QStringLiteral("Week")};

// A workplace with one listed book that has no backups yet and a current program version.
struct ListedBook {
    Workplace place;
    QString book;
    ListedBook() {
        {
            Dialogs quiet;
            book = createNewBook(BookKind::CashDesk, QStringLiteral("Касса"), place.folder(),
                                 schematest::templatesFolder());
        }
        for (const QString& kind : kKinds)
            QDir(place.path(kind)).removeRecursively();
        place.store().ini().writeString(QStringLiteral("Version"), QStringLiteral("CurrVersion"),
                                        QStringLiteral("2.18"));
    }
    QString backup(const QString& kind) const { return DataStore::backupPath(book, kind); }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void malformedBParameterIsShownAndEnds() {
        ListedBook b;
        Dialogs dialogs;
        UpgradeSteps steps;
        QCOMPARE(StartupFlow(b.place.store(), steps).run(QStringLiteral("Bx")), StartupEnd::EndNow);
        QCOMPARE(dialogs.texts.size(), 1);
        QVERIFY2(dialogs.texts[0].contains(QStringLiteral("\"Bx\"")), qPrintable(dialogs.texts[0]));
        QVERIFY(!b.place.store().database().isAttached());
        for (const QString& kind : kKinds)
            QVERIFY(!QFile::exists(b.backup(kind)));
    }

    void aConnectionLeftOpenStopsTheStart() {
        ListedBook b;
        b.place.store().database().attach(b.book);
        Dialogs dialogs;
        UpgradeSteps steps;
        QCOMPARE(StartupFlow(b.place.store(), steps).run(QString()), StartupEnd::EndNow);
        QCOMPARE(dialogs.texts,
                 QStringList{QStringLiteral("Database already connected!\nCheck Active property of "
                                            "dtmdlDataStoreProto.dbMain!")});
    }

    void firstBackupsAreMadeOnlyWhereMissingAndSilently() {
        ListedBook b;
        // "Reserv" cannot be made (a file stands where its folder goes); "Week" exists already.
        QFile blocker(b.place.path(QStringLiteral("Reserv")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(QDir().mkpath(b.place.path(QStringLiteral("Week"))));
        QFile week(b.backup(QStringLiteral("Week")));
        QVERIFY(week.open(QIODevice::WriteOnly));
        week.write("x");
        week.close();
        Dialogs dialogs;
        UpgradeSteps steps;
        QCOMPARE(StartupFlow(b.place.store(), steps).run(QStringLiteral("B1")), StartupEnd::GoOn);
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(QFileInfo(b.backup(QStringLiteral("Yesterday"))).size() > 1);
        QCOMPARE(QFileInfo(b.backup(QStringLiteral("Week"))).size(), 1);
        QVERIFY(b.place.store().database().isAttached());
        QCOMPARE(b.place.store().databaseName(), b.book);
        QCOMPARE(b.place.store().bookIndex(), 0);
        QCOMPARE(b.place.store().userKey(), 1);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup_flow.moc"
