#include "app/main_window.h"

#include "core/exceptions.h"
#include "documents/document_browser.h"
#include "documents/document_window.h"
#include "documents/owner_card.h"
#include "documents/partners_pane.h"
#include "documents/payment_types_pane.h"
#include "documents/users_pane.h"
#include "printing/document_printing.h"
#include "printing/product_options_pane.h"
#include "printing/template_edit.h"
#include "reports/document_register.h"
#include "reports/expense_analysis_browser.h"
#include "reports/movement_report.h"
#include "reports/partner_reports.h"
#include "shell/help_viewer.h"
#include "shell/lookup_popups.h"
#include "shell/new_book_command.h"
#include "shell/sql_console.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/product_upgrades.h"
#include "store/user_rights.h"
#include "ui/action_builder.h"
#include "ui/guard.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// The product's site, which the help menu's product-site item opens and names in its status
// tip; an address of the reserved domain "example" until there is a real one.
const char* const kProductSiteUrl = "https://www.kaltro.example/";

struct Image {
    int index;
    const char* theme;
    QStyle::StandardPixmap fallback;
};

// The images of the window's menus, by index: the desktop's icon theme first, the style's own
// icons where the theme has none. The tool bars take the data store's shared images.
const Image kMenuImages[] = {
    {1, "help-contents", QStyle::SP_DialogHelpButton},
    {2, "document-new", QStyle::SP_FileIcon},
    {3, "document-properties", QStyle::SP_FileDialogInfoView},
    {5, "preferences-system", QStyle::SP_ComputerIcon},
    {6, "system-users", QStyle::SP_DirHomeIcon},
    {8, "view-list", QStyle::SP_FileDialogListView},
    {9, "x-office-address-book", QStyle::SP_DirIcon},
    {10, "x-office-spreadsheet", QStyle::SP_FileDialogDetailedView},
};

QIcon menuIcon(int index) {
    for (const Image& image : kMenuImages)
        if (image.index == index)
            return QIcon::fromTheme(QString::fromLatin1(image.theme),
                                    QApplication::style()->standardIcon(image.fallback));
    return QIcon();
}

// The sizes of the product's tool buttons.
QToolButton* sized(QToolButton* button) {
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(52, 54);
    return button;
}

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption, int image) {
    QAction* item = menu->addAction(menuIcon(image), caption);
    item->setObjectName(name);
    return item;
}

QMenu* popupMenu(QWidget* owner, const QString& name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    return menu;
}

} // namespace

MainWindow::MainWindow(const QString& iniPath, QWidget* parent) : MainWindowBase(iniPath, parent) {
    setSplashCaption(QStringLiteral("Kaltro"));
    buildToolBar();
    buildHelpItems();
}

void MainWindow::buildToolBar() {
    m_incomeAction = buildAction(this, {.name = QStringLiteral("incomeAction"),
                                        .text = QStringLiteral("Приход"),
                                        .image = 2,
                                        .helpContext = 5000});
    m_issueAction = buildAction(this, {.name = QStringLiteral("issueAction"),
                                       .text = QStringLiteral("Расход"),
                                       .image = 3,
                                       .helpContext = 5001});
    m_reportsAction = buildAction(this, {.name = QStringLiteral("reportsAction"),
                                         .text = QStringLiteral("Отчеты"),
                                         .image = 0,
                                         .helpContext = 5002});
    m_serviceAction = buildAction(this, {.name = QStringLiteral("serviceAction"),
                                         .text = QStringLiteral("Сервис"),
                                         .image = 7,
                                         .helpContext = 5003});
    connect(m_incomeAction, &QAction::triggered, this, &MainWindow::onIncomeTriggered);
    connect(m_issueAction, &QAction::triggered, this, &MainWindow::onIssueTriggered);
    buildReportsMenu();
    buildServiceMenu();
    sized(addActionButton(m_mainToolBar, m_incomeAction, QStringLiteral("incomeButton")));
    sized(addActionButton(m_mainToolBar, m_issueAction, QStringLiteral("issueButton")));
    sized(addMenuButton(m_mainToolBar, m_reportsAction, m_reportsMenu,
                        QStringLiteral("reportsButton")));
    m_serviceButton = sized(addMenuButton(m_mainToolBar, m_serviceAction, m_serviceMenu,
                                          QStringLiteral("serviceButton")));
    m_mainToolBar->addSeparator();

    // A command without a menu item: F12 drops the service menu down.
    m_serviceShortcutAction = buildAction(this, {.name = QStringLiteral("serviceShortcutAction"),
                                                 .shortcut = QKeySequence(Qt::Key_F12)});
    connect(m_serviceShortcutAction, &QAction::triggered, this,
            &MainWindow::onServiceShortcutTriggered);
    addAction(m_serviceShortcutAction);
}

