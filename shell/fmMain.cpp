#include "shell/fmMain.h"

#include "documents/fmVocs.h"
#include "shell/uHtmlHelp.h"
#include "shell/uToolButtons.h"
#include "store/dmDataStoreProto.h"
#include "store/fmOptions.h"
#include "store/uKaltroUpdates.h"
#include "store/uNewDatabase.h"
#include "util/SysUtPlus.h"
#include "util/uExceptions.h"
#include "util/uGuard.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

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

QIcon imglstMenus(int index) {
    for (const Image& image : kMenuImages)
        if (image.index == index)
            return QIcon::fromTheme(QString::fromLatin1(image.theme),
                                    QApplication::style()->standardIcon(image.fallback));
    return QIcon();
}

QToolButton* toolButton(QToolBar* bar, const QString& name, const QString& caption, int image,
                        int helpContext) {
    QToolButton* button = AddToolBarButton(bar, name, caption, image, helpContext);
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(52, 54);
    return button;
}

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption, int image) {
    QAction* item = menu->addAction(imglstMenus(image), caption);
    item->setObjectName(name);
    return item;
}

QMenu* popupMenu(QWidget* owner, const QString& name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    return menu;
}

// A click on the button itself drops its menu down as a click on the arrow does.
void dropDown(QToolButton* button, QMenu* menu) {
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

} // namespace

TfrmMain::TfrmMain(const QString& iniPath, QWidget* parent) : TfrmMainProto(iniPath, parent) {
    setObjectName(QStringLiteral("frmMain"));
    SetSplashCaption(QStringLiteral("Kaltro"));
    buildToolBar();
    buildHelpItems();
}

void TfrmMain::buildToolBar() {
    btnIncome =
        toolButton(tlbarMainMenu, QStringLiteral("btnIncome"), QStringLiteral("Приход"), 2, 5000);
    btnIssue =
        toolButton(tlbarMainMenu, QStringLiteral("btnIssue"), QStringLiteral("Расход"), 3, 5001);
    btnReports =
        toolButton(tlbarMainMenu, QStringLiteral("btnReports"), QStringLiteral("Отчеты"), 0, 5002);
    btnService =
        toolButton(tlbarMainMenu, QStringLiteral("btnService"), QStringLiteral("Сервис"), 7, 5003);
    tlbarMainMenu->addSeparator()->setObjectName(QStringLiteral("Bevel1"));
    buildReportsMenu();
    buildServiceMenu();
    dropDown(btnReports, ppmnReports);
    dropDown(btnService, ppmnService);

    // The hidden main-menu item: F12 drops the service menu down.
    mnitService1 = new QAction(this);
    mnitService1->setObjectName(QStringLiteral("mnitService1"));
    mnitService1->setShortcut(QKeySequence(Qt::Key_F12));
    connect(mnitService1, &QAction::triggered, this, &TfrmMain::btnServiceClick);
    addAction(mnitService1);
}

void TfrmMain::buildReportsMenu() {
    ppmnReports = popupMenu(this, QStringLiteral("ppmnReports"));
    mnitMovementReport = menuItem(ppmnReports, QStringLiteral("mnitMovementReport"),
                                  QStringLiteral("Движение денег"), 10);
    miReestrDocs = menuItem(ppmnReports, QStringLiteral("miReestrDocs"),
                            QStringLiteral("Реестр документов"), 8);
    mnitPayersReport = menuItem(ppmnReports, QStringLiteral("mnitPayersReport"),
                                QStringLiteral("Сводка по плательщикам"), 10);
    mnitAcceptorsReport = menuItem(ppmnReports, QStringLiteral("mnitAcceptorsReport"),
                                   QStringLiteral("Сводка по получателям платежей"), 10);
    mnitAnalizeOutlay = menuItem(ppmnReports, QStringLiteral("mnitAnalizeOutlay"),
                                 QStringLiteral("Анализ расходов"), 10);
}

void TfrmMain::buildServiceMenu() {
    ppmnService = popupMenu(this, QStringLiteral("ppmnService"));
    mnitVocsIncome = menuItem(ppmnService, QStringLiteral("mnitVocsIncome"),
                              QStringLiteral("Справочник плательщиков"), 9);
    mnitVocsIssue = menuItem(ppmnService, QStringLiteral("mnitVocsIssue"),
                             QStringLiteral("Справочник получателей"), 9);
    mnitVocsReasons = menuItem(ppmnService, QStringLiteral("mnitVocsReasons"),
                               QStringLiteral("Справочник типов платежей"), 9);
    mnitOwnerEdit =
        menuItem(ppmnService, QStringLiteral("mnitOwnerEdit"), QStringLiteral("Реквизиты"), 3);
    mnitVocsUsers =
        menuItem(ppmnService, QStringLiteral("mnitVocsUsers"), QStringLiteral("Пользователи"), 6);
    ppmnService->addSeparator()->setObjectName(QStringLiteral("N3"));

    N2 = popupMenu(ppmnService, QStringLiteral("N2"));
    N2->setTitle(QStringLiteral("Настройки"));
    N2->setIcon(imglstMenus(5));
    N2->menuAction()->setObjectName(QStringLiteral("N2Action"));
    ppmnService->addMenu(N2);
    mnitOptions = menuItem(N2, QStringLiteral("mnitOptions"), QStringLiteral("Опции..."), 8);
    N2->addSeparator()->setObjectName(QStringLiteral("N1"));
    mnitAddNewKassa =
        menuItem(N2, QStringLiteral("mnitAddNewKassa"), QStringLiteral("Добавить кассу..."), 2);
    mnitAddSchet =
        menuItem(N2, QStringLiteral("mnitAddSchet"), QStringLiteral("Добавить Р/С..."), 2);
    connect(mnitOptions, &QAction::triggered, this, &TfrmMain::mnitOptionsClick);
    connect(mnitAddNewKassa, &QAction::triggered, this, &TfrmMain::mnitAddNewKassaClick);
    connect(mnitAddSchet, &QAction::triggered, this, &TfrmMain::mnitAddSchetClick);
}

