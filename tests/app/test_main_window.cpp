#include "app/main_window.h"
#include "core/ini_file.h"
#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/options_pane.h"
#include "store/new_book.h"
#include "ui/message_box.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// A lookup drop-down as the rest of the program knows it: a top-level window of this class.
class TfrmKibitz : public QWidget {
    Q_OBJECT
};

namespace {

const QStringList kKinds{QStringLiteral("Reserv"), QStringLiteral("Yesterday"),
                         QStringLiteral("Week")};

// One value of a one-row query on a book, through a connection of its own.
QString readValue(const QString& book, const QString& sql) {
    fb::Attachment db;
    db.attach(book);
    fb::Transaction tr(db, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, sql, fb::ParamMode::Untouched);
    q.execute();
    const QString value = q.fetch() ? q.field(0).asString() : QString();
    q.close();
    tr.commit();
    return value;
}

// A computer of its own: a folder with the program's INI and one book listed in it.
struct Machine {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("kaltro.ini"));
    QString book;

    explicit Machine(BookKind kind) {
        fb::prepareEmbeddedEngine();
        {
            ScopedDialogAnswerer quiet([](const DialogRequest&) { return DialogAnswer{}; });
            DataStore store(ini);
            book = createNewBook(kind, QStringLiteral("Книга"), dir.path());
        }
        IniFile(ini).writeString(QStringLiteral("Version"), QStringLiteral("CurrVersion"),
                                 QStringLiteral("2.18"));
    }
    // The rights text of the administrator, the user a new book logs on.
    void setRights(const QString& rights) {
        fb::Attachment db;
        db.attach(book);
        fb::Transaction tr(db);
        fb::Statement q(tr);
        q.prepare(QStringLiteral("UPDATE USERS SET DATA2=:DATA2 WHERE PRKEY=1"));
        q.param(QStringLiteral("DATA2")).setString(rights);
        q.execute();
        tr.commit();
    }
};

// Every dialog answered: answer(request) gives the answer, or OK.
struct Dialogs {
    QList<DialogRequest> requests;
    std::function<DialogAnswer(const DialogRequest&)> answer;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        requests << r;
        return answer ? answer(r) : DialogAnswer{Answer::Ok, {}};
    }};
};

QAction* action(QWidget& main, const char* name) {
    auto* item = main.findChild<QAction*>(QString::fromLatin1(name));
    if (!item) // a submenu is reached through its menu action
        if (auto* menu = main.findChild<QMenu*>(QString::fromLatin1(name)))
            item = menu->menuAction();
    return item;
}

bool enabled(QWidget& main, const QString& name) {
    if (auto* button = main.findChild<QToolButton*>(name))
        return button->isEnabled();
    QAction* item = action(main, qPrintable(name));
    return item && item->isEnabled();
}

QStringList texts(QMenu* menu) {
    QStringList list;
    for (QAction* item : menu->actions())
        list << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return list;
}

const QStringList kControls{
    "btnIncome",           "btnIssue",          "mnitMovementReport", "mnitPayersReport",
    "mnitAcceptorsReport", "mnitAnalizeOutlay", "mnitVocsIncome",     "mnitVocsIssue",
    "mnitVocsReasons",     "mnitOwnerEdit",     "mnitVocsUsers",      "N2",
    "miReestrDocs"};

} // namespace

