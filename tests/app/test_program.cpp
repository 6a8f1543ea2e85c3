#include "app/main_window.h"
#include "app/program.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "shell/document_windows.h"
#include "shell/running_copy.h"
#include "tests/support/core/part_writer.h"
#include "tests/support/core/small_file_system.h"
#include "tests/support/shell/book_machine.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <csignal>

using testsupport::SmallFileSystem;

namespace {

const QString kDB = QStringLiteral("DB");
const QStringList kKinds{QStringLiteral("Reserv"), QStringLiteral("Yesterday"),
                         QStringLiteral("Week")};

QString backupOf(const QString& book, const QString& kind) {
    return DataStore::backupPath(book, kind);
}

qint64 sizeOf(const QString& path) {
    return QFileInfo(path).size();
}

// The windows shown modally while it lives are noted and closed (rejected), but for those it is
// told to accept; no test waits on a window.
class ModalWatch : public QObject {
public:
    QStringList seen;
    QStringList accept;
    ModalWatch() {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }

private:
    void answer() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        seen << dialog->objectName();
        if (accept.contains(dialog->objectName()))
            dialog->accept();
        else
            dialog->reject();
    }
    QTimer m_timer;
};

// A document window that answers the close question as told.
class Document : public QWidget {
public:
    bool agrees = true;
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++asked;
        event->setAccepted(agrees);
    }
};

// The copy of another process for the switch: it answers on its own thread.
struct OtherCopy {
    QThread thread;
    RunningCopy* copy = new RunningCopy;
    explicit OtherCopy(const QString& book) {
        copy->moveToThread(&thread);
        thread.start();
        QMetaObject::invokeMethod(
            copy, [this, book] { copy->listen(book); }, Qt::BlockingQueuedConnection);
    }
    ~OtherCopy() {
        QMetaObject::invokeMethod(copy, &QObject::deleteLater);
        thread.quit();
        thread.wait();
    }
};

