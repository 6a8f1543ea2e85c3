#pragma once

#include "shell/fmMainProto.h"

class QAction;
class QMenu;
class QToolButton;

// The product's main window: its versions, name and title, its upgrade steps, the kind of the
// open book, the tool-bar buttons and menus of the documents, reports, dictionaries and
// options, the logged-on user's rights on them, and the new-book commands.
class TfrmMain : public TfrmMainProto {
    Q_OBJECT
public:
    explicit TfrmMain(const QString& iniPath = QString(), QWidget* parent = nullptr);

    // The owner row of the book: always key 0.
    static int GetOwnerKey() { return 0; }
    // PARTS.LOWNER of the owner row: 0 bank account, 1 cash desk. A value that is no integer
    // raises EConvertError.
    static int GetOwnerType();

    QString GetTitle() override;
    void InitGlobals() override;
    StartupEnd CreateDataStore() override;
    void RegisterUpdates() override;
    // The base's, then the caption of the owner's requisites by the kind of book.
    void UpdateCaptions() override;
    // Watches the application's deactivation and applies the user's rights.
    void AfterFormCreate() override;
    bool WantFirstStart() override;

    // Disables every button and menu item whose rights key (area word + "1") holds "N" for the
    // logged-on user. The settings submenu goes with "Options1", its items with it.
    void ApplyUserPermissions();
    // The application lost the focus: an open lookup drop-down is hidden.
    void AppDeactivate();

    // ---- Commands ----
    // F12: drops the service menu down.
    void btnServiceClick();
    // The options pane.
    void mnitOptionsClick();
    void mnitAddNewKassaClick();
    void mnitAddSchetClick();
    void N4Click();

protected:
    QToolButton* btnIncome = nullptr;
    QToolButton* btnIssue = nullptr;
    QToolButton* btnReports = nullptr;
    QToolButton* btnService = nullptr;
    QMenu* ppmnReports = nullptr;
    QMenu* ppmnService = nullptr;
    QMenu* N2 = nullptr;
    QAction* mnitMovementReport = nullptr;
    QAction* miReestrDocs = nullptr;
    QAction* mnitPayersReport = nullptr;
    QAction* mnitAcceptorsReport = nullptr;
    QAction* mnitAnalizeOutlay = nullptr;
    QAction* mnitVocsIncome = nullptr;
    QAction* mnitVocsIssue = nullptr;
    QAction* mnitVocsReasons = nullptr;
    QAction* mnitOwnerEdit = nullptr;
    QAction* mnitVocsUsers = nullptr;
    QAction* mnitOptions = nullptr;
    QAction* mnitAddNewKassa = nullptr;
    QAction* mnitAddSchet = nullptr;
    QAction* mnitService1 = nullptr;
    QAction* N4 = nullptr;

private:
    void buildToolBar();
    void buildReportsMenu();
    void buildServiceMenu();
    void buildHelpItems();
};
