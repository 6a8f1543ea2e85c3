#pragma once

#include "core/date_time.h"
#include "shell/dialog_feedback.h"
#include "shell/pane.h"
#include "shell/period.h"
#include "shell/session.h"
#include "store/data_store.h"

#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class AppEvents;

// The main window base: shows what the program's session (shell/session.h) reports, hosts one
// pane at a time over the splash, keeps the shared browse period, offers the help and the switch
// drop-down of the books, and closing it ends the session with its exit steps while the splash
// says "Завершение работы...". The store's notices are message boxes while it lives.
class MainWindowBase : public QWidget {
    Q_OBJECT
public:
    // iniPath: the INI file of the session's data store; empty means the program's own.
    explicit MainWindowBase(const QString& iniPath = QString(), QWidget* parent = nullptr);
    ~MainWindowBase() override;

    // The main window of the program (set by initGlobals while the start-up runs); nullptr
    // while there is none.
    static MainWindowBase* current();

    // The window's creation: registers the upgrade steps, switches tool tips off, runs the
    // session's start-up, then fills the window. Anything but GoOn: the program ends without
    // showing the window, and closing it runs no exit step.
    StartupEnd runStartup();

    // The session the window shows: its data store, its book, the switch and the exit steps.
    Session& session() { return *m_session; }

    // ---- Hooks of the product's main window ----
    virtual QString title() = 0;
    virtual QString applicationTitle();
    // Makes this window MainWindowBase::current().
    virtual void initGlobals();
    // Runs the session's start-up and fills the splash labels.
    virtual StartupEnd startSession();
    // Registers the upgrade steps; empty here.
    virtual void registerUpgrades();
    virtual void updateWindowTitle();
    // The window's title and the application's title.
    virtual void updateCaptions();
    // What-is-this mode: the next left click shows the pop-up of the widget under the cursor.
    virtual void enterContextHelpMode();
    virtual void showHelpContext(int context);
    // Shows the topic of a help context; nothing for 0 or less.
    virtual void showHelpContextFor(QWidget* window, int context);
    // Called once while the window is created, after the start-up went on.
    virtual void afterStartup();
    // Called as the program closes, once the document windows have closed and before the exit
    // steps, the book still open; unattended: closing by closeUnattended, with nobody there to
    // answer. Empty here.
    virtual void beforeExitSteps(bool unattended);
    // Whether the first-start pane may be offered.
    virtual bool wantsFirstStart();

    // Ends the program as a signal asks, with nobody there to answer: from now on no message box
    // waits (what it says goes to the log); the open menus, modal windows and dialogs (a report
    // window, the period dialog, a pick dialog, a message box) close unasked, and once the
    // program is back in its own event loop, the open document windows are hidden unasked
    // (nothing of them is saved) and the window closes with its exit steps, whose errors go to
    // the log instead of boxes. The close may come a moment after this returns.
    void closeUnattended();

    // ---- Upgrade steps ----
    UpgradeSteps& upgradeSteps() { return m_session->upgradeSteps(); }

    // ---- Help ----
    // Shows the text pop-up of a help context from "Context.txt" under the mouse cursor.
    bool showContextPopup(int context);

    // ---- Panes ----
    using PaneFactory = std::function<Pane*(QWidget* owner)>;
    // Replaces the current pane: closes it, takes it out of the window at once and frees it
    // once control is back in the event loop (the pane may be replaced from one of its own
    // signals), creates the new one (owned by this window) and embeds it with paneInfo (a plain
    // PaneInfo when none is given), which the pane keeps as long as it lives. When the current
    // pane refuses to close, it stays and the error is shown; when the new pane fails to embed,
    // it is dropped the same way, the splash shows and so does the error. Returns the new pane,
    // or nullptr when it is not shown.
    Pane* showPane(const PaneFactory& create, std::unique_ptr<PaneInfo> paneInfo = nullptr);
    template <class PaneType> PaneType* showPane(std::unique_ptr<PaneInfo> paneInfo = nullptr) {
        return static_cast<PaneType*>(
            showPane([](QWidget* owner) { return new PaneType(owner); }, std::move(paneInfo)));
    }
    // The pane now shown; nullptr while the splash shows.
    Pane* currentPane() const { return m_currentPane; }
    // The parent of panes (nullptr until the start-up went on) and the host of their tool bars.
    QWidget* paneHost() const { return m_paneHost; }
    QWidget* paneToolBarHost() const { return m_paneToolBarHost; }
    // The title line above the pane area.
    QString paneTitle() const;