// The exit steps did not run: nothing was copied to the extra folder (when the book names
// one) and the "Reserv" file, renewed at every exit, is still the fake one (unless an upgrade
// renewed it).
void checkNoExitSteps(MainWindow& main, const QString& book, bool reservUntouched = true) {
    main.close();
    QVERIFY(!QFileInfo::exists(QFileInfo(book).absolutePath() + QStringLiteral("/extra/Reserv")));
    if (reservUntouched)
        QCOMPARE(sizeOf(backupOf(book, QStringLiteral("Reserv"))), 1);
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void init() { datetime::setNowForTesting({}); }

    void startMakesTheMissingBackupsAndOpensTheBook() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса №1"));
        const DateTime now = datetime::encodeDate(2026, 3, 15) + 0.123456789;
        datetime::setNowForTesting([now] { return now; });
        Dialogs dialogs;
        ModalWatch modal;
        QSignalSpy displayName(qApp, &QGuiApplication::applicationDisplayNameChanged);
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QCOMPARE(MainWindowBase::current(), &main);
        for (const QString& kind : kKinds)
            QVERIFY2(sizeOf(backupOf(book, kind)) > 1, qPrintable(kind));
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(modal.seen.isEmpty());
        QVERIFY(DataStore::instance().database().isAttached());
        QCOMPARE(DataStore::instance().userKey(), 1);
        QCOMPARE(main.browsePeriod().start, now - 31);
        QCOMPARE(main.browsePeriod().end, now + 10);

        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Касса №1"));
        // Messages carry the application's title; Qt's display name stays unset, or Qt would
        // append it to the title of every other window.
        QCOMPARE(dialogs::applicationTitle(), QStringLiteral("Kaltro: Касса №1"));
        QCOMPARE(displayName.count(), 0);
        QCOMPARE(main.paneTitle(), QStringLiteral("Касса №1"));
        QVERIFY(!main.findChild<QToolButton*>("switchButton")->isVisible());
        QCOMPARE(main.helpIndexAction()->text(), QStringLiteral("Справка по Kaltro"));
        QCOMPARE(main.productSiteAction()->text(), QStringLiteral("Kaltro в Интернете..."));
        QCOMPARE(main.findChild<QLabel*>("programNameLabel")->text(),
                 QStringLiteral("Kaltro 2.18"));
        QCOMPARE(ownerType(DataStore::instance()), int(BookKind::CashDesk));
        auto* front = main.findChild<QLabel*>("programNameLabel");
        auto* back = main.findChild<QLabel*>("programNameShadowLabel");
        // The splash stays centred in the pane area, its title shadowed, after a resize.
        main.setWindowState(Qt::WindowNoState);
        for (const QSize size : {QSize(900, 650), QSize(1200, 800)}) {
            main.resize(size);
            QTRY_COMPARE(main.size(), size);
            QApplication::processEvents();
            auto* splash = main.findChild<QWidget*>("splash");
            auto* center = main.findChild<QWidget*>("splashFrame");
            QCOMPARE(center->x(), (splash->width() - center->width()) / 2);
            QCOMPARE(center->y(), (splash->height() - center->height()) / 2);
            QCOMPARE(back->x(), front->x() - 1);
        }
        main.close();
    }

    void exitSavesTheUserDataAndMakesTheChosenBackups() {
        Machine m;
        const QString book = m.addBook(BookKind::BankAccount, QStringLiteral("Счет"));
        QTemporaryDir extra;
        Dialogs dialogs;
        {
            MainWindow main(m.ini);
            QCOMPARE(main.runStartup(), StartupEnd::GoOn);
            main.show();
            DataStore::instance().options().setOption("ReservBackupFlag", "-1");
            DataStore::instance().options().setOption("YesterdayBackupFlag", "0");
            DataStore::instance().options().setOption("WeekBackupFlag", "-1");
            DataStore::instance().options().setOption("RezFolder", " " + extra.path() + " ");
            DataStore::instance().setUserData1(QStringLiteral("Сетка=1\x01"));
            // Backups as old as a month: those chosen are renewed at exit.
            m.fakeBackups(book);
            const QDateTime monthAgo = QDateTime::currentDateTime().addDays(-30);
            for (const QString& kind : kKinds) {
                QFile f(backupOf(book, kind));
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.setFileTime(monthAgo, QFileDevice::FileModificationTime));
            }
            QVERIFY(main.close());
            QVERIFY(!DataStore::instance().database().isAttached());
        }
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(sizeOf(backupOf(book, "Reserv")) > 1);
        QCOMPARE(sizeOf(backupOf(book, "Yesterday")), 1);
        QVERIFY(sizeOf(backupOf(book, "Week")) > 1);
        QCOMPARE(readValue(book, "SELECT DATA1 FROM USERS WHERE PRKEY=1"),
                 QStringLiteral("Сетка=1\x01"));
        // The extra folder receives the book's own backup folders.
        const QString name = QFileInfo(backupOf(book, "Reserv")).fileName();
        for (const QString& kind : kKinds) {
            QFile copy(extra.filePath(kind + QLatin1Char('/') + name));
            QFile original(backupOf(book, kind));
            QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(kind));
            QVERIFY(original.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), original.readAll());
        }

        // The next start reads the user's data back.
        MainWindow again(m.ini);
        QCOMPARE(again.runStartup(), StartupEnd::GoOn);
        QCOMPARE(DataStore::instance().userData1(), QStringLiteral("Сетка=1\x01"));
    }

    // The book's disk is full when the user leaves: the user's data cannot be saved. That is an
    // error of the disk, not a lost connection: it is shown with the engine's text, and the
    // backups and their copies to the extra folder are still made.
    void aFullDiskAtExitIsShownAndTheBackupsAreStillMade() {
        if (const QString why = SmallFileSystem::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        Machine m;
        SmallFileSystem disk(4 * 1024 * 1024);
        const QString book = disk.filePath("Kaltro1.fdb");
        QVERIFY(QFile::copy(m.addBook(BookKind::CashDesk, QStringLiteral("Касса")), book));
        IniFile(m.ini).writeString(kDB, QStringLiteral("DatabasePath_0"), book);
        // The backups' folders lie on another disk.
        for (const QString& kind : kKinds) {
            QVERIFY(QDir().mkpath(m.dir.filePath(kind)));
            QVERIFY(QFile::link(m.dir.filePath(kind), disk.filePath(kind)));
        }
        m.fakeBackups(book);
        QTemporaryDir extra;
        Dialogs dialogs;
        {
            MainWindow main(m.ini);
            QCOMPARE(main.runStartup(), StartupEnd::GoOn);
            main.show();
            DataStore::instance().options().setOption("ReservBackupFlag", "-1");
            DataStore::instance().options().setOption("RezFolder", extra.path());
            disk.fill();
            DataStore::instance().setUserData1(QString(300 * 1024, u'x') + u'\x01');
            QVERIFY(main.close());
        }
        QCOMPARE(dialogs.texts.size(), 1);
        QVERIFY2(dialogs.texts[0].contains(QStringLiteral("No space left on device")),
                 qPrintable(dialogs.texts[0]));
        QVERIFY(sizeOf(backupOf(book, "Reserv")) > 1);
        QCOMPARE(sizeOf(extra.filePath("Reserv/Kaltro1.gbk")), sizeOf(backupOf(book, "Reserv")));
    }

    void anExtraFolderThatCannotBeMadeIsSaidOncePerKind() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        QTemporaryDir extra;
        QFile blocker(extra.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        DataStore::instance().options().setOption("RezFolder", extra.filePath("file"));
        QVERIFY(main.close());
        QCOMPARE(dialogs.texts.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(dialogs.texts[i], QStringLiteral("Не удается создать каталог: ") +
                                           extra.filePath("file/" + kKinds[i] + "/"));
        QVERIFY(sizeOf(backupOf(book, "Reserv")) > 0);
    }

    void iniSwitchStopsEveryBackup() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        IniFile(m.ini).writeInteger(kDB, QStringLiteral("Backup"), 0);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QVERIFY(main.close());
        for (const QString& kind : kKinds)
            QVERIFY2(!QFileInfo::exists(backupOf(book, kind)), qPrintable(kind));
        QVERIFY(dialogs.texts.isEmpty());
    }

    void openDocumentWindowsAreAskedFirst() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        m.fakeBackups(book);
        Document doc;
        DocumentWindows::add(&doc);
        doc.show();
        doc.agrees = false;
        QVERIFY(!main.close());
        QVERIFY(main.isVisible());
        QVERIFY(doc.isVisible());
        QVERIFY(DataStore::instance().database().isAttached());
        QCOMPARE(sizeOf(backupOf(book, "Reserv")), 1);
        doc.agrees = true;
        QVERIFY(main.close());
        QVERIFY(!doc.isVisible());
        QVERIFY(!DataStore::instance().database().isAttached());
        QVERIFY(sizeOf(backupOf(book, "Reserv")) > 1);
    }

    void freshMachineCreatesTheFirstBookAndOpensIt() {
        QTemporaryDir folder;
        const QString ini = folder.filePath("kaltro.ini");
        const QString books = folder.filePath("Books");
        Dialogs dialogs;
        dialogs.answer = [&](const DialogRequest& r) {
            if (r.kind == DialogKind::Message && r.caption == "Новая база данных")
                return DialogAnswer{Answer::Yes, {}};
            if (r.kind == DialogKind::Input)
                return DialogAnswer{Answer::Ok, QStringLiteral("Главная касса")};
            if (r.kind == DialogKind::Folder)
                return DialogAnswer{Answer::Ok, books};
            return DialogAnswer{Answer::Ok, {}};
        };
        ModalWatch modal;
        MainWindow main(ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QVERIFY2(modal.seen.isEmpty(), qPrintable(modal.seen.join(", ")));
        const QString book = books + QStringLiteral("/Kaltro1.fdb");
        QCOMPARE(DataStore::instance().databaseName(), book);
        QVERIFY(DataStore::instance().database().isAttached());
        QCOMPARE(ownerType(DataStore::instance()), int(BookKind::CashDesk));
        QCOMPARE(DataStore::instance().options().option("DBVersion"), QStringLiteral("2.18"));
        QCOMPARE(IniFile(ini).readString("Version", "CurrVersion", ""), QStringLiteral("2.18"));
        // The question, the name, the folder and the success message; no error.
        QCOMPARE(dialogs.requests.size(), 4);
        QVERIFY(dialogs.texts.last().startsWith(QStringLiteral("Операция произведена успешно!")));
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Главная касса"));
        QVERIFY(main.close());
    }

    void programVersionChangedRunsTheUpgradeWindowInstead() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        m.fakeBackups(book);
        m.setExtraFolder(book);
        IniFile(m.ini).writeString("Version", "CurrVersion", "2.10");
        Dialogs dialogs;
        ModalWatch modal;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::Terminate);
        QCOMPARE(modal.seen, QStringList{QStringLiteral("upgradeWindow")});
        QVERIFY(!DataStore::instance().database().isAttached());
        QVERIFY(dialogs.texts.isEmpty());
        checkNoExitSteps(main, book);
        QCOMPARE(IniFile(m.ini).readString("Version", "CurrVersion", ""), QStringLiteral("2.10"));
    }

    void olderBookAsksAndEndsEitherWay_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("versionAfter");
        QTest::newRow("cancel") << "2.10" << Answer::Cancel << "2.10";
        QTest::newRow("ok") << "2.17" << Answer::Ok << "2.18";
    }
    void olderBookAsksAndEndsEitherWay() {
        QFETCH(QString, version);
        QFETCH(Answer, answer);
        QFETCH(QString, versionAfter);
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        m.setOption(book, "DBVersion", version);
        m.setExtraFolder(book);
        m.fakeBackups(book);
        Dialogs dialogs;
        dialogs.answer = [&](const DialogRequest& r) {
            return DialogAnswer{r.caption == "Ошибка" ? answer : Answer::Ok, {}};
        };
        ModalWatch modal;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::Terminate);
        QCOMPARE(dialogs.requests.first().caption, QStringLiteral("Ошибка"));
        QCOMPARE(dialogs.texts.first(),
                 QStringLiteral("Неверная версия базы данных!\nВерсия базы данных: ") + version +
                     QStringLiteral("\nНеобходима версия: 2.18\n\nПроводить обновление базы "
                                    "данных?"));
        // No logon and no later window after the answer.
        QVERIFY(modal.seen.isEmpty());
        QCOMPARE(DataStore::instance().userKey(), 0);
        QCOMPARE(DataStore::instance().options().option("DBVersion"), versionAfter);
        checkNoExitSteps(main, book, answer == Answer::Cancel);
    }

    void refusedLogonEnds() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        execute(book, "INSERT INTO USERS (PRKEY, LNAM, ISADMIN, PASSW) "
                      "VALUES (2, 'Кассир', 0, '26464545')");
        m.setExtraFolder(book);
        m.fakeBackups(book);
        Dialogs dialogs;
        ModalWatch modal;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::Terminate);
        QCOMPARE(modal.seen, QStringList{QStringLiteral("logonDialog")});
        QCOMPARE(DataStore::instance().userKey(), 0);
        checkNoExitSteps(main, book);
    }

    void bookThatCannotBeOpenedSaysSoTwice() {
        Machine m;
        const QString book = m.dir.filePath("broken.fdb");
        QFile broken(book);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'z'));
        broken.close();
        IniFile ini(m.ini);
        ini.writeString("Version", "CurrVersion", "2.18");
        ini.writeInteger(kDB, "DatabaseCount", 1);
        ini.writeString(kDB, "DatabaseCaption_0", "Сломанная");
        ini.writeString(kDB, "DatabasePath_0", book);
        m.fakeBackups(book);
        Dialogs dialogs;
        ModalWatch modal;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::EndNow);
        QCOMPARE(dialogs.texts.size(), 2);
        QCOMPARE(dialogs.texts[0], QStringLiteral("Не удалось подключиться к базе данных."));
        QVERIFY(dialogs.texts[1].startsWith(QStringLiteral("Возникла ошибка:\n\n")));
        QVERIFY(dialogs.texts[1].size() > QStringLiteral("Возникла ошибка:\n\n").size());
        QVERIFY(modal.seen.isEmpty());
        checkNoExitSteps(main, book);
    }

    void programBlockRunsTheLoopOnlyWhenTheStartGoesOn() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        {
            // A start that ends returns at once, with no window left to close.
            IniFile(m.ini).writeString(kDB, "DatabasePath_0", m.dir.filePath("none.fdb"));
            Dialogs dialogs;
            QCOMPARE(runProgram(m.ini), 0);
            QCOMPARE(dialogs.texts.size(), 2);
        }
        IniFile(m.ini).writeString(kDB, "DatabasePath_0", book);
        m.fakeBackups(book);
        Dialogs dialogs;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = MainWindowBase::current() && MainWindowBase::current()->isVisible();
            MainWindowBase::current()->close();
        });
        QCOMPARE(runProgram(m.ini), 0);
        QVERIFY(shown);
        QVERIFY(sizeOf(backupOf(book, "Reserv")) > 1);
        QVERIFY(!MainWindowBase::current());
    }

    // What copies killed while they wrote beside the book left goes at the next start: the
    // unfinished file of a new book in the book's folder, and that of a backup of the book.
    void theStartRemovesWhatKilledCopiesLeft() {
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        m.fakeBackups(book);
        QStringList left;
        for (const QString& target :
             {QFileInfo(book).dir().filePath("Kaltro.fdb"), backupOf(book, "Week")}) {
            testsupport::PartWriter killed(PART_WRITER, target);
            QVERIFY(!killed.part().isEmpty() && killed.kill());
            left << killed.part();
        }
        Dialogs dialogs;
        QStringList leftAtStart;
        QTimer::singleShot(0, [&] {
            for (const QString& part : left)
                if (QFileInfo::exists(part))
                    leftAtStart << part;
            MainWindowBase::current()->close();
        });
        QCOMPARE(runProgram(m.ini), 0);
        QCOMPARE(leftAtStart, QStringList{});
        QCOMPARE(sizeOf(backupOf(book, "Week")), 1);
        QVERIFY(dialogs.texts.isEmpty());
    }

    void aSignalEndsTheProgramOnTheExitPathUnasked_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("inModalWindow");
        QTest::newRow("SIGTERM in the main loop") << SIGTERM << false;
        QTest::newRow("SIGHUP in a modal window") << SIGHUP << true;
    }
    void aSignalEndsTheProgramOnTheExitPathUnasked() {
        QFETCH(int, signalNumber);
        QFETCH(bool, inModalWindow);
        Machine m;
        const QString book = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        m.fakeBackups(book);
        Dialogs dialogs;
        Document doc;
        bool modalEnded = false;
        QTimer::singleShot(0, [&] {
            DataStore::instance().setUserData1(QStringLiteral("Сетка=2\x01"));
            DocumentWindows::add(&doc);
            doc.show();
            if (!inModalWindow) {
                raise(signalNumber);
                return;
            }
            QDialog modal;
            QTimer::singleShot(0, [&] { raise(signalNumber); });
            modal.exec();
            modalEnded = true;
        });
        QCOMPARE(runProgram(m.ini), 0);
        QCOMPARE(modalEnded, inModalWindow);
        // The document window was not asked, and nothing was shown.
        QCOMPARE(doc.asked, 0);
        QVERIFY(!doc.isVisible());
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(!MainWindowBase::current());
        QVERIFY(sizeOf(backupOf(book, "Reserv")) > 1);
        QCOMPARE(readValue(book, "SELECT DATA1 FROM USERS WHERE PRKEY=1"),
                 QStringLiteral("Сетка=2\x01"));
    }

    void qtsOwnTextsSpeakRussian() {
        QVERIFY(loadQtTranslations());
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    }

    void switchBetweenBooks() {
        Machine m;
        const QString first = m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        const QString second = m.addBook(BookKind::BankAccount, QStringLiteral("Счет"));
        Dialogs dialogs;
        ModalWatch modal;
        modal.accept << QStringLiteral("bookChooser");
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QCOMPARE(DataStore::instance().databaseName(), first);
        main.show();
        QVERIFY(main.findChild<QToolButton*>("switchButton")->isVisible());
        QCOMPARE(main.session().bookCaptions(), (QStringList{"Касса", "Счет"}));
        QCOMPARE(main.session().bookCaptions().size(), 2);
        QCOMPARE(main.findChild<QAction*>("switchBookAction1")->text(), QStringLiteral("Счет"));

        // A program that notes its arguments stands in for the new copy.
        const QString noted = m.dir.filePath("arguments.txt");
        const QString program = m.dir.filePath("copy.sh");
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"" +
                     noted.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        main.session().setCopyProgram(program);

        main.session().switchToBook(0); // this copy's own book: nothing started
        main.findChild<QAction*>("switchBookAction1")->trigger();
        QTRY_VERIFY(QFile::exists(noted));
        QFile args(noted);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("B2|"));
        QVERIFY(QFile::remove(noted));

        // A copy that has the second book open is brought to the front instead.
        {
            OtherCopy other(second);
            QSignalSpy raised(other.copy, &RunningCopy::raiseRequested);
            main.session().switchToBook(1);
            QVERIFY(raised.count() == 1 || raised.wait());
        }
        QVERIFY(!QFile::exists(noted));

        main.session().setCopyProgram(m.dir.filePath("no-such-program"));
        main.session().switchToBook(1);
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].caption, QStringLiteral("Ошибка"));
        QVERIFY(dialogs.texts[0].contains(QStringLiteral("Счет")));
        QVERIFY(main.close());
    }

    void helpPopupsAndTheContextListing() {
        Machine m;
        m.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        // The help file beside the executable, with the pop-up of the exit button.
        const QString help = DataStore::instance().helpFile();
        QDir(help).removeRecursively();
        QVERIFY(QDir().mkpath(help));
        QFile context(help + "/Context.txt");
        QVERIFY(context.open(QIODevice::WriteOnly));
        context.write(".topic 1021\nВыход из программы\n");
        context.close();

        auto* exit = main.findChild<QToolButton*>("exitButton");
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key_F1, Qt::ShiftModifier);
        QTest::mouseClick(exit, Qt::LeftButton);
        QVERIFY(main.isVisible()); // the click in the mode did not close the window
        QLabel* popup = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "helpPopup" && w->isVisible())
                popup = qobject_cast<QLabel*>(w);
        QVERIFY(popup);
        QCOMPARE(popup->text(), QStringLiteral("Выход из программы"));
        popup->close();

        QTest::keyClick(&main, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(dialogs.texts.size(), 1);
        const QString listing = dialogs.texts[0];
        for (const char* line : {"  helpButton  1020\n", "  exitButton  1021\n",
                                 "paneTitleLabel  1023\n", "splash  1022\n"})
            QVERIFY2(listing.contains(line), qPrintable(listing));
        QDir(help).removeRecursively();
        QVERIFY(main.close());
    }
};

QTEST_MAIN(TestProgram)
#include "test_program.moc"
