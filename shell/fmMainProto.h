#pragma once

#include "shell/fmPane.h"
#include "store/dmDataStoreProto.h"
#include "store/uUpdateSteps.h"
#include "util/uDateTime.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class TAppEvents;
class TRunningCopy;

// The main window base: creates the data store (whose creation runs the start-up), hosts one
// pane at a time over the splash, keeps the shared browse period, the upgrade steps and the list
// of books for the switch drop-down, offers the help, and on closing runs the exit steps: the
// user's data, the database closed with its backups, the backup folders copied to the extra
// folder of the options.
class TfrmMainProto : public QWidget {
    Q_OBJECT
public:
    // iniPath: the INI file of the data store; empty means the program's own.
    explicit TfrmMainProto(const QString& iniPath = QString(), QWidget* parent = nullptr);
    ~TfrmMainProto() override;

    // The window's creation: registers the upgrade steps, switches tool tips off, creates the
    // data store and runs the start-up, then fills the window. Anything but GoOn: the program
    // ends without showing the window, and closing it runs no exit step.
    StartupEnd FormCreate();

    // ---- Hooks of the product's main window ----
    virtual QString GetTitle() = 0;
    virtual QString GetApplicationTitle();
    // Must set frmMainProto to this window.
    virtual void InitGlobals() = 0;
    // Creates the data store, runs its start-up and fills the splash labels.
    virtual StartupEnd CreateDataStore();
    // Registers the upgrade steps; empty here.
    virtual void RegisterUpdates();
    virtual void SetWindowCaption();
    // The window's title and the application's title.
    virtual void UpdateCaptions();
    // What-is-this mode: the next left click shows the pop-up of the widget under the cursor.
    virtual void EnterContextHelpMode();
    virtual void ShowHelpContext(int context);
    // Shows the topic of a help context; nothing for 0 or less.
    virtual void ShowHelpContextFor(QWidget* window, int context);
    // Called once while the window is created, after the start-up went on.
    virtual void AfterFormCreate();
    // Whether the first-start pane may be offered.
    virtual bool WantFirstStart();

    // ---- Upgrade steps ----
    void RegisterUpdate(const QString& caption, Currency version, std::function<void()> step);
    void RunUpdates(Currency fromVersion);
    // Run a carried script, or a script text, on the data store's open database.
    void RunScriptResource(const QString& name);
    void RunScript(const QString& text);
    TUpdateSteps UpdateSteps;

    // ---- Help ----
    // The executable's file name without its folder and extension.
    static QString ProgramFileBaseName();
    // Shows the text pop-up of a help context from "Context.txt" under the mouse cursor.
    bool ShowContextPopup(int context);

    // ---- Books of the switch drop-down ----
    // Reads the captions of the INI list into DbCaptions (each cut to 128 characters).
    int LoadDbCaptions();
    // The book at index of the INI list: this copy's own book brings this window to the front,
    // a book open in another running copy brings that copy to the front, any other starts a
    // copy of the program with the argument "B" + (index + 1).
    void mnBtnPassClick(int index);
    QStringList DbCaptions;
    int DbCount = 0;
    // The program that the switch starts; this executable unless a test says otherwise.
    QString CopyProgram;

    // ---- Panes ----
    using PaneFactory = std::function<TfrmPane*(QWidget* owner)>;
    // Replaces the current pane: closes and frees it, creates the new one (owned by this
    // window) and embeds it with paneInfo (a plain TPaneInfo when none is given), which lives
    // as long as the pane. When the current pane refuses to close, it stays and the error is
    // shown; when the new pane fails to embed, it is dropped, the splash shows and so does the
    // error. Returns the new pane, or nullptr when it is not shown.
    TfrmPane* ShowPane(const PaneFactory& create, std::unique_ptr<TPaneInfo> paneInfo = nullptr);
    template <class Pane> Pane* ShowPane(std::unique_ptr<TPaneInfo> paneInfo = nullptr) {
        return static_cast<Pane*>(
            ShowPane([](QWidget* owner) { return new Pane(owner); }, std::move(paneInfo)));
    }

    // ---- Commands ----
    void mnitAboutClick();
    void mnitHelpIndexClick();
    void mnitProductSiteClick();
    void mnitSoftSiteClick();
    void mnitContextHelpClick();
    void mnitHelpContextTestClick();
    void btnExitClick();

    // ---- Read by the rest of the program ----
    // The browse period of every period browser: now - 31 days to now + 10 days at start.
    TDateTime DefaultPeriodStart = 0;
    TDateTime DefaultPeriodEnd = 0;
    // The parent of panes, the host of their tool bars, and the pane now shown (none while the
    // splash shows).
    QWidget* PaneHost = nullptr;
    QWidget* pnlBrowserMenu = nullptr;
    TfrmPane* CurrentPane = nullptr;
    // The title line above the pane area.
    QLabel* pnlBrowser = nullptr;

    // The program's name shown over the splash.
    QString SplashCaption() const { return m_splashCaption; }
    void SetSplashCaption(const QString& caption) { m_splashCaption = caption; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void LayoutSplash();

    TdtmdlDataStoreProto& DataStore() { return *m_dataStore; }

    QToolBar* tlbarMainMenu = nullptr;
    QToolBar* tlbarExit = nullptr;
    QToolButton* btnPass = nullptr;
    QToolButton* btnHelp = nullptr;
    QToolButton* btnExit = nullptr;
    QMenu* ppmnPass = nullptr;
    QMenu* ppmnAbout = nullptr;
    QAction* mnitHelpIndex = nullptr;
    QAction* mnitProductSite = nullptr;
    QAction* mnitSoftSite = nullptr;
    QAction* mnitAbout = nullptr;
    QAction* mnitContextHelp = nullptr;

private:
    void buildLayout();
    QWidget* buildSplash();
    void fillSwitchMenu();
    bool closeCurrentPane();
    void freeCurrentPane();
    void showSplash();
    void bringToFront();
    void runExitSteps();
    void CopyBackupFolder(const QString& kind, const QString& extraFolder,
                          const QString& bookFolder);

    QString m_iniPath;
    QString m_splashCaption;
    std::unique_ptr<TdtmdlDataStoreProto> m_dataStore;
    std::unique_ptr<TPaneInfo> m_paneInfo; // of the current pane
    TAppEvents* m_appEvents = nullptr;
    TRunningCopy* m_runningCopy = nullptr;
    bool m_running = false; // the start-up went on and the exit steps have not run yet
    bool m_closing = false;

    QTabWidget* pgctrlBrowserPages = nullptr;
    QWidget* pnlSplash = nullptr;
    QWidget* pnlShotDown = nullptr;
    QWidget* pnlSplashCenter = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* lblBuild = nullptr;
    QLabel* lblNameProgrammBack = nullptr;
    QLabel* lblNameProgrammFront = nullptr;
};

// The main window; set by InitGlobals.
extern TfrmMainProto* frmMainProto;
// The address that the help menu's product-site item opens; the product sets it.
extern QString ProductSiteUrl;
