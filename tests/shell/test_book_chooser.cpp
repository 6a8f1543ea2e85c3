#include "core/exceptions.h"
#include "core/ini_file.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/book_chooser.h"
#include "shell/help_viewer.h"
#include "store/data_store.h"
#include "tests/support/platform/test_database.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using testsupport::TestDatabase;

namespace {

const QString kNoDatabase = QStringLiteral("Не указано ни одной базы данных!");
const QString kBadNumber =
    QStringLiteral("В параметре \"B\" указан несуществующий номер базы данных!");

// A data store on an INI file of its own, with a list of entries /books/book<i>.fdb.
struct ListFixture {
    QTemporaryDir dir;
    DataStore store{dir.filePath("kaltro.ini")};

    void writeList(int count) {
        IniFile& ini = store.ini();
        ini.writeInteger("DB", "DatabaseCount", count);
        for (int i = 0; i < count; ++i) {
            ini.writeString("DB", QStringLiteral("DatabasePath_%1").arg(i), bookPath(i));
            ini.writeString("DB", QStringLiteral("DatabaseCaption_%1").arg(i),
                            QStringLiteral("Книга %1").arg(i));
        }
    }
    static QString bookPath(int i) { return QStringLiteral("/books/book%1.fdb").arg(i); }
    QString value(const QString& key) { return store.ini().readString("DB", key, "-"); }
};

// Stands in for the user: records every request and answers with the given button (and path).
struct User {
    QList<DialogRequest> requests;
    Answer button = Answer::Ok;
    QString path;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        requests << r;
        return DialogAnswer{button, path};
    }};
    QStringList texts() const {
        QStringList result;
        for (const DialogRequest& r : requests)
            result << r.text;
        return result;
    }
};

// Answers the dialogs in turn with the given answers; Cancel once they are used up.
struct ScriptedUser {
    QList<DialogAnswer> answers;
    QList<DialogRequest> requests;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        requests << r;
        return answers.isEmpty() ? DialogAnswer{Answer::Cancel, {}} : answers.takeFirst();
    }};
};

// The kind of the book in its owner row.
int ownerKind(const QString& path) {
    fb::Attachment attachment;
    attachment.attach(path);
    fb::Transaction tr(attachment, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, "SELECT LOWNER FROM PARTS WHERE PRKEY=0");
    q.execute();
    const int kind = q.fetch() ? int(q.field(0).asInteger()) : -1;
    q.close();
    tr.commit();
    return kind;
}

// Presses the button of the chooser with that object name.
void press(BookChooser& form, const char* name) {
    auto* button = form.findChild<QPushButton*>(QLatin1String(name));
    QVERIFY2(button, name);
    button->click();
}

// Drives the chooser window once it is shown: picks an item with OK or a double click, or
// cancels. Records the window's caption; nothing happens when no window is shown.
class WindowDriver : public QObject {
public:
    enum class Action { Cancel, OkOn, DoubleClickOn };
    QString seenCaption;

    WindowDriver(Action action, int item) {
        QTimer::singleShot(0, this, [this, action, item] {
            auto* form = qobject_cast<BookChooser*>(QApplication::activeModalWidget());
            QVERIFY(form);
            seenCaption = form->windowTitle();
            QTreeWidget* list = form->bookList();
            if (action == Action::Cancel) {
                form->findChild<QPushButton*>("cancelButton")->click();
            } else if (action == Action::OkOn) {
                list->setCurrentItem(list->topLevelItem(item));
                form->findChild<QPushButton*>("okButton")->click();
            } else {
                list->setCurrentItem(list->topLevelItem(item));
                emit list->itemDoubleClicked(list->topLevelItem(item), 0);
            }
            if (form->isVisible())
                form->reject(); // never leave the test waiting
        });
    }
};

// A book with rows "before" in its backup of kind "Reserv" and "after" in the live file.
struct BookWithBackup {
    TestDatabase db{"Kaltro1.fdb"};
    QString backup = DataStore::backupPath(db.path(), "Reserv");

