#include "app/main_window.h"
#include "core/ini_file.h"
#include "core/key_value_text.h"
#include "documents/dictionary_pane.h"
#include "documents/document_browser.h"
#include "documents/document_window.h"
#include "platform/office.h"
#include "platform/web_browser.h"
#include "printing/product_options_pane.h"
#include "printing/template_edit.h"
#include "reports/document_register.h"
#include "reports/report_browser.h"
#include "shell/lookup_popups.h"
#include "shell/options_pane.h"
#include "shell/period_dialog.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/shell/book_machine.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

// A machine with one book, "Книга", whose start shows the first-start pane.
struct OneBookMachine : Machine {
    QString book;
    explicit OneBookMachine(BookKind kind) : book(addBook(kind, QStringLiteral("Книга"))) {
        setFirstStart(true);
    }
};

QAction* action(QWidget& main, const char* name) {
    auto* item = main.findChild<QAction*>(QString::fromLatin1(name));
    if (!item) // a submenu is reached through its menu action
        if (auto* menu = main.findChild<QMenu*>(QString::fromLatin1(name)))
            item = menu->menuAction();
    return item;
}

bool enabled(QWidget& main, const QString& name) {
    QAction* item = action(main, qPrintable(name));
    return item && item->isEnabled();
}

// Every tool button that runs an action is enabled exactly when its action is.
bool buttonsFollowTheirActions(QWidget& main) {
    for (auto* button : main.findChildren<QToolButton*>())
        if (button->defaultAction() && button->isEnabled() != button->defaultAction()->isEnabled())
            return false;
    return true;
}

QStringList texts(QMenu* menu) {
    QStringList list;
    for (QAction* item : menu->actions())
        list << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return list;
}

const QStringList kControls{"incomeAction",
                            "issueAction",
                            "movementReportAction",
                            "payersReportAction",
                            "recipientsReportAction",
                            "expenseAnalysisAction",
                            "payersDictionaryAction",
                            "recipientsDictionaryAction",
                            "paymentTypesDictionaryAction",
                            "ownerDetailsAction",
                            "usersAction",
                            "settingsMenu",
                            "documentRegisterAction"};