    // ---- The browse period of every period browser ----
    // From now - 31 days to now + 10 days at start.
    Period browsePeriod() const { return m_browsePeriod; }
    void setBrowsePeriod(const Period& period) { m_browsePeriod = period; }

    // ---- Commands ----
    QAction* exitAction() const { return m_exitAction; }
    // The drop-downs of the book switch ("Переход", hidden with a single book) and of the help
    // ("Справка").
    QAction* switchAction() const { return m_switchAction; }
    QAction* helpAction() const { return m_helpAction; }
    // The splash instead of the current pane.
    QAction* aboutAction() const { return m_aboutAction; }
    QAction* helpIndexAction() const { return m_helpIndexAction; }
    QAction* productSiteAction() const { return m_productSiteAction; }
    QAction* vendorSiteAction() const { return m_vendorSiteAction; }
    // Shift+F1: the what-is-this mode.
    QAction* contextHelpAction() const { return m_contextHelpAction; }
    // Ctrl+Alt+W: the help contexts of the active window, listed and shown.
    QAction* helpContextTestAction() const { return m_helpContextTestAction; }

    // The address that the help menu's product-site item opens, shown in its status tip; the
    // product sets it.
    void setProductSiteUrl(const QString& url);

    // The program's name shown over the splash, with the program's version.
    QString splashCaption() const { return m_splashCaption; }
    void setSplashCaption(const QString& caption) { m_splashCaption = caption; }

signals:
    // The start-up has gone on and the book is open; emitted just before the window answers
    // other running copies, so that what a running program needs is in place by then.
    void startedUp();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    DataStore& dataStore() { return m_session->store(); }
    void setPaneTitle(const QString& title);

    // Where the product adds its own tool buttons and help items.
    QToolBar* m_mainToolBar = nullptr;
    QMenu* m_helpMenu = nullptr;

private slots:
    void onAboutTriggered();
    void onHelpIndexTriggered();
    void onProductSiteTriggered();
    void onVendorSiteTriggered();
    void onContextHelpTriggered();
    void onHelpContextTestTriggered();
    void onExitTriggered();
    // The splash takes the pane area and paints now: the close of the book holds up the event
    // loop.
    void onClosingBook();

private:
    void buildLayout();
    QWidget* buildToolBarRow();
    void buildHelpMenu();
    QWidget* buildTitleRow();
    QWidget* buildSplash();
    void layoutSplash();
    void fillSwitchMenu();
    bool closeCurrentPane();
    void retireCurrentPane();
    void showSplash();
    void openSite(const QString& address);
    void bringToFront();
    void runExitSteps();
    void closeOnceNothingModalIsLeft();
    // runGuarded, or runLogged on an unattended exit.
    bool runReporting(const std::function<void()>& action);

    DialogFeedback m_feedback;
    std::unique_ptr<Session> m_session;
    QString m_splashCaption;
    QString m_productSiteUrl;
    AppEvents* m_appEvents = nullptr;
    bool m_closing = false;
    bool m_unattended = false; // closing by closeUnattended: errors go to the log
    int m_unattendedRounds = 0;

    Period m_browsePeriod;
    QWidget* m_paneHost = nullptr;
    QWidget* m_paneToolBarHost = nullptr;
    Pane* m_currentPane = nullptr;

    QToolBar* m_exitToolBar = nullptr;
    QToolButton* m_switchButton = nullptr;
    QMenu* m_switchMenu = nullptr;
    QAction* m_switchAction = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_helpIndexAction = nullptr;
    QAction* m_productSiteAction = nullptr;
    QAction* m_vendorSiteAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_contextHelpAction = nullptr;
    QAction* m_helpContextTestAction = nullptr;

    QLabel* m_paneTitleLabel = nullptr;
    QTabWidget* m_paneTabs = nullptr;
    QWidget* m_splash = nullptr;
    QWidget* m_shutDownPanel = nullptr;
    QWidget* m_splashFrame = nullptr;
    QWidget* m_splashTitlePanel = nullptr;
    QLabel* m_buildLabel = nullptr;
    QLabel* m_programNameShadowLabel = nullptr;
    QLabel* m_programNameLabel = nullptr;
};