    BookWithBackup() {
        db.exec({"CREATE TABLE T (NAME VARCHAR(20))", "INSERT INTO T VALUES ('before')"});
        QDir().mkpath(QFileInfo(backup).absolutePath());
        db.attachment().detach();
        fb::services::backup(db.path(), backup);
        db.attachment().attach(db.path());
        db.exec("INSERT INTO T VALUES ('after')");
        db.attachment().detach();
    }
    QStringList rows() {
        fb::Attachment attachment;
        attachment.attach(db.path());
        fb::Transaction tr(attachment, fb::TransactionKind::ReadOnly);
        fb::Statement q(tr, "SELECT NAME FROM T ORDER BY NAME");
        q.execute();
        QStringList names;
        while (q.fetch())
            names << q.field(0).asString();
        q.close();
        tr.commit();
        return names;
    }
    QStringList leftovers() const { return QDir(db.folder()).entryList({"*.tmp"}, QDir::Files); }
};

} // namespace

class TestBookChooser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { fb::prepareEmbeddedEngine(); }

    void firstBookIsOfferedOnAnEmptyList_data() {
        QTest::addColumn<Answer>("kindAnswer");
        QTest::addColumn<int>("kind");
        QTest::newRow("cash desk") << Answer::Yes << 1;
        QTest::newRow("bank account") << Answer::No << 0;
    }
    void firstBookIsOfferedOnAnEmptyList() {
        QFETCH(Answer, kindAnswer);
        QFETCH(int, kind);
        ListFixture list;
        const QString folder = list.dir.filePath("Databases");
        QVERIFY(QDir().mkpath(folder));
        ScriptedUser user;
        user.answers = {{kindAnswer, {}},
                        {Answer::Ok, QStringLiteral("Моя книга")},
                        {Answer::Ok, folder},
                        {Answer::Ok, {}}};
        const ChosenBook book = BookChooser::choose("");
        const QString path = book.path();
        QVERIFY(!book.isNone());
        QCOMPARE(user.requests.size(), 4);
        QVERIFY(user.requests[0].text.startsWith(kNoDatabase));
        QCOMPARE(user.requests[0].buttons, Buttons::YesNoCancel);
        QCOMPARE(user.requests[1].kind, DialogKind::Input);
        QCOMPARE(path, folder + "/Kaltro1.fdb");
        QCOMPARE(book.entry(), 0);
        QCOMPARE(list.value("DatabaseCount"), "1");
        QCOMPARE(list.value("DatabaseCaption_0"), QStringLiteral("Моя книга"));
        QCOMPARE(ownerKind(path), kind);
    }

    void firstBookDeclined_data() {
        QTest::addColumn<QList<DialogAnswer>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("errors");
        QTest::newRow("cancel") << QList<DialogAnswer>{{Answer::Cancel, {}}} << 1 << 0;
        QTest::newRow("name cancelled, asked again")
            << QList<DialogAnswer>{{Answer::Yes, {}}, {Answer::Cancel, {}}, {Answer::Cancel, {}}}
            << 2 << 0;
        QTest::newRow("failure shown, asked again")
            << QList<DialogAnswer>{{Answer::No, {}},
                                   {Answer::Ok, QStringLiteral("Книга")},
                                   {Answer::Ok, QStringLiteral("blocker/folder")},
                                   {Answer::Ok, {}},
                                   {Answer::Cancel, {}}}
            << 2 << 1;
    }
    void firstBookDeclined() {
        QFETCH(QList<DialogAnswer>, answers);
        QFETCH(int, questions);
        QFETCH(int, errors);
        ListFixture list;
        QFile blocker(list.dir.filePath("blocker")); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        for (DialogAnswer& answer : answers)
            if (answer.value.startsWith("blocker/"))
                answer.value = list.dir.filePath(answer.value);
        ScriptedUser user;
        user.answers = answers;
        const ChosenBook book = BookChooser::choose("");
        QVERIFY(book.isNone());
        QCOMPARE(book.entry(), -1);
        QCOMPARE(user.answers.size(), 0);
        int asked = 0;
        int shown = 0;
        for (const DialogRequest& r : user.requests) {
            asked += r.text.startsWith(kNoDatabase);
            shown += r.icon == MessageIcon::Error;
        }
        QCOMPARE(asked, questions);
        QCOMPARE(shown, errors);
        QCOMPARE(list.value("DatabaseCount"), "-");
        QCOMPARE(QDir(list.dir.path()).entryList({"*.fdb"}, QDir::Files), QStringList());
    }

    void databaseChoice_data() {
        QTest::addColumn<QString>("param");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("action"); // -1: no window expected
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("messages");
        const QString manager = QStringLiteral("Управление базами данных");
        const QString chooser = QStringLiteral("Выберите базу данных");
        QTest::newRow("manager") << "-dbcontrol" << 2 << int(WindowDriver::Action::Cancel) << 0
                                 << false << -1 << manager << QStringList();
        QTest::newRow("manager, empty list")
            << "-dbcontrol" << 0 << int(WindowDriver::Action::Cancel) << 0 << false << -1 << manager
            << QStringList{kNoDatabase};
        QTest::newRow("manager, double click still ends")
            << "-dbcontrol" << 2 << int(WindowDriver::Action::DoubleClickOn) << 1 << false << -1
            << manager << QStringList();
        QTest::newRow("one entry") << "" << 1 << -1 << 0 << true << 0 << "" << QStringList();
        QTest::newRow("one entry, B2") << "B2" << 1 << -1 << 0 << true << 0 << "" << QStringList();
        QTest::newRow("B2 of three") << "B2" << 3 << -1 << 0 << true << 1 << "" << QStringList();
        QTest::newRow("B9 out of range")
            << "B9" << 3 << -1 << 0 << false << -1 << "" << QStringList{kBadNumber};
        QTest::newRow("B0 out of range")
            << "B0" << 3 << -1 << 0 << false << -1 << "" << QStringList{kBadNumber};
        QTest::newRow("two entries, OK on the second")
            << "" << 2 << int(WindowDriver::Action::OkOn) << 1 << true << 1 << chooser
            << QStringList();
        QTest::newRow("two entries, double click on the first")
            << "" << 2 << int(WindowDriver::Action::DoubleClickOn) << 0 << true << 0 << chooser
            << QStringList();
        QTest::newRow("two entries, cancel") << "" << 2 << int(WindowDriver::Action::Cancel) << 0
                                             << false << -1 << chooser << QStringList();
        QTest::newRow("lower-case b is no parameter")
            << "b2" << 2 << int(WindowDriver::Action::Cancel) << 0 << false << -1 << chooser
            << QStringList();
    }
    void databaseChoice() {
        QFETCH(QString, param);
        QFETCH(int, count);
        QFETCH(int, action);
        QFETCH(int, item);
        QFETCH(bool, result);
        QFETCH(int, index);
        QFETCH(QString, window);
        QFETCH(QStringList, messages);
        ListFixture list;
        list.writeList(count);
        User user;
        WindowDriver driver(WindowDriver::Action(qMax(action, 0)), item);
        const ChosenBook book = BookChooser::choose(param);
        QCOMPARE(!book.isNone(), result);
        QCOMPARE(driver.seenCaption, window);
        QCOMPARE(user.texts(), messages);
        QCOMPARE(book.entry(), index);
        if (result)
            QCOMPARE(book.path(), ListFixture::bookPath(index));
    }

    void malformedBParameter_data() {
        QTest::addColumn<QString>("param");
        QTest::newRow("Bx") << "Bx";
        QTest::newRow("B alone") << "B";
        QTest::newRow("B2x") << "B2x";
    }
    void malformedBParameter() {
        QFETCH(QString, param);
        ListFixture list;
        list.writeList(3);
        User user;
        QVERIFY_THROWS_EXCEPTION(ConvertError, BookChooser::choose(param));
        QVERIFY(user.requests.isEmpty());
    }

    // What the what-is-this mode shows on each control, a click on the list's rows included;
    // the title has none.
    void helpContextsOfTheControls() {
        ListFixture list;
        const struct {
            const char* name;
            int context;
        } controls[] = {{"bookList", 1001},
                        {"okButton", 1002},
                        {"cancelButton", 1003},
                        {"deleteButton", 1004},
                        {"addButton", 1054},
                        {"restoreReservButton", 1055},
                        {"restoreYesterdayButton", 1055},
                        {"restoreWeekButton", 1055},
                        {"titleLabel", 0}};
        for (const BookChooser::Mode mode :
             {BookChooser::Mode::Choice, BookChooser::Mode::Manager}) {
            BookChooser form(mode);
            for (const auto& control : controls) {
                auto* widget = form.findChild<QWidget*>(QLatin1String(control.name));
                QVERIFY2(widget, control.name);
                QCOMPARE(help::helpContextAt(widget), control.context);
            }
            QCOMPARE(help::helpContextAt(form.bookList()->viewport()), 1001);
        }
    }

    void blankCaptionShowsFileName() {
        ListFixture list;
        list.writeList(2);
        list.store.ini().writeString("DB", "DatabaseCaption_1", "   ");
        list.store.ini().writeString("DB", "DatabasePath_1", "/data/Kaltro3.fdb");
        const QList<BookEntry> entries = BookList(list.store.ini()).entries();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].caption, QStringLiteral("Книга 0"));
        QCOMPARE(entries[1].caption, QStringLiteral("Kaltro3.fdb"));
        QCOMPARE(entries[1].path, QStringLiteral("/data/Kaltro3.fdb"));
    }

    void listRewrittenDenseAfterDeleteAndAdd() {
        ListFixture list;
        list.writeList(3);
        BookChooser form(BookChooser::Mode::Manager);
        form.loadBookList(BookList(list.store.ini()).entries());
        User user;

        form.bookList()->setCurrentItem(form.bookList()->topLevelItem(1));
        user.button = Answer::No;
        press(form, "deleteButton");
        QCOMPARE(list.value("DatabaseCount"), "3");
        QCOMPARE(user.requests.last().caption, QStringLiteral("Удаление"));

        user.button = Answer::Yes;
        press(form, "deleteButton");
        QCOMPARE(list.value("DatabaseCount"), "2");
        QCOMPARE(list.value("DatabasePath_1"), ListFixture::bookPath(2));
        QCOMPARE(list.value("DatabaseCaption_1"), QStringLiteral("Книга 2"));
        QVERIFY(!list.store.ini().valueExists("DB", "DatabasePath_2"));
        QVERIFY(!list.store.ini().valueExists("DB", "DatabaseCaption_2"));

        user.button = Answer::Ok;
        user.path = "/other/Kaltro7.fdb";
        press(form, "addButton");
        const DialogRequest& dialog = user.requests.last();
        QCOMPARE(dialog.kind, DialogKind::OpenFile);
        QCOMPARE(dialog.filter, QStringLiteral("Базы данных (*.fdb *.FDB)"));
        QCOMPARE(list.value("DatabaseCount"), "3");
        QCOMPARE(list.value("DatabasePath_2"), QStringLiteral("/other/Kaltro7.fdb"));
        QCOMPARE(list.value("DatabaseCaption_2"), QStringLiteral("Kaltro7.fdb"));
        QCOMPARE(list.value("DatabasePath_0"), ListFixture::bookPath(0));
        const QList<BookEntry> shown = form.bookEntries();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[1].path, ListFixture::bookPath(2));
        QCOMPARE(shown[2].caption, QStringLiteral("Kaltro7.fdb"));
        QCOMPARE(shown[2].path, QStringLiteral("/other/Kaltro7.fdb"));
    }

    // Another running copy changes the list while the manager is open: its entry stays.
    void changesOfAnotherCopyWhileTheManagerIsOpenAreKept() {
        ListFixture list;
        list.writeList(3);
        BookChooser form(BookChooser::Mode::Manager);
        form.loadBookList(BookList(list.store.ini()).entries());
        IniFile otherCopy(list.dir.filePath("kaltro.ini"));
        BookList(otherCopy).append("/books/other.fdb", "");
        User user;

        form.bookList()->setCurrentItem(form.bookList()->topLevelItem(1));
        user.button = Answer::Yes;
        press(form, "deleteButton");
        QCOMPARE(list.value("DatabaseCount"), "3");
        QCOMPARE(list.value("DatabasePath_1"), ListFixture::bookPath(2));
        QCOMPARE(list.value("DatabasePath_2"), QStringLiteral("/books/other.fdb"));
        QCOMPARE(list.value("DatabaseCaption_2"), QString());

        BookList(otherCopy).renameBook(ListFixture::bookPath(0), "Переименована");
        user.button = Answer::Ok;
        user.path = "/other/Kaltro7.fdb";
        press(form, "addButton");
        QCOMPARE(list.value("DatabaseCount"), "4");
        QCOMPARE(list.value("DatabaseCaption_0"), QStringLiteral("Переименована"));
        QCOMPARE(list.value("DatabasePath_3"), QStringLiteral("/other/Kaltro7.fdb"));
        const QList<BookEntry> shown = form.bookEntries();
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0].caption, QStringLiteral("Переименована"));
        QCOMPARE(shown[2].caption, QStringLiteral("other.fdb"));
        QCOMPARE(shown[3].path, QStringLiteral("/other/Kaltro7.fdb"));
    }

    void deleteOfTheOnlyEntryIsRefused() {
        ListFixture list;
        list.writeList(1);
        BookChooser form(BookChooser::Mode::Manager);
        form.loadBookList(BookList(list.store.ini()).entries());
        User user;
        user.button = Answer::Yes;
        press(form, "deleteButton");
        QCOMPARE(user.texts(), QStringList{"Вы не можете удалить единственную ссылку!"});
        QCOMPARE(list.value("DatabaseCount"), "1");
        QCOMPARE(list.value("DatabasePath_0"), ListFixture::bookPath(0));
    }

    void addOfAListedFileSelectsIt() {
        ListFixture list;
        list.writeList(3);
        BookChooser form(BookChooser::Mode::Manager);
        form.loadBookList(BookList(list.store.ini()).entries());
        User user;
        user.path = ListFixture::bookPath(2).toUpper();
        press(form, "addButton");
        QCOMPARE(user.requests.size(), 2);
        QCOMPARE(user.requests[1].caption, QStringLiteral("Добавление базы данных"));
        QCOMPARE(user.requests[1].text,
                 QStringLiteral("Выбранная Вами база данных уже присутствует в списке!"));
        QCOMPARE(form.bookList()->currentItem(), form.bookList()->topLevelItem(2));
        QCOMPARE(form.bookList()->topLevelItemCount(), 3);
        QCOMPARE(list.value("DatabaseCount"), "3");
    }

    void restoreButtonsFollowBackupFiles_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QList<bool>>("enabled");
        QTest::newRow("none") << QStringList() << true << QList<bool>{false, false, false};
        QTest::newRow("week only")
            << QStringList{"Week"} << true << QList<bool>{false, false, true};
        QTest::newRow("reserv and yesterday")
            << QStringList{"Reserv", "Yesterday"} << true << QList<bool>{true, true, false};
        QTest::newRow("all, nothing selected") << QStringList{"Reserv", "Yesterday", "Week"}
                                               << false << QList<bool>{false, false, false};
    }
    void restoreButtonsFollowBackupFiles() {
        QFETCH(QStringList, present);
        QFETCH(bool, selected);
        QFETCH(QList<bool>, enabled);
        ListFixture list;
        const QString database = list.dir.filePath("Kaltro1.fdb");
        for (const QString& kind : present) {
            const QString backup = DataStore::backupPath(database, kind);
            QDir().mkpath(QFileInfo(backup).absolutePath());
            QFile file(backup);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        BookChooser form(BookChooser::Mode::Manager);
        form.loadBookList({{"Книга", database}, {"Другая", list.dir.filePath("Kaltro2.fdb")}});
        if (!selected)
            form.bookList()->clearSelection();
        const QStringList names{"restoreReservButton", "restoreYesterdayButton",
                                "restoreWeekButton"};
        for (int i = 0; i < 3; ++i)
            QVERIFY2(form.findChild<QPushButton*>(names[i])->isEnabled() == enabled[i],
                     qPrintable(names[i]));
        form.bookList()->setCurrentItem(form.bookList()->topLevelItem(1));
        for (const QString& name : names)
            QVERIFY(!form.findChild<QPushButton*>(name)->isEnabled());
    }

    void restoreButtonRestoresTheSelectedBook() {
        BookWithBackup book;
        BookChooser form(BookChooser::Mode::Manager);
        form.loadBookList({{"Книга", book.db.path()}});
        User user;
        user.button = Answer::Yes;
        press(form, "restoreReservButton");
        QCOMPARE(book.rows(), QStringList{"before"});
        QCOMPARE(user.requests.size(), 2);
        QCOMPARE(user.requests[1].text, QStringLiteral("База данных восстановлена."));
        QVERIFY(form.findChild<QPushButton*>("restoreReservButton")->isEnabled());
    }

    void restoreReplacesTheFileOnSuccess() {
        BookWithBackup book;
        User user;
        user.button = Answer::Yes;
        QVERIFY(BookChooser::restoreBackup(book.db.path(), BackupKind::Reserv));
        QCOMPARE(book.rows(), QStringList{"before"});
        QCOMPARE(user.requests.size(), 2);
        QCOMPARE(user.requests[0].buttons, Buttons::YesNo);
        QVERIFY(user.requests[0].text.contains(QDir::toNativeSeparators(book.db.path())));
        QCOMPARE(user.requests[1].text, QStringLiteral("База данных восстановлена."));
        QCOMPARE(book.leftovers(), QStringList());
    }

    void failedRestoreKeepsTheOldFile_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged backup") << "damaged"
                                        << "Не удалось восстановить базу данных!";
        QTest::newRow("database in use") << "in use"
                                         << "используется другой программой";
    }
    void failedRestoreKeepsTheOldFile() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        BookWithBackup book;
        if (fault == "damaged") {
            QFile file(book.backup);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        } else {
            book.db.attachment().attach(book.db.path());
        }
        User user;
        user.button = Answer::Yes;
        QVERIFY(!BookChooser::restoreBackup(book.db.path(), BackupKind::Reserv));
        book.db.attachment().detach();
        QCOMPARE(user.requests.size(), 2);
        QCOMPARE(user.requests[1].icon, MessageIcon::Error);
        QVERIFY2(user.requests[1].text.contains(message), qPrintable(user.requests[1].text));
        QCOMPARE(book.rows(), (QStringList{"after", "before"}));
        QCOMPARE(book.leftovers(), QStringList());
    }

    void restoreDeclinedDoesNothing() {
        BookWithBackup book;
        User user;
        user.button = Answer::No;
        QVERIFY(!BookChooser::restoreBackup(book.db.path(), BackupKind::Reserv));
        QCOMPARE(user.requests.size(), 1);
        QCOMPARE(book.rows(), (QStringList{"after", "before"}));
    }

    void restoreOfAMissingBackupSaysSo() {
        BookWithBackup book;
        User user;
        user.button = Answer::Yes;
        QVERIFY(!BookChooser::restoreBackup(book.db.path(), BackupKind::Week));
        QCOMPARE(user.requests.size(), 1);
        QVERIFY(user.requests[0].text.startsWith("Копия базы данных не найдена"));
        QCOMPARE(book.rows(), (QStringList{"after", "before"}));
    }
};

QTEST_MAIN(TestBookChooser)
#include "test_book_chooser.moc"