void MainWindow::buildReportsMenu() {
    m_reportsMenu = popupMenu(this, QStringLiteral("reportsMenu"));
    m_movementReportAction = menuItem(m_reportsMenu, QStringLiteral("movementReportAction"),
                                      QStringLiteral("Движение денег"), 10);
    m_documentRegisterAction = menuItem(m_reportsMenu, QStringLiteral("documentRegisterAction"),
                                        QStringLiteral("Реестр документов"), 8);
    m_payersReportAction = menuItem(m_reportsMenu, QStringLiteral("payersReportAction"),
                                    QStringLiteral("Сводка по плательщикам"), 10);
    m_recipientsReportAction = menuItem(m_reportsMenu, QStringLiteral("recipientsReportAction"),
                                        QStringLiteral("Сводка по получателям платежей"), 10);
    m_expenseAnalysisAction = menuItem(m_reportsMenu, QStringLiteral("expenseAnalysisAction"),
                                       QStringLiteral("Анализ расходов"), 10);
    connectStoredReports();
    connectDocumentRegister();
    connectExpenseAnalysis();
}

// The register of documents is no pane: a window of its own beside the main window.
void MainWindow::connectDocumentRegister() {
    connect(m_documentRegisterAction, &QAction::triggered, this,
            [] { runGuarded([] { DocumentRegister::open(); }); });
}

// The expense analysis item opens its browser.
void MainWindow::connectExpenseAnalysis() {
    connect(m_expenseAnalysisAction, &QAction::triggered, this,
            [this] { showPane<ExpenseAnalysisBrowser>(); });
}

// The stored reports' items open their browsers.
void MainWindow::connectStoredReports() {
    connect(m_movementReportAction, &QAction::triggered, this,
            [this] { showPane<MovementReportBrowser>(); });
    connect(m_payersReportAction, &QAction::triggered, this,
            [this] { showPane<PayersReportBrowser>(); });
    connect(m_recipientsReportAction, &QAction::triggered, this,
            [this] { showPane<RecipientsReportBrowser>(); });
}

void MainWindow::buildServiceMenu() {
    m_serviceMenu = popupMenu(this, QStringLiteral("serviceMenu"));
    m_payersDictionaryAction = menuItem(m_serviceMenu, QStringLiteral("payersDictionaryAction"),
                                        QStringLiteral("Справочник плательщиков"), 9);
    m_recipientsDictionaryAction =
        menuItem(m_serviceMenu, QStringLiteral("recipientsDictionaryAction"),
                 QStringLiteral("Справочник получателей"), 9);
    m_paymentTypesDictionaryAction =
        menuItem(m_serviceMenu, QStringLiteral("paymentTypesDictionaryAction"),
                 QStringLiteral("Справочник типов платежей"), 9);
    m_ownerDetailsAction = menuItem(m_serviceMenu, QStringLiteral("ownerDetailsAction"),
                                    QStringLiteral("Реквизиты"), 3);
    connect(m_ownerDetailsAction, &QAction::triggered, this, &MainWindow::onOwnerDetailsTriggered);
    m_usersAction =
        menuItem(m_serviceMenu, QStringLiteral("usersAction"), QStringLiteral("Пользователи"), 6);
    m_serviceMenu->addSeparator();
    buildSettingsMenu();
    connect(m_payersDictionaryAction, &QAction::triggered, this,
            &MainWindow::onPayersDictionaryTriggered);
    connect(m_recipientsDictionaryAction, &QAction::triggered, this,
            &MainWindow::onRecipientsDictionaryTriggered);
    connect(m_paymentTypesDictionaryAction, &QAction::triggered, this,
            &MainWindow::onPaymentTypesDictionaryTriggered);
    connect(m_usersAction, &QAction::triggered, this, &MainWindow::onUsersTriggered);
}