// The desktop's opener of web pages, faked: it notes each address it is given, one a line, in
// "opened" beside itself, and ends with exitCode (3 is the real opener's "no browser found").
struct WebOpener {
    QTemporaryDir folder;
    explicit WebOpener(int exitCode = 0) {
        const QString program = folder.filePath("xdg-open");
        QFile file(program);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the fake opener");
        file.write(
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened\"\n"
                           "exit %1\n")
                .arg(exitCode)
                .toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        setWebOpenerProgram(program);
    }
    ~WebOpener() { setWebOpenerProgram(QString()); }
    QStringList opened() const {
        QFile file(folder.filePath("opened"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

const struct Site {
    const char* item;
    const char* address;
} kSites[] = {{"productSiteAction", "https://www.kaltro.example/"},
              {"vendorSiteAction", "https://www.morvelsoft.example/"}};

} // namespace

class TestMainWindow : public QObject {
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
        OneBookMachine m{BookKind(ownerType)};
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QCOMPARE(main.ownerDetailsAction()->text(), QStringLiteral("Реквизиты"));
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Книга"));
        QCOMPARE(::ownerType(DataStore::instance()), ownerType);

        // Each button shows its action: income and issue run theirs; reports and service drop
        // their menus down.
        struct Button {
            const char* name;
            const char* caption;
            QAction* action;
            const char* menu;
        };
        const Button buttons[] = {
            {"incomeButton", "Приход", main.incomeAction(), nullptr},
            {"issueButton", "Расход", main.issueAction(), nullptr},
            {"reportsButton", "Отчеты", main.findChild<QAction*>("reportsAction"), "reportsMenu"},
            {"serviceButton", "Сервис", main.findChild<QAction*>("serviceAction"), "serviceMenu"}};
        auto* bar = main.findChild<QWidget*>("mainToolBar");
        for (const Button& b : buttons) {
            auto* button = bar->findChild<QToolButton*>(b.name);
            QVERIFY2(button && button->isVisible(), b.name);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
            QVERIFY(!button->icon().isNull());
            QVERIFY2(b.action, b.name);
            QCOMPARE(button->defaultAction(), b.action);
            QCOMPARE(button->menu(), b.menu ? main.findChild<QMenu*>(b.menu) : nullptr);
            if (b.menu) // the button itself drops the menu down
                QCOMPARE(button->popupMode(), QToolButton::InstantPopup);
        }
        QCOMPARE(main.incomeAction()->text(), QStringLiteral("Приход"));
        QCOMPARE(main.issueAction()->text(), QStringLiteral("Расход"));
        QCOMPARE(texts(main.findChild<QMenu*>("reportsMenu")),
                 QStringList({"Движение денег", "Реестр документов", "Сводка по плательщикам",
                              "Сводка по получателям платежей", "Анализ расходов"}));
        QCOMPARE(texts(main.findChild<QMenu*>("serviceMenu")),
                 QStringList({"Справочник плательщиков", "Справочник получателей",
                              "Справочник типов платежей", ownerEdit, "Пользователи", "-",
                              "Настройки"}));
        QCOMPARE(texts(main.settingsMenu()),
                 QStringList({"Опции...", "-", "Добавить кассу...", "Добавить Р/С..."}));
        // "Начало работы..." follows the help index.
        const QList<QAction*> help = main.findChild<QMenu*>("helpMenu")->actions();
        QCOMPARE(help.indexOf(main.gettingStartedAction()),
                 help.indexOf(main.helpIndexAction()) + 1);
        QCOMPARE(main.gettingStartedAction()->text(), QStringLiteral("Начало работы..."));
        for (const QString& name : kControls)
            QVERIFY2(enabled(main, name), qPrintable(name));
        QVERIFY(buttonsFollowTheirActions(main));
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    void theRequisitesItemEditsTheOwnerCard_data() {
        QTest::addColumn<int>("ownerType");
        QTest::addColumn<QString>("caption");
        QTest::newRow("bank account") << int(BookKind::BankAccount) << "Реквизиты Р/С";
        QTest::newRow("cash desk") << int(BookKind::CashDesk) << "Реквизиты кассы";
    }
    void theRequisitesItemEditsTheOwnerCard() {
        QFETCH(int, ownerType);
        QFETCH(QString, caption);
        Machine m;
        const QString book = m.addBook(BookKind(ownerType), QStringLiteral("Книга"));
        execute(book, "UPDATE PARTS SET LNAM='ООО Книга' WHERE PRKEY=0");
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QString title;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&] {
            auto* card = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(card);
            title = card->windowTitle();
            owner = card->parentWidget();
            card->findChild<QLineEdit*>("directorEdit")->setText(QStringLiteral("Иванов"));
            card->findChild<QPushButton*>("okButton")->click();
        });
        main.ownerDetailsAction()->trigger();
        QCOMPARE(title, caption);
        QCOMPARE(owner, &main);
        const QString etc = readValue(book, "SELECT ETC FROM PARTS WHERE PRKEY=0");
        QCOMPARE(getKeyValue(etc, "DirectorName"), QStringLiteral("Иванов"));
        QCOMPARE(getKeyValue(etc, "StoreCapt"), QStringLiteral("Книга"));
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    void f12DropsTheServiceMenuDown() {
        OneBookMachine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QAction* f12 = main.serviceShortcutAction();
        QCOMPARE(f12->shortcut(), QKeySequence(Qt::Key_F12));
        auto* menu = main.findChild<QMenu*>("serviceMenu");
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
        // The users item follows the administrator's flag, not the text: the administrator
        // keeps it.
        for (qsizetype i = 0; i < keys.size(); ++i)
            QTest::addRow("%s", qPrintable(keys[i]))
                << keys[i] << "N" << (keys[i] == "VocsUsers1" ? QString() : kControls[i]);
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
        OneBookMachine m(BookKind::BankAccount);
        // The user's other rights allow: only the one key decides.
        m.setRights(m.book, setKeyValue(setKeyValue(QString(), "IssueDoc2", "Y"), key, value));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        for (const QString& name : kControls)
            QVERIFY2(enabled(main, name) == (name != control), qPrintable(name));
        QVERIFY(buttonsFollowTheirActions(main));
    }

    // The users and their rights are the administrator's: the users item is enabled exactly
    // for a user whose ISADMIN is 1, whatever his rights text says, an empty one (a book from
    // before the rights) included; the other items follow the text.
    void theUsersItemIsTheAdministrators_data() {
        QTest::addColumn<int>("isAdmin");
        QTest::addColumn<QString>("rights");
        QTest::newRow("simple user, empty rights") << 0 << "";
        QTest::newRow("simple user, users allowed by his text") << 0 << "VocsUsers1=Y";
        QTest::newRow("administrator, users denied by his text") << 1 << "VocsUsers1=N";
        QTest::newRow("administrator, empty rights") << 1 << "";
    }
    void theUsersItemIsTheAdministrators() {
        QFETCH(int, isAdmin);
        QFETCH(QString, rights);
        OneBookMachine m(BookKind::CashDesk);
        m.setFirstStart(false);
        // Admin, the one visible user, logs on by himself; a hidden administrator stays, so
        // that Admin may be a simple user.
        execute(m.book, "INSERT INTO USERS (PRKEY, LNAM, ISADMIN) VALUES (2, '?Root', 1)");
        execute(m.book, QStringLiteral("UPDATE USERS SET ISADMIN=%1 WHERE PRKEY=1").arg(isAdmin));
        if (!rights.isEmpty())
            m.setRights(m.book, rights + QChar(1));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QCOMPARE(DataStore::instance().userKey(), 1);
        for (const QString& name : kControls)
            QVERIFY2(enabled(main, name) == (name != "usersAction" || isAdmin == 1),
                     qPrintable(name));
        action(main, "usersAction")->trigger();
        QCOMPARE(qobject_cast<DictionaryPane*>(main.currentPane()) != nullptr, isAdmin == 1);
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
        QCOMPARE(readValue(m.book, "SELECT ISADMIN FROM USERS WHERE PRKEY=1"),
                 QString::number(isAdmin));
    }

    // Without "Options1" no item of the settings submenu runs: no dialog, no new book.
    void withoutOptionsNoSettingsItemRuns() {
        OneBookMachine m(BookKind::CashDesk);
        m.setRights(m.book, setKeyValue(QString(), "Options1", "N"));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QVERIFY(!main.settingsMenu()->menuAction()->isEnabled());
        for (QAction* item :
             {main.optionsAction(), main.addCashDeskAction(), main.addBankAccountAction()}) {
            QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
            item->trigger();
        }
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(!qobject_cast<OptionsPane*>(main.currentPane()));
        QCOMPARE(IniFile(m.ini).readInteger("DB", "DatabaseCount", 0), 1);
    }

    // The product's version, the one of its build, is the version it needs of its books, and
    // the splash names it.
    void theProductsVersionIsItsBuilds() {
        OneBookMachine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QCOMPARE(DataStore::programVersion(), QStringLiteral("2.18"));
        QCOMPARE(DataStore::requiredDatabaseVersion(), QStringLiteral("2.18"));
        QCOMPARE(main.findChild<QLabel*>("programNameLabel")->text(),
                 QStringLiteral("Kaltro 2.18"));
        QVERIFY(dialogs.requests.isEmpty());
    }

    void optionsItemShowsTheOptionsPane() {
        OneBookMachine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        main.optionsAction()->trigger();
        QVERIFY(qobject_cast<ProductOptionsPane*>(main.currentPane()));
        QVERIFY(main.currentPane()->isVisible());
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    void serviceItemsShowTheDictionaries_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("layoutKey");
        QTest::addColumn<QString>("title");
        QTest::newRow("payers") << "payersDictionaryAction"
                                << "TfrmVocsIncome"
                                << "Плательщики";
        QTest::newRow("recipients") << "recipientsDictionaryAction"
                                    << "TfrmVocsIssue"
                                    << "Получатели";
        QTest::newRow("payment types") << "paymentTypesDictionaryAction"
                                       << "TfrmVocsReasons"
                                       << "Типы платежей";
        QTest::newRow("users") << "usersAction"
                               << "TfrmVocsUsersKaltro"
                               << "Пользователи";
    }
    void serviceItemsShowTheDictionaries() {
        QFETCH(QString, item);
        QFETCH(QString, layoutKey);
        QFETCH(QString, title);
        OneBookMachine m(BookKind::BankAccount);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        action(main, qPrintable(item))->trigger();
        auto* pane = qobject_cast<DictionaryPane*>(main.currentPane());
        QVERIFY(pane);
        QCOMPARE(pane->layoutKey(), layoutKey);
        QCOMPARE(pane->windowTitle(), title);
        QVERIFY(pane->isVisible());
        QVERIFY(pane->browsePage()->isVisible());
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    void reportItemsShowTheReportBrowsers_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("layoutKey");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("type");
        QTest::newRow("movement") << "movementReportAction"
                                  << "TfrmMovementReportBrowser"
                                  << "Движение денег" << 101;
        QTest::newRow("payers") << "payersReportAction"
                                << "TfrmPayersReportBrowser"
                                << "Плательщики" << 102;
        QTest::newRow("recipients") << "recipientsReportAction"
                                    << "TfrmAcceptorsReportBrowser"
                                    << "Получатели платежей" << 103;
    }
    void reportItemsShowTheReportBrowsers() {
        QFETCH(QString, item);
        QFETCH(QString, layoutKey);
        QFETCH(QString, title);
        QFETCH(int, type);
        OneBookMachine m(BookKind::BankAccount);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        action(main, qPrintable(item))->trigger();
        auto* pane = qobject_cast<ReportBrowser*>(main.currentPane());
        QVERIFY(pane);
        QCOMPARE(pane->layoutKey(), layoutKey);
        QCOMPARE(pane->windowTitle(), title);
        QCOMPARE(pane->reportType(), type);
        QVERIFY(pane->isVisible());
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    // "Приход" and "Расход" show the document browsers of the book's kind; a book of another
    // kind gets none.
    void incomeAndIssueShowTheBrowsersOfTheBook_data() {
        QTest::addColumn<int>("ownerType");
        QTest::addColumn<QString>("incomeKey");
        QTest::addColumn<QString>("issueKey");
        QTest::newRow("bank account") << int(BookKind::BankAccount) << "TfrmIncomeBrowser"
                                      << "TfrmIssueBrowser";
        QTest::newRow("cash desk") << int(BookKind::CashDesk) << "TfrmBrowserKassOrdPrih"
                                   << "TfrmBrowserKassOrdRash";
        QTest::newRow("another kind") << 7 << ""
                                      << "";
    }
    void incomeAndIssueShowTheBrowsersOfTheBook() {
        QFETCH(int, ownerType);
        QFETCH(QString, incomeKey);
        QFETCH(QString, issueKey);
        OneBookMachine m(BookKind::CashDesk);
        execute(m.book, QStringLiteral("UPDATE PARTS SET LOWNER=%1 WHERE PRKEY=0").arg(ownerType));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        auto shownKey = [&main] {
            auto* browser = qobject_cast<DocumentBrowser*>(main.currentPane());
            return browser && browser->isVisible() ? browser->layoutKey() : QString();
        };
        main.incomeAction()->trigger();
        QCOMPARE(shownKey(), incomeKey);
        main.issueAction()->trigger();
        QCOMPARE(shownKey(), issueKey);
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(main.close());
    }

    // "Реестр документов" opens the register beside the main window, on the period confirmed;
    // a cancelled period leaves none, and the pane stays.
    void theRegisterItemOpensTheRegister() {
        OneBookMachine m(BookKind::BankAccount);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QWidget* pane = main.currentPane();
        auto registers = [] {
            QList<DocumentRegister*> found;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* shown = qobject_cast<DocumentRegister*>(window))
                    found << shown;
            return found;
        };
        auto answerPeriod = [](bool confirm) {
            QTimer::singleShot(0, [confirm] {
                auto* dialog = qobject_cast<PeriodDialog*>(QApplication::activeModalWidget());
                if (!dialog)
                    qFatal("no period dialog");
                (confirm ? dialog->okButton() : dialog->cancelButton())->click();
            });
        };
        answerPeriod(false);
        action(main, "documentRegisterAction")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(registers().isEmpty());

        answerPeriod(true);
        action(main, "documentRegisterAction")->trigger();
        QCOMPARE(registers().size(), 1);
        QVERIFY(registers().first()->isVisible());
        QCOMPARE(registers().first()->parentWidget(), nullptr);
        QCOMPARE(main.currentPane(), pane);
        QVERIFY(dialogs.requests.isEmpty());
        registers().first()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(registers().isEmpty());
        QVERIFY(main.close());
    }

    // The document windows print through the print command of the book's options: with every
    // kind of form switched off it says so, and the window closes.
    void documentWindowsPrintThroughTheBooksOptions() {
        OneBookMachine m(BookKind::BankAccount);
        m.setOption(m.book, QStringLiteral("Print.UseQReports"), QStringLiteral("0"));
        m.setOption(m.book, QStringLiteral("Print.UseZOMGReports"), QStringLiteral("0"));
        execute(m.book, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, SUM1, DAT) VALUES "
                                       "(20000, 1, 5, '2024-03-05')"));
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        QPointer<DocumentWindow> window =
            DocumentWindow::openExisting(DocumentKind::IncomingPayment, 20000);
        QVERIFY(window->printButton()->isEnabled());
        window->printButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        QCOMPARE(dialogs.texts,
                 QStringList{"Использование печатных форм запрещено в настройках программы!"});
        QVERIFY(main.close());
    }