class TestFmMain : public QObject {
    Q_OBJECT
private slots:
    void toolBarAndMenusByKindOfBook_data() {
        QTest::addColumn<int>("ownerType");
        QTest::addColumn<QString>("ownerEdit");
        QTest::newRow("bank account") << int(BookKind::BankAccount) << "Реквизиты Р/С";
        QTest::newRow("cash desk") << int(BookKind::CashDesk) << "Реквизиты кассы";
    }
    void toolBarAndMenusByKindOfBook() {
        QFETCH(int, ownerType);
        QFETCH(QString, ownerEdit);
        Machine m{BookKind(ownerType)};
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QCOMPARE(main.findChild<QAction*>("mnitOwnerEdit")->text(), QStringLiteral("Реквизиты"));
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Книга"));
        QCOMPARE(::ownerType(DataStore::instance()), ownerType);

        struct Button {
            const char* name;
            const char* caption;
            const char* menu;
        };
        const Button buttons[] = {{"btnIncome", "Приход", nullptr},
                                  {"btnIssue", "Расход", nullptr},
                                  {"btnReports", "Отчеты", "ppmnReports"},
                                  {"btnService", "Сервис", "ppmnService"}};
        auto* bar = main.findChild<QWidget*>("tlbarMainMenu");
        for (const Button& b : buttons) {
            auto* button = bar->findChild<QToolButton*>(b.name);
            QVERIFY2(button && button->isVisible(), b.name);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->menu(), b.menu ? main.findChild<QMenu*>(b.menu) : nullptr);
            if (b.menu) // the button itself drops the menu down
                QCOMPARE(button->popupMode(), QToolButton::InstantPopup);
        }
        QCOMPARE(texts(main.findChild<QMenu*>("ppmnReports")),
                 QStringList({"Движение денег", "Реестр документов", "Сводка по плательщикам",
                              "Сводка по получателям платежей", "Анализ расходов"}));
        QCOMPARE(texts(main.findChild<QMenu*>("ppmnService")),
                 QStringList({"Справочник плательщиков", "Справочник получателей",
                              "Справочник типов платежей", ownerEdit, "Пользователи", "-",
                              "Настройки"}));
        QCOMPARE(texts(main.findChild<QMenu*>("N2")),
                 QStringList({"Опции...", "-", "Добавить кассу...", "Добавить Р/С..."}));
        // "Начало работы..." follows the help index.
        const QList<QAction*> help = main.findChild<QMenu*>("ppmnAbout")->actions();
        QCOMPARE(help.indexOf(action(main, "N4")), help.indexOf(action(main, "mnitHelpIndex")) + 1);
        QCOMPARE(action(main, "N4")->text(), QStringLiteral("Начало работы..."));
        for (const QString& name : kControls)
            QVERIFY2(enabled(main, name), qPrintable(name));
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    void f12DropsTheServiceMenuDown() {
        Machine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QAction* f12 = action(main, "mnitService1");
        QCOMPARE(f12->shortcut(), QKeySequence(Qt::Key_F12));
        auto* menu = main.findChild<QMenu*>("ppmnService");
        bool shown = false;
        QTimer::singleShot(0, menu, [&] {
            shown = menu->isVisible();
            menu->close();
        });
        f12->trigger();
        QVERIFY(shown);
        QVERIFY(main.close());
    }