void TfrmMain::buildHelpItems() {
    const QList<QAction*> items = ppmnAbout->actions();
    const qsizetype after = items.indexOf(mnitHelpIndex) + 1;
    N4 = new QAction(imglstMenus(1), QStringLiteral("Начало работы..."), ppmnAbout);
    N4->setObjectName(QStringLiteral("N4"));
    ppmnAbout->insertAction(items.value(after), N4);
    connect(N4, &QAction::triggered, this, &TfrmMain::N4Click);
}

int TfrmMain::GetOwnerType() {
    return StrToInt(dtmdlDataStoreProto->GetFieldValue("PARTS", "LOWNER", GetOwnerKey()).trimmed());
}

QString TfrmMain::GetTitle() {
    return DataStore().ProgramName + QStringLiteral(": ") + TfrmOptions::GetStoreCapt();
}

void TfrmMain::InitGlobals() {
    frmMainProto = this;
}

StartupEnd TfrmMain::CreateDataStore() {
    ProgramVersion = QStringLiteral("2.18");
    const StartupEnd end = TfrmMainProto::CreateDataStore();
    if (end != StartupEnd::GoOn)
        return end;
    pnlBrowser->setText(TfrmOptions::GetStoreCapt());
    ProductSiteUrl = QString::fromLatin1(kProductSiteUrl);
    DataStore().ProgramName = QStringLiteral("Kaltro");
    return end;
}

void TfrmMain::RegisterUpdates() {
    TfrmMainProto::RegisterUpdates();
    RegisterKaltroUpdates(UpdateSteps, QString(), this);
}

void TfrmMain::UpdateCaptions() {
    TfrmMainProto::UpdateCaptions();
    runGuarded([this] {
        switch (GetOwnerType()) {
        case otBankAccount:
            mnitOwnerEdit->setText(QStringLiteral("Реквизиты Р/С"));
            break;
        case otCashDesk:
            mnitOwnerEdit->setText(QStringLiteral("Реквизиты кассы"));
            break;
        default:
            break;
        }
    });
}

void TfrmMain::AfterFormCreate() {
    TfrmMainProto::AfterFormCreate();
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    AppDeactivate();
            });
    ApplyUserPermissions();
}

bool TfrmMain::WantFirstStart() {
    return true;
}

void TfrmMain::ApplyUserPermissions() {
    const QString rights = dtmdlDataStoreProto->GetFieldValue(
        QStringLiteral("USERS"), QStringLiteral("DATA2"), dtmdlDataStoreProto->UserKey);
    auto allows = [&](const char* key) {
        return TfrmVocsUsers::RightsAllow(rights, QString::fromLatin1(key));
    };
    btnIncome->setEnabled(allows("IncomeDoc1"));
    btnIssue->setEnabled(allows("IssueDoc1"));
    mnitMovementReport->setEnabled(allows("MovementReport1"));
    mnitPayersReport->setEnabled(allows("PayersReport1"));
    mnitAcceptorsReport->setEnabled(allows("AcceptorsReport1"));
    mnitAnalizeOutlay->setEnabled(allows("AnIssueReport1"));
    mnitVocsIncome->setEnabled(allows("VocsIncome1"));
    mnitVocsIssue->setEnabled(allows("VocsIssue1"));
    mnitVocsReasons->setEnabled(allows("VocsReasons1"));
    mnitOwnerEdit->setEnabled(allows("VocsInsertOwner1"));
    mnitVocsUsers->setEnabled(allows("VocsUsers1"));
    miReestrDocs->setEnabled(allows("ReestrDocs1"));
    // The settings submenu and everything in it: no item of it runs, by menu or by shortcut.
    const bool options = allows("Options1");
    N2->menuAction()->setEnabled(options);
    for (QAction* item : N2->actions())
        item->setEnabled(options);
}

void TfrmMain::AppDeactivate() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("TfrmKibitz") && window->isVisible())
            window->hide();
}

// ---- Commands ----

void TfrmMain::btnServiceClick() {
    btnService->showMenu();
}

void TfrmMain::mnitOptionsClick() {
    ShowPane<TfrmOptions>();
}

void TfrmMain::mnitAddNewKassaClick() {
    runGuarded([this] {
        AddDatabase(this, otCashDesk, QStringLiteral("Название новой кассы"),
                    QStringLiteral("Новая касса"));
    });
}

void TfrmMain::mnitAddSchetClick() {
    runGuarded([this] {
        AddDatabase(this, otBankAccount, QStringLiteral("Название нового расчтеного счета"),
                    QStringLiteral("Новый расчетный счет"));
    });
}

void TfrmMain::N4Click() {
    ShowHelpContext(1);
}