    void newBookItemsCreateABook_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("ownerType");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("defaultName");
        QTest::newRow("cash desk")
            << "addCashDeskAction" << int(BookKind::CashDesk) << "Название новой кассы"
            << "Новая касса";
        QTest::newRow("bank account") << "addBankAccountAction" << int(BookKind::BankAccount)
                                      << "Название нового расчтеного счета"
                                      << "Новый расчетный счет";
    }
    void newBookItemsCreateABook() {
        QFETCH(QString, item);
        QFETCH(int, ownerType);
        QFETCH(QString, prompt);
        QFETCH(QString, defaultName);
        OneBookMachine m(BookKind::BankAccount);
        QTemporaryDir folder;
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        dialogs.answer = [&](const DialogRequest& r) {
            if (r.kind == DialogKind::Input)
                return DialogAnswer{Answer::Ok, QStringLiteral("Вторая")};
            if (r.kind == DialogKind::Folder)
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
        OneBookMachine m(BookKind::CashDesk);
        QTemporaryDir folder;
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        dialogs.answer = [&](const DialogRequest& r) {
            if (r.kind == DialogKind::Folder)
                return DialogAnswer{Answer::Cancel, {}};
            return DialogAnswer{Answer::Ok, QStringLiteral("Вторая")};
        };
        main.addCashDeskAction()->trigger();
        QCOMPARE(dialogs.requests.size(), 2); // the name and the folder; no message
        QVERIFY(QDir(folder.path()).isEmpty());
        QCOMPARE(IniFile(m.ini).readInteger("DB", "DatabaseCount", 0), 1);
    }

    // The product's and the maker's sites: each item says in its status tip the address it
    // opens, and opens it in the browser.
    void siteItemsShowTheirAddress() {
        OneBookMachine m(BookKind::BankAccount);
        Dialogs dialogs;
        WebOpener opener;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        QCOMPARE(main.productSiteAction()->text(), QStringLiteral("Kaltro в Интернете..."));
        QStringList addresses;
        for (const Site& site : kSites) {
            QAction* item = action(main, site.item);
            QCOMPARE(item->statusTip(), QString::fromLatin1(site.address));
            item->trigger();
            addresses << QString::fromLatin1(site.address);
            QTRY_COMPARE(opener.opened(), addresses);
        }
        QTest::qWait(200);
        QVERIFY(dialogs.requests.isEmpty());
    }

    // Where the address cannot be opened (no browser, or no opener at all) the user is told so
    // with the address.
    void aSiteThatCannotBeOpenedShowsItsAddress_data() {
        QTest::addColumn<bool>("withOpener");
        QTest::newRow("no browser") << true;
        QTest::newRow("no opener") << false;
    }
    void aSiteThatCannotBeOpenedShowsItsAddress() {
        QFETCH(bool, withOpener);
        OneBookMachine m(BookKind::CashDesk);
        Dialogs dialogs;
        WebOpener opener(3);
        if (!withOpener)
            setWebOpenerProgram(opener.folder.filePath("missing/xdg-open"));
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        for (const Site& site : kSites) {
            dialogs.texts.clear();
            action(main, site.item)->trigger();
            QTRY_COMPARE(dialogs.texts.size(), 1);
            QCOMPARE(dialogs.texts[0],
                     QStringLiteral("Не удалось открыть страницу в браузере. Откройте этот "
                                    "адрес в браузере сами:\n%1")
                         .arg(QString::fromLatin1(site.address)));
        }
        QCOMPARE(opener.opened().size(), withOpener ? 2 : 0);
    }

    // Closing the program while a print template is open in the word processor offers the file
    // the editor has saved for storing, before the book closes.
    void closingOffersTheTemplateBeingEdited() {
        OneBookMachine m(BookKind::CashDesk);
        execute(m.book, "INSERT INTO PRINTFORMS (PRKEY, LTYP, NAME, DATA, EXT) VALUES "
                        "(2001, 1, 'Акт', 'rtf text', 'rtf')");
        Dialogs dialogs([](const DialogRequest& r) {
            return DialogAnswer{r.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok, {}};
        });
        QTemporaryDir office;
        testsupport::putOfficeScript(office.path(), R"sh(last=$(last_file "$@")
printf ' edited' >> "$last"
touch "$(dirname "$0")/saved"
while [ ! -e "$(dirname "$0")/close" ]; do sleep 0.05; done
touch "$(dirname "$0")/ended")sh");
        setOfficeSearchPath(office.path());
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        printing::TemplateEdit::start({2001, QStringLiteral("Акт"), "rtf text", "rtf"}, nullptr);
        QTRY_VERIFY(QFile::exists(office.filePath("saved")));

        QVERIFY(main.close());
        QCOMPARE(dialogs.texts,
                 QStringList{"Печатная форма \"Акт\" еще открыта для изменения в LibreOffice.\n"
                             "Сохранить измененный документ в программе?"});
        QCOMPARE(readValue(m.book, "SELECT DATA FROM PRINTFORMS WHERE PRKEY=2001"),
                 QStringLiteral("rtf text edited"));
        testsupport::writeFile(office.filePath("close"), "");
        QTRY_VERIFY(QFile::exists(office.filePath("ended")));
        setOfficeSearchPath(QString());
    }

    void deactivationHidesTheLookupDropDowns() {
        OneBookMachine m(BookKind::CashDesk);
        Dialogs dialogs;
        MainWindow main(m.ini);
        QCOMPARE(main.runStartup(), StartupEnd::GoOn);
        main.show();
        // Lookup drop-downs of two kinds, marked as such, and a window that is none.
        QWidget lookup;
        QLabel otherLookup;
        QWidget other;
        markAsLookupPopup(&lookup);
        markAsLookupPopup(&otherLookup);
        QVERIFY(isLookupPopup(&otherLookup));
        QVERIFY(!isLookupPopup(&other));
        for (QWidget* window : {&lookup, static_cast<QWidget*>(&otherLookup), &other})
            window->show();
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(lookup.isVisible());
        QVERIFY(otherLookup.isVisible());
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(!lookup.isVisible());
        QVERIFY(!otherLookup.isVisible());
        QVERIFY(other.isVisible());
        QVERIFY(main.isVisible());
        QVERIFY(main.close());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