void MainWindow::buildSettingsMenu() {
    m_settingsMenu = popupMenu(m_serviceMenu, QStringLiteral("settingsMenu"));
    m_settingsMenu->setTitle(QStringLiteral("Настройки"));
    m_settingsMenu->setIcon(menuIcon(5));
    m_settingsMenu->menuAction()->setObjectName(QStringLiteral("settingsMenuAction"));
    m_serviceMenu->addMenu(m_settingsMenu);
    m_optionsAction =
        menuItem(m_settingsMenu, QStringLiteral("optionsAction"), QStringLiteral("Опции..."), 8);
    m_settingsMenu->addSeparator();
    m_addCashDeskAction = menuItem(m_settingsMenu, QStringLiteral("addCashDeskAction"),
                                   QStringLiteral("Добавить кассу..."), 2);
    m_addBankAccountAction = menuItem(m_settingsMenu, QStringLiteral("addBankAccountAction"),
                                      QStringLiteral("Добавить Р/С..."), 2);
    connect(m_optionsAction, &QAction::triggered, this, &MainWindow::onOptionsTriggered);
    connect(m_addCashDeskAction, &QAction::triggered, this, &MainWindow::onAddCashDeskTriggered);
    connect(m_addBankAccountAction, &QAction::triggered, this,
            &MainWindow::onAddBankAccountTriggered);
}

void MainWindow::buildHelpItems() {
    const QList<QAction*> items = m_helpMenu->actions();
    const qsizetype after = items.indexOf(helpIndexAction()) + 1;
    m_gettingStartedAction =
        new QAction(menuIcon(1), QStringLiteral("Начало работы..."), m_helpMenu);
    m_gettingStartedAction->setObjectName(QStringLiteral("gettingStartedAction"));
    m_helpMenu->insertAction(items.value(after), m_gettingStartedAction);
    connect(m_gettingStartedAction, &QAction::triggered, this,
            &MainWindow::onGettingStartedTriggered);
}

QString MainWindow::title() {
    return dataStore().programName() + QStringLiteral(": ") + dataStore().options().storeCaption();
}

StartupEnd MainWindow::startSession() {
    const StartupEnd end = MainWindowBase::startSession();
    if (end != StartupEnd::GoOn)
        return end;
    setPaneTitle(dataStore().options().storeCaption());
    setProductSiteUrl(QString::fromLatin1(kProductSiteUrl));
    dataStore().setProgramName(QStringLiteral("Kaltro"));
    return end;
}

void MainWindow::registerUpgrades() {
    MainWindowBase::registerUpgrades();
    registerProductUpgrades(upgradeSteps(), QString(), SqlConsole::scriptRunner(this));
}

void MainWindow::updateCaptions() {
    MainWindowBase::updateCaptions();
    runGuarded([this] {
        switch (BookKind(ownerType(dataStore()))) {
        case BookKind::BankAccount:
            m_ownerDetailsAction->setText(QStringLiteral("Реквизиты Р/С"));
            break;
        case BookKind::CashDesk:
            m_ownerDetailsAction->setText(QStringLiteral("Реквизиты кассы"));
            break;
        default:
            break;
        }
    });
}

void MainWindow::beforeExitSteps(bool unattended) {
    MainWindowBase::beforeExitSteps(unattended);
    printing::TemplateEdit::finishOpenEdits(this, unattended);
}

