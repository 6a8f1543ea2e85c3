#pragma once

#include "shell/main_window_base.h"

class QAction;
class QMenu;
class QToolButton;

// The product's main window: its versions, name and title, its upgrade steps, the kind of the
// open book, the tool-bar buttons and menus of the documents, reports, dictionaries and
// options, the logged-on user's rights on them, and the new-book commands.
class MainWindow : public MainWindowBase {
    Q_OBJECT
public:
    explicit MainWindow(const QString& iniPath = QString(), QWidget* parent = nullptr);

    QString title() override;
    StartupEnd startSession() override;
    void registerUpgrades() override;
    // The base's, then the caption of the owner's requisites by the kind of book.
    void updateCaptions() override;
    // Watches the application's deactivation, applies the user's rights and gives the document
    // windows their print command.
    void afterStartup() override;
    bool wantsFirstStart() override;
    // Print templates still open in the word processor: their edited files are offered for
    // storing (TemplateEdit::finishOpenEdits).
    void beforeExitSteps(bool unattended) override;

    // ---- Commands ----
    QAction* incomeAction() const { return m_incomeAction; }
    QAction* issueAction() const { return m_issueAction; }
    QAction* ownerDetailsAction() const { return m_ownerDetailsAction; }
    // The settings submenu of the service menu: the options pane and the new-book commands.
    QMenu* settingsMenu() const { return m_settingsMenu; }
    QAction* optionsAction() const { return m_optionsAction; }
    QAction* addCashDeskAction() const { return m_addCashDeskAction; }
    QAction* addBankAccountAction() const { return m_addBankAccountAction; }
    // F12: drops the service menu down.
    QAction* serviceShortcutAction() const { return m_serviceShortcutAction; }
    // "Начало работы...", after the help index in the help menu.
    QAction* gettingStartedAction() const { return m_gettingStartedAction; }

private slots:
    // The document browsers of the book's kind: payments for a bank account, cash orders for a
    // cash desk; nothing for a book of another kind.
    void onIncomeTriggered();
    void onIssueTriggered();
    // The application lost the focus: every open lookup drop-down is hidden.
    void onApplicationDeactivated();
    void onServiceShortcutTriggered();
    void onOptionsTriggered();
    // The requisites of the book, in the owner card.
    void onOwnerDetailsTriggered();
    void onPayersDictionaryTriggered();
    void onRecipientsDictionaryTriggered();
    void onPaymentTypesDictionaryTriggered();
    void onUsersTriggered();
    void onAddCashDeskTriggered();
    void onAddBankAccountTriggered();
    void onGettingStartedTriggered();

private:
    void buildToolBar();
    void buildReportsMenu();
    void connectDocumentRegister();
    void connectStoredReports();
    void connectExpenseAnalysis();
    void buildServiceMenu();
    void buildSettingsMenu();
    void buildHelpItems();
    // The pane of the book's kind; none for a book of another kind.
    template <class BankAccountBrowser, class CashDeskBrowser> void showBrowserOfBook();
    // Disables every command whose rights key (area word + "1") holds "N" for the logged-on
    // user. The settings submenu goes with "Options1", its items with it. The users item is
    // enabled only for an administrator.
    void applyUserRights();

    QToolButton* m_serviceButton = nullptr;
    QAction* m_reportsAction = nullptr;
    QAction* m_serviceAction = nullptr;
    QMenu* m_reportsMenu = nullptr;
    QMenu* m_serviceMenu = nullptr;
    QMenu* m_settingsMenu = nullptr;
    QAction* m_incomeAction = nullptr;
    QAction* m_issueAction = nullptr;
    QAction* m_movementReportAction = nullptr;
    QAction* m_documentRegisterAction = nullptr;
    QAction* m_payersReportAction = nullptr;
    QAction* m_recipientsReportAction = nullptr;
    QAction* m_expenseAnalysisAction = nullptr;
    QAction* m_payersDictionaryAction = nullptr;
    QAction* m_recipientsDictionaryAction = nullptr;
    QAction* m_paymentTypesDictionaryAction = nullptr;
    QAction* m_ownerDetailsAction = nullptr;
    QAction* m_usersAction = nullptr;
    QAction* m_optionsAction = nullptr;
    QAction* m_addCashDeskAction = nullptr;
    QAction* m_addBankAccountAction = nullptr;
    QAction* m_serviceShortcutAction = nullptr;
    QAction* m_gettingStartedAction = nullptr;
};
