#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "shell/session.h"
#include "store/book_options.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using schematest::Workplace;

namespace {

const QStringList kKinds{QStringLiteral("Reserv"), QStringLiteral("Yesterday"),
                         QStringLiteral("Week")};

// A workplace with one listed book that has no backups yet and a current program version, and a
// session on its INI.
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
                                        DataStore::programVersion());
    }
    QString ini() const { return place.path(QStringLiteral("kaltro.ini")); }
    QString backup(const QString& kind) const { return DataStore::backupPath(book, kind); }
    // One value of the book read through a connection of its own.
    QString value(const QString& sql) const {
        fb::Attachment database;
        database.attach(book);
        return schematest::value(database, sql);
    }
};

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private slots:
    // ---- The start-up ----

    // A start that ends leaves no book chosen, and its end runs no exit step.
    void malformedBParameterIsShownAndEnds() {
        ListedBook b;
        Session session(b.ini());
        Dialogs dialogs;
        QCOMPARE(session.start(QStringLiteral("Bx")), StartupEnd::EndNow);
        QCOMPARE(dialogs.texts.size(), 1);
        QVERIFY2(dialogs.texts[0].contains(QStringLiteral("\"Bx\"")), qPrintable(dialogs.texts[0]));
        QVERIFY(!session.store().database().isAttached());
        QVERIFY(session.book().isNone());
        QVERIFY(!session.isRunning());
        session.finish(false);
        QCOMPARE(dialogs.texts.size(), 1);
        for (const QString& kind : kKinds)
            QVERIFY(!QFile::exists(b.backup(kind)));
    }

    void aConnectionLeftOpenStopsTheStart() {
        ListedBook b;
        Session session(b.ini());
        session.store().database().attach(b.book);
        Dialogs dialogs;
        QCOMPARE(session.start(QString()), StartupEnd::EndNow);
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
        Session session(b.ini());
        Dialogs dialogs;
        QCOMPARE(session.start(QStringLiteral("B1")), StartupEnd::GoOn);
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(QFileInfo(b.backup(QStringLiteral("Yesterday"))).size() > 1);
        QCOMPARE(QFileInfo(b.backup(QStringLiteral("Week"))).size(), 1);
        QVERIFY(session.isRunning());
        QVERIFY(session.store().database().isAttached());
        QCOMPARE(&DataStore::instance(), &session.store());
        QCOMPARE(session.store().databaseName(), b.book);
        QCOMPARE(session.book().path(), b.book);
        QCOMPARE(session.book().entry(), 0);
        QVERIFY(!session.book().onServer());
        QCOMPARE(session.store().userKey(), 1);
        QCOMPARE(session.bookCaptions(), QStringList{QStringLiteral("Касса")});
    }

    // ---- The exit steps ----

    // In order: the user's data is saved while the book is open (closingBook comes then), the
    // book closes with the backups its options choose, and the backup folders go to the extra
    // folder. Once: a second finish does nothing.
    void finishSavesClosesBacksUpAndCopies() {
        ListedBook b;
        Session session(b.ini());
        Dialogs dialogs;
        QCOMPARE(session.start(QString()), StartupEnd::GoOn);
        for (const QString& kind : kKinds)
            QVERIFY(QFile::remove(b.backup(kind)));
        BookOptions options = session.store().options();
        options.setOption(kWeekBackupFlagKey, BookOptions::flagText(false));
        const QString extra = b.place.path(QStringLiteral("extra"));
        QVERIFY(QDir().mkpath(extra));
        options.setOption(kExtraBackupFolderKey, QLatin1Char(' ') + extra + QLatin1Char(' '));
        session.store().setUserData1(QStringLiteral("Сетка=1\x01"));
        QStringList atClosing;
        connect(&session, &Session::closingBook, this, [&] {
            atClosing << b.value(QStringLiteral("SELECT DATA1 FROM USERS WHERE PRKEY=1"))
                      << (session.store().database().isAttached() ? "open" : "closed");
        });

        session.finish(false);
        QCOMPARE(atClosing, (QStringList{QStringLiteral("Сетка=1\x01"), "open"}));
        QVERIFY(!session.isRunning());
        QVERIFY(!session.store().database().isAttached());
        QVERIFY(QFileInfo(b.backup(QStringLiteral("Reserv"))).size() > 1);
        QVERIFY(QFileInfo(b.backup(QStringLiteral("Yesterday"))).size() > 1);
        QVERIFY(!QFile::exists(b.backup(QStringLiteral("Week"))));
        const QString copied = QFileInfo(b.book).completeBaseName() + QStringLiteral(".gbk");
        QVERIFY(QFile::exists(extra + QStringLiteral("/Reserv/") + copied));
        QVERIFY(QFile::exists(extra + QStringLiteral("/Yesterday/") + copied));
        QVERIFY(!QFile::exists(extra + QStringLiteral("/Week/") + copied));
        QVERIFY(dialogs.texts.isEmpty());

        QVERIFY(QFile::remove(b.backup(QStringLiteral("Reserv"))));
        session.finish(false);
        QCOMPARE(atClosing.size(), 2);
        QVERIFY(!QFile::exists(b.backup(QStringLiteral("Reserv"))));
    }

    // An extra folder that cannot be made is said once per kind; unattended, nothing is asked
    // and the backups are made all the same.
    void anExtraFolderThatCannotBeMade_data() {
        QTest::addColumn<bool>("unattended");
        QTest::newRow("attended") << false;
        QTest::newRow("unattended") << true;
    }
    void anExtraFolderThatCannotBeMade() {
        QFETCH(bool, unattended);
        ListedBook b;
        Session session(b.ini());
        Dialogs dialogs;
        QCOMPARE(session.start(QString()), StartupEnd::GoOn);
        QVERIFY(QFile::remove(b.backup(QStringLiteral("Reserv"))));
        QFile blocker(b.place.path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString extra = blocker.fileName() + QStringLiteral("/extra");
        session.store().options().setOption(kExtraBackupFolderKey, extra);

        session.finish(unattended);
        QStringList expected;
        if (!unattended)
            for (const QString& kind : kKinds)
                expected << QStringLiteral("Не удается создать каталог: ") + extra +
                                QLatin1Char('/') + kind + QLatin1Char('/');
        QCOMPARE(dialogs.texts, expected);
        QVERIFY(QFileInfo(b.backup(QStringLiteral("Reserv"))).size() > 1);
        QVERIFY(!session.store().database().isAttached());
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