    void rightsDisableTheirControls_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("control"); // empty: nothing is disabled
        const QStringList keys{
            "IncomeDoc1",     "IssueDoc1",   "MovementReport1", "PayersReport1", "AcceptorsReport1",
            "AnIssueReport1", "VocsIncome1", "VocsIssue1",      "VocsReasons1",  "VocsInsertOwner1",
            "VocsUsers1",     "Options1",    "ReestrDocs1"};
        for (qsizetype i = 0; i < keys.size(); ++i)
            QTest::addRow("%s", qPrintable(keys[i])) << keys[i] << "N" << kControls[i];
        QTest::newRow("lower case n") << "Options1"
                                      << "n"
                                      << "";
        QTest::newRow("No") << "IncomeDoc1"
                            << "No"
                            << "";
        QTest::newRow("Y") << "IncomeDoc1"
                           << "Y"
                           << "";
        QTest::newRow("another action") << "IncomeDoc2"
                                        << "N"
                                        << "";
    }
    void rightsDisableTheirControls() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, control);
        Machine m(BookKind::BankAccount);
        // The user's other rights allow: only the one key decides.
        m.setRights(setKeyValue(setKeyValue(QString(), "IssueDoc2", "Y"), key, value));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        for (const QString& name : kControls)
            QVERIFY2(enabled(main, name) == (name != control), qPrintable(name));
    }

    // Without "Options1" no item of the settings submenu runs: no dialog, no new book.
    void withoutOptionsNoSettingsItemRuns() {
        Machine m(BookKind::CashDesk);
        m.setRights(setKeyValue(QString(), "Options1", "N"));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        for (const char* name : {"mnitOptions", "mnitAddNewKassa", "mnitAddSchet"}) {
            QVERIFY2(!action(main, name)->isEnabled(), name);
            action(main, name)->trigger();
        }
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(!qobject_cast<OptionsPane*>(main.m_currentPane));
        QCOMPARE(IniFile(m.ini).readInteger("DB", "DatabaseCount", 0), 1);
    }

    void optionsItemShowsTheOptionsPane() {
        Machine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        action(main, "mnitOptions")->trigger();
        QVERIFY(qobject_cast<OptionsPane*>(main.m_currentPane));
        QVERIFY(main.m_currentPane->isVisible());
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    void newBookItemsCreateABook_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("ownerType");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("defaultName");
        QTest::newRow("cash desk")
            << "mnitAddNewKassa" << int(BookKind::CashDesk) << "Название новой кассы"
            << "Новая касса";
        QTest::newRow("bank account")
            << "mnitAddSchet" << int(BookKind::BankAccount) << "Название нового расчтеного счета"
            << "Новый расчетный счет";
    }
    void newBookItemsCreateABook() {
        QFETCH(QString, item);
        QFETCH(int, ownerType);
        QFETCH(QString, prompt);
        QFETCH(QString, defaultName);
        Machine m(BookKind::BankAccount);
        QTemporaryDir folder;
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        dialogs.answer = [&](const DialogRequest& r) {
            if (r.kind == DialogRequest::Input)
                return DialogAnswer{Answer::Ok, QStringLiteral("Вторая")};
            if (r.kind == DialogRequest::Folder)
                return DialogAnswer{Answer::Ok, folder.path()};
            return DialogAnswer{Answer::Ok, {}};
        };
        action(main, qPrintable(item))->trigger();

        QCOMPARE(dialogs.requests.size(), 3);
        QCOMPARE(dialogs.requests[0].caption, prompt);
        QCOMPARE(dialogs.requests[0].value, defaultName);
        QCOMPARE(dialogs.requests[2].caption, QStringLiteral("Создание"));
        QCOMPARE(dialogs.requests[2].text,
                 QStringLiteral("Операция произведена успешно!\nДля использования новой базы "
                                "запустите программу заново."));
        const QString created = folder.filePath("Kaltro1.fdb");
        QCOMPARE(readValue(created, "SELECT LOWNER FROM PARTS WHERE PRKEY=0"),
                 QString::number(ownerType));
        IniFile ini(m.ini);
        QCOMPARE(ini.readInteger("DB", "DatabaseCount", 0), 2);
        QCOMPARE(ini.readString("DB", "DatabasePath_1", ""), created);
        QCOMPARE(ini.readString("DB", "DatabaseCaption_1", ""), QStringLiteral("Вторая"));
        // The open book stays the one in use.
        QCOMPARE(DataStore::instance().databaseName(), m.book);
        QCOMPARE(::ownerType(DataStore::instance()), int(BookKind::BankAccount));
        QVERIFY(main.close());
    }

    void cancelledNewBookMakesNothing() {
        Machine m(BookKind::CashDesk);
        QTemporaryDir folder;
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        dialogs.answer = [&](const DialogRequest& r) {
            if (r.kind == DialogRequest::Folder)
                return DialogAnswer{Answer::Cancel, {}};
            return DialogAnswer{Answer::Ok, QStringLiteral("Вторая")};
        };
        action(main, "mnitAddNewKassa")->trigger();
        QCOMPARE(dialogs.requests.size(), 2); // the name and the folder; no message
        QVERIFY(QDir(folder.path()).isEmpty());
        QCOMPARE(IniFile(m.ini).readInteger("DB", "DatabaseCount", 0), 1);
    }

    void deactivationHidesTheLookupDropDown() {
        Machine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        TfrmKibitz kibitz;
        QWidget other;
        kibitz.show();
        other.show();
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(kibitz.isVisible());
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(!kibitz.isVisible());
        QVERIFY(other.isVisible());
        QVERIFY(main.isVisible());
        QVERIFY(main.close());
    }
};

QTEST_MAIN(TestFmMain)
#include "test_main_window.moc"