void MainWindow::afterStartup() {
    MainWindowBase::afterStartup();
    DocumentWindow::setPrintCommand([](DocumentWindow& window) {
        return printing::printDocument(&window, window.formClass(), window.documentKey()) ==
               printing::AfterPrint::CloseWindow;
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    onApplicationDeactivated();
            });
    applyUserRights();
}

bool MainWindow::wantsFirstStart() {
    return true;
}

void MainWindow::applyUserRights() {
    const QString rights = UserRights(dataStore()).rights();
    auto allows = [&](const char* key) {
        return UserRights::rightsAllow(rights, QString::fromLatin1(key));
    };
    m_incomeAction->setEnabled(allows("IncomeDoc1"));
    m_issueAction->setEnabled(allows("IssueDoc1"));
    m_movementReportAction->setEnabled(allows("MovementReport1"));
    m_payersReportAction->setEnabled(allows("PayersReport1"));
    m_recipientsReportAction->setEnabled(allows("AcceptorsReport1"));
    m_expenseAnalysisAction->setEnabled(allows("AnIssueReport1"));
    m_payersDictionaryAction->setEnabled(allows("VocsIncome1"));
    m_recipientsDictionaryAction->setEnabled(allows("VocsIssue1"));
    m_paymentTypesDictionaryAction->setEnabled(allows("VocsReasons1"));
    m_ownerDetailsAction->setEnabled(allows("VocsInsertOwner1"));
    // The right to open the users dictionary is the administrator's flag, not a right of the
    // text: a rights text that allows everything (an empty one) gives no user the users.
    m_usersAction->setEnabled(UserRights(dataStore()).isAdministrator());
    m_documentRegisterAction->setEnabled(allows("ReestrDocs1"));
    // The settings submenu and everything in it: no item of it runs, by menu or by shortcut.
    const bool options = allows("Options1");
    m_settingsMenu->menuAction()->setEnabled(options);
    for (QAction* item : m_settingsMenu->actions())
        item->setEnabled(options);
}

void MainWindow::onApplicationDeactivated() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (isLookupPopup(window) && window->isVisible())
            window->hide();
}

// ---- Commands ----

template <class BankAccountBrowser, class CashDeskBrowser> void MainWindow::showBrowserOfBook() {
    runGuarded([this] {
        switch (BookKind(ownerType(dataStore()))) {
        case BookKind::BankAccount:
            showPane<BankAccountBrowser>();
            break;
        case BookKind::CashDesk:
            showPane<CashDeskBrowser>();
            break;
        }
    });
}

void MainWindow::onIncomeTriggered() {
    showBrowserOfBook<IncomingPaymentsBrowser, CashReceiptsBrowser>();
}

void MainWindow::onIssueTriggered() {
    showBrowserOfBook<PaymentOrdersBrowser, CashDisbursementsBrowser>();
}

void MainWindow::onServiceShortcutTriggered() {
    m_serviceButton->showMenu();
}

void MainWindow::onOptionsTriggered() {
    showPane<ProductOptionsPane>();
}

void MainWindow::onOwnerDetailsTriggered() {
    runGuarded([this] { OwnerCard::editOwner(this); });
}

void MainWindow::onPayersDictionaryTriggered() {
    showPane<PayersPane>();
}

void MainWindow::onRecipientsDictionaryTriggered() {
    showPane<RecipientsPane>();
}

void MainWindow::onPaymentTypesDictionaryTriggered() {
    showPane<PaymentTypesPane>();
}

void MainWindow::onUsersTriggered() {
    showPane<UsersPane>();
}

void MainWindow::onAddCashDeskTriggered() {
    runGuarded([this] {
        addBook(this, BookKind::CashDesk, QStringLiteral("Название новой кассы"),
                QStringLiteral("Новая касса"));
    });
}

void MainWindow::onAddBankAccountTriggered() {
    runGuarded([this] {
        addBook(this, BookKind::BankAccount, QStringLiteral("Название нового расчтеного счета"),
                QStringLiteral("Новый расчетный счет"));
    });
}

void MainWindow::onGettingStartedTriggered() {
    showHelpContext(1);
}
