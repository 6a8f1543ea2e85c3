#include "shell/fmMainProto.h"

#include "platform/IniFile.h"
#include "shell/fmFirstStart.h"
#include "shell/uAppEvents.h"
#include "shell/uDocumentWindows.h"
#include "shell/uHtmlHelp.h"
#include "shell/uRunningCopy.h"
#include "shell/uToolButtons.h"
#include "store/fmOptions.h"
#include "store/uScripts.h"
#include "util/SysUtPlus.h"
#include "util/uGuard.h"
#include "util/uMessageBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

TfrmMainProto* frmMainProto = nullptr;
QString ProductSiteUrl;

namespace {

const char* const kSoftSiteUrl = "https://www.morvelsoft.example/";
constexpr int kCaptionLength = 128;
constexpr int kDaysBefore = 31;
constexpr int kDaysAfter = 10;

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// A drop-down button: a click on the button itself drops its menu as the arrow does.
void dropDown(QToolButton* button, QMenu* menu) {
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

bool sameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

void listHelpContexts(const QWidget* parent, const QString& indent, QString& text,
                      QList<int>& contexts) {
    for (const QObject* child : parent->children()) {
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (const int context = htmlhelp::HelpContext(widget)) {
            contexts << context;
            text += indent + widget->objectName() + QStringLiteral("  ") +
                    QString::number(context) + QLatin1Char('\n');
        }
        listHelpContexts(widget, indent + QStringLiteral("  "), text, contexts);
    }
}

} // namespace

TfrmMainProto::TfrmMainProto(const QString& iniPath, QWidget* parent)
    : QWidget(parent), m_iniPath(iniPath) {
    setObjectName(QStringLiteral("frmMainProto"));
    CopyProgram = QCoreApplication::applicationFilePath();
    buildLayout();
    setWindowState(windowState() | Qt::WindowMaximized);
}

TfrmMainProto::~TfrmMainProto() {
    delete m_appEvents;
    if (frmMainProto == this)
        frmMainProto = nullptr;
}

// ---- Layout ----

void TfrmMainProto::buildLayout() {
    auto* pnlMain = new QWidget(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    tlbarMainMenu = new QToolBar(pnlMain);
    tlbarMainMenu->setObjectName(QStringLiteral("tlbarMainMenu"));
    tlbarMainMenu->setIconSize(QSize(32, 32));
    tlbarMainMenu->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto* browserMenu = new QWidget(pnlMain);
    browserMenu->setObjectName(QStringLiteral("pnlBrowserMenu"));
    auto* browserMenuLayout = new QHBoxLayout(browserMenu);
    browserMenuLayout->setContentsMargins(0, 0, 0, 0);
    pnlBrowserMenu = browserMenu;

    tlbarExit = new QToolBar(pnlMain);
    tlbarExit->setObjectName(QStringLiteral("tlbarExit"));
    tlbarExit->setIconSize(QSize(32, 32));
    tlbarExit->addSeparator();
    btnPass =
        AddToolBarButton(tlbarExit, QStringLiteral("btnPass"), QStringLiteral("Переход"), 21, 0);
    btnHelp =
        AddToolBarButton(tlbarExit, QStringLiteral("btnHelp"), QStringLiteral("Справка"), 5, 1020);
    btnExit =
        AddToolBarButton(tlbarExit, QStringLiteral("btnExit"), QStringLiteral("Выход"), 6, 1021);
    connect(btnExit, &QToolButton::clicked, this, &TfrmMainProto::btnExitClick);

    ppmnPass = new QMenu(this);
    ppmnPass->setObjectName(QStringLiteral("ppmnPass"));
    dropDown(btnPass, ppmnPass);

    ppmnAbout = new QMenu(this);
    ppmnAbout->setObjectName(QStringLiteral("ppmnAbout"));
    mnitHelpIndex = menuItem(ppmnAbout, QStringLiteral("mnitHelpIndex"), QString());
    mnitProductSite = menuItem(ppmnAbout, QStringLiteral("mnitProductSite"), QString());
    mnitSoftSite =
        menuItem(ppmnAbout, QStringLiteral("mnitSoftSite"), QStringLiteral("Сайт Morvel Soft..."));
    ppmnAbout->addSeparator()->setObjectName(QStringLiteral("N5"));
    mnitAbout = menuItem(ppmnAbout, QStringLiteral("mnitAbout"), QStringLiteral("О программе..."));
    mnitContextHelp =
        menuItem(ppmnAbout, QStringLiteral("mnitContextHelp"), QStringLiteral("Что это такое?"));
    mnitContextHelp->setVisible(false);
    dropDown(btnHelp, ppmnAbout);
    connect(mnitHelpIndex, &QAction::triggered, this, &TfrmMainProto::mnitHelpIndexClick);
    connect(mnitProductSite, &QAction::triggered, this, &TfrmMainProto::mnitProductSiteClick);
    connect(mnitSoftSite, &QAction::triggered, this, &TfrmMainProto::mnitSoftSiteClick);
    connect(mnitAbout, &QAction::triggered, this, &TfrmMainProto::mnitAboutClick);
    connect(mnitContextHelp, &QAction::triggered, this, &TfrmMainProto::mnitContextHelpClick);

    // The keyboard commands of the hidden menu item.
    auto* mnitF11 = new QAction(this);
    mnitF11->setObjectName(QStringLiteral("mnitF11"));
    mnitF11->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(mnitF11, &QAction::triggered, this, &TfrmMainProto::mnitContextHelpClick);
    addAction(mnitF11);
    auto* mnitHelpContextTest = new QAction(this);
    mnitHelpContextTest->setObjectName(QStringLiteral("mnitHelpContextTest"));
    mnitHelpContextTest->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W));
    connect(mnitHelpContextTest, &QAction::triggered, this,
            &TfrmMainProto::mnitHelpContextTestClick);
    addAction(mnitHelpContextTest);

    auto* mainLayout = new QHBoxLayout(pnlMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addWidget(tlbarMainMenu);
    mainLayout->addWidget(browserMenu, 1);
    mainLayout->addWidget(tlbarExit);

    auto* pnlTop = new QWidget(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlBrowser = label(pnlTop, QStringLiteral("pnlBrowser"));
    pnlBrowser->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBrowser->setLineWidth(2);
    pnlBrowser->setAlignment(Qt::AlignCenter);
    pnlBrowser->setMargin(3);
    QFont titleFont = pnlBrowser->font();
    titleFont.setBold(true);
    pnlBrowser->setFont(titleFont);
    htmlhelp::SetHelpContext(pnlBrowser, 1023);
    auto* topLayout = new QVBoxLayout(pnlTop);
    topLayout->setContentsMargins(2, 0, 2, 2);
    topLayout->addWidget(pnlBrowser);

    pgctrlBrowserPages = new QTabWidget(this);
    pgctrlBrowserPages->setObjectName(QStringLiteral("pgctrlBrowserPages"));
    pgctrlBrowserPages->setTabBarAutoHide(true);
    pgctrlBrowserPages->setDocumentMode(true);
    auto* tbshtForActiveBrowser = new QWidget;
    tbshtForActiveBrowser->setObjectName(QStringLiteral("tbshtForActiveBrowser"));
    auto* pageLayout = new QVBoxLayout(tbshtForActiveBrowser);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(buildSplash());
    pgctrlBrowserPages->addTab(tbshtForActiveBrowser, QString());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlMain);
    layout->addWidget(pnlTop);
    layout->addWidget(pgctrlBrowserPages, 1);
    resize(1000, 700);
}

QWidget* TfrmMainProto::buildSplash() {
    pnlSplash = new QWidget;
    pnlSplash->setObjectName(QStringLiteral("pnlSplash"));
    pnlSplash->installEventFilter(this);
    htmlhelp::SetHelpContext(pnlSplash, 1022);

    auto* center = new QFrame(pnlSplash);
    center->setObjectName(QStringLiteral("pnlSplashCenter"));
    center->setFrameStyle(QFrame::Panel | QFrame::Raised);
    center->setLineWidth(2);
    center->setFixedSize(440, 150);
    pnlSplashCenter = center;

    Panel2 = new QWidget(center);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(2, 2, 436, 90);
    Panel2->setAutoFillBackground(true);
    QPalette grey = Panel2->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    Panel2->setPalette(grey);

    QFont titleFont = font();
    titleFont.setPointSize(26);
    titleFont.setBold(true);
    lblNameProgrammBack = label(Panel2, QStringLiteral("lblNameProgrammBack"));
    lblNameProgrammFront = label(Panel2, QStringLiteral("lblNameProgrammFront"));
    for (QLabel* l : {lblNameProgrammBack, lblNameProgrammFront})
        l->setFont(titleFont);
    QPalette back = lblNameProgrammBack->palette();
    back.setColor(QPalette::WindowText, Qt::black);
    lblNameProgrammBack->setPalette(back);
    QPalette front = lblNameProgrammFront->palette();
    front.setColor(QPalette::WindowText, Qt::white);
    lblNameProgrammFront->setPalette(front);
    lblNameProgrammFront->setAttribute(Qt::WA_TranslucentBackground);
    lblNameProgrammFront->raise();

    lblBuild = label(center, QStringLiteral("lblBuild"));
    lblBuild->setGeometry(2, 100, 436, 40);
    lblBuild->setAlignment(Qt::AlignCenter);

    auto* shutDown = new QFrame(pnlSplash);
    shutDown->setObjectName(QStringLiteral("pnlShotDown"));
    shutDown->setFixedSize(440, 44);
    auto* image = label(shutDown, QStringLiteral("Image1"));
    image->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32));
    auto* text =
        label(shutDown, QStringLiteral("lblShotDown"), QStringLiteral("Завершение работы...     "));
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* shutDownLayout = new QHBoxLayout(shutDown);
    shutDownLayout->addWidget(image);
    shutDownLayout->addWidget(text, 1);
    shutDown->hide();
    pnlShotDown = shutDown;
    return pnlSplash;
}

void TfrmMainProto::LayoutSplash() {
    QWidget* parent = pnlSplashCenter->parentWidget();
    pnlSplashCenter->move((parent->width() - pnlSplashCenter->width()) / 2,
                          (parent->height() - pnlSplashCenter->height()) / 2);
    pnlShotDown->move((parent->width() - pnlShotDown->width()) / 2,
                      pnlSplashCenter->y() + pnlSplashCenter->height());
    for (QLabel* l : {lblNameProgrammFront, lblNameProgrammBack})
        l->adjustSize();
    const int top = (Panel2->height() - lblNameProgrammFront->height()) / 2;
    lblNameProgrammFront->move((Panel2->width() - lblNameProgrammFront->width()) / 2, top);
    lblNameProgrammBack->move(lblNameProgrammFront->x() - 1, top + 1);
}

// ---- Creation ----

StartupEnd TfrmMainProto::FormCreate() {
    RegisterUpdates();
    m_appEvents = new TAppEvents;
    m_appEvents->onContextHelp = [this](QWidget* widget, const QPoint&) {
        ShowContextPopup(htmlhelp::HelpContextAt(widget));
    };
    InitGlobals();
    const StartupEnd end = CreateDataStore();
    if (end != StartupEnd::GoOn)
        return end;
    const QString name = m_dataStore->ProgramName;
    mnitProductSite->setText(name + QStringLiteral(" в Интернете..."));
    mnitHelpIndex->setText(QStringLiteral("Справка по ") + name);
    const TDateTime now = datetime::now();
    DefaultPeriodEnd = now + kDaysAfter;
    DefaultPeriodStart = now - kDaysBefore;
    PaneHost = pgctrlBrowserPages->widget(0);
    CurrentPane = nullptr;
    AfterFormCreate();
    m_dataStore->LoadUserData();
    DbCount = LoadDbCaptions();
    fillSwitchMenu();
    m_runningCopy = new TRunningCopy(this);
    connect(m_runningCopy, &TRunningCopy::raiseRequested, this, &TfrmMainProto::bringToFront);
    m_runningCopy->Listen(m_dataStore->DatabaseName());
    m_running = true;
    return StartupEnd::GoOn;
}

StartupEnd TfrmMainProto::CreateDataStore() {
    m_dataStore.reset();
    m_dataStore = std::make_unique<TdtmdlDataStoreProto>(m_iniPath);
    const StartupEnd end = m_dataStore->DataModuleCreate(UpdateSteps);
    const QString title = ProgramFileBaseName() + QLatin1Char(' ') + ProgramVersion;
    lblNameProgrammFront->setText(title);
    lblNameProgrammBack->setText(title);
    const QDateTime built = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    lblBuild->setText(
        QStringLiteral("Сборка: %1").arg(built.toString(QStringLiteral("dd.MM.yyyy"))));
    return end;
}

QString TfrmMainProto::GetApplicationTitle() {
    return GetTitle();
}

void TfrmMainProto::RegisterUpdates() {}

void TfrmMainProto::SetWindowCaption() {
    setWindowTitle(GetTitle());
}

void TfrmMainProto::UpdateCaptions() {
    SetWindowCaption();
    QGuiApplication::setApplicationDisplayName(GetApplicationTitle());
}

void TfrmMainProto::AfterFormCreate() {}

bool TfrmMainProto::WantFirstStart() {
    return false;
}

void TfrmMainProto::fillSwitchMenu() {
    ppmnPass->clear();
    tlbarExit->findChild<QAction*>(QStringLiteral("btnPassAction"))->setVisible(DbCount != 1);
    if (DbCount == 1)
        return;
    for (int i = 0; i < DbCount; ++i) {
        QAction* item =
            menuItem(ppmnPass, QStringLiteral("mnitPass%1").arg(i), DbCaptions.value(i));
        item->setIcon(TdtmdlDataStoreProto::imglstImages(20));
        connect(item, &QAction::triggered, this,
                [this, i] { runGuarded([&] { mnBtnPassClick(i); }); });
    }
}

// ---- Upgrade steps ----

void TfrmMainProto::RegisterUpdate(const QString& caption, Currency version,
                                   std::function<void()> step) {
    UpdateSteps.RegisterUpdate(caption, version, std::move(step));
}

void TfrmMainProto::RunUpdates(Currency fromVersion) {
    UpdateSteps.RunUpdates(fromVersion);
}

void TfrmMainProto::RunScriptResource(const QString& name) {
    ::RunScriptResource(name, this);
}

void TfrmMainProto::RunScript(const QString& text) {
    ::RunScript(text, this);
}

// ---- Showing, resizing ----

void TfrmMainProto::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || !m_running)
        return;
    UpdateCaptions();
    if (TfrmFirstStart::ShowAtStartup())
        ShowPane<TfrmFirstStart>();
    LayoutSplash();
}

void TfrmMainProto::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutSplash();
}

bool TfrmMainProto::eventFilter(QObject* watched, QEvent* event) {
    // The splash lays itself out again whenever the pane area changes size.
    if (watched == pnlSplash && event->type() == QEvent::Resize)
        LayoutSplash();
    return QWidget::eventFilter(watched, event);
}

// Closes the current pane; false (the error shown) when it refuses, and it stays.
bool TfrmMainProto::closeCurrentPane() {
    if (!CurrentPane)
        return true;
    return runGuarded([this] { CurrentPane->ClosePane(); });
}

void TfrmMainProto::freeCurrentPane() {
    delete CurrentPane;
    CurrentPane = nullptr;
    m_paneInfo.reset();
}

void TfrmMainProto::showSplash() {
    pnlSplash->show();
    LayoutSplash();
}

TfrmPane* TfrmMainProto::ShowPane(const PaneFactory& create, std::unique_ptr<TPaneInfo> paneInfo) {
    if (!closeCurrentPane())
        return nullptr;
    freeCurrentPane();
    m_paneInfo = paneInfo ? std::move(paneInfo) : std::make_unique<TPaneInfo>();
    try {
        CurrentPane = create(this);
        pnlBrowser->setText(CurrentPane->windowTitle());
        pnlSplash->hide();
        CurrentPane->Embed(m_paneInfo.get());
        pnlBrowser->setText(CurrentPane->windowTitle());
        return CurrentPane;
    } catch (...) {
        freeCurrentPane();
        showSplash();
        QString caption;
        runGuarded([&] { caption = TfrmOptions::GetStoreCapt(); });
        pnlBrowser->setText(caption);
        showCurrentException();
        return nullptr;
    }
}

void TfrmMainProto::mnitAboutClick() {
    if (!closeCurrentPane())
        return;
    freeCurrentPane();
    pnlBrowser->setText(mnitAbout->text());
    showSplash();
}

void TfrmMainProto::btnExitClick() {
    close();
}

// ---- Help ----

QString TfrmMainProto::ProgramFileBaseName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void TfrmMainProto::EnterContextHelpMode() {
    m_appEvents->EnterContextHelpMode();
}

void TfrmMainProto::ShowHelpContext(int context) {
    ShowHelpContextFor(this, context);
}

void TfrmMainProto::ShowHelpContextFor(QWidget*, int context) {
    if (context > 0)
        htmlhelp::HelpContextTopic(m_dataStore->HelpFile, context);
}

bool TfrmMainProto::ShowContextPopup(int context) {
    htmlhelp::TextPopup(m_dataStore->HelpFile + QStringLiteral("::/Context.txt"), context,
                        QCursor::pos());
    return true;
}

void TfrmMainProto::mnitHelpIndexClick() {
    htmlhelp::DisplayTopic(m_dataStore->HelpFile);
}

void TfrmMainProto::mnitProductSiteClick() {
    QDesktopServices::openUrl(QUrl(ProductSiteUrl));
}

void TfrmMainProto::mnitSoftSiteClick() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kSoftSiteUrl)));
}

void TfrmMainProto::mnitContextHelpClick() {
    EnterContextHelpMode();
}

void TfrmMainProto::mnitHelpContextTestClick() {
    QWidget* form = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    QString text;
    QList<int> contexts;
    listHelpContexts(form, QString(), text, contexts);
    for (int context : contexts)
        ShowContextPopup(context);
    dialogs::showMessage(text);
}

// ---- The switch between books ----

int TfrmMainProto::LoadDbCaptions() {
    const TIniFile& ini = m_dataStore->Ini();
    const int count = ini.ReadInteger(QStringLiteral("DB"), QStringLiteral("DatabaseCount"), 0);
    DbCaptions.clear();
    for (int i = 0; i < count; ++i)
        DbCaptions << ini.ReadString(QStringLiteral("DB"),
                                     QStringLiteral("DatabaseCaption_%1").arg(i), QString())
                          .left(kCaptionLength);
    return count;
}

void TfrmMainProto::mnBtnPassClick(int index) {
    const QString path = m_dataStore->Ini().ReadString(
        QStringLiteral("DB"), QStringLiteral("DatabasePath_%1").arg(index), QString());
    if (sameFile(path, m_dataStore->DatabaseName())) {
        bringToFront();
        return;
    }
    if (!path.isEmpty() && TRunningCopy::AskToRaise(path))
        return;
    const QStringList arguments{QStringLiteral("B%1").arg(index + 1)};
    if (!QProcess::startDetached(CopyProgram, arguments))
        dialogs::messageBox(this,
                            QStringLiteral("Не удалось запустить программу \"%1\" для базы данных "
                                           "\"%2\".")
                                .arg(CopyProgram, DbCaptions.value(index)),
                            QStringLiteral("Ошибка"), MB_OK | MB_ICONERROR);
}

void TfrmMainProto::bringToFront() {
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// ---- Closing ----

void TfrmMainProto::closeEvent(QCloseEvent* event) {
    if (!m_running || m_closing) {
        event->accept();
        return;
    }
    // Document windows are modeless: each is asked first, with its own question.
    if (!TDocumentWindows::CloseAll()) {
        event->ignore();
        return;
    }
    m_closing = true;
    runExitSteps();
    m_running = false;
    m_closing = false;
    event->accept();
    QCoreApplication::quit();
}

void TfrmMainProto::runExitSteps() {
    closeCurrentPane();
    pnlSplash->show();
    pnlShotDown->show();
    runGuarded([this] { m_dataStore->SaveUserData(); });
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // The extra folder is an option of the book: read it while the book is still open.
    QString extraFolder;
    runGuarded([&] { extraFolder = TfrmOptions::GetRezFolder().trimmed(); });
    const QString bookFolder = QFileInfo(m_dataStore->DatabaseName()).absolutePath();
    runGuarded([this] { m_dataStore->CloseAndBackup(); });
    for (int kind = TdtmdlDataStoreProto::Reserv; kind <= TdtmdlDataStoreProto::Week; ++kind)
        CopyBackupFolder(TdtmdlDataStoreProto::BackupFolder(kind), extraFolder, bookFolder);
}

// The kind's backup folder of the open book goes to the extra folder of the options.
void TfrmMainProto::CopyBackupFolder(const QString& kind, const QString& extraFolder,
                                     const QString& bookFolder) {
    if (extraFolder.isEmpty())
        return;
    const QString destination = QDir(extraFolder).filePath(kind) + QLatin1Char('/');
    const QString source = QDir(bookFolder).filePath(kind) + QLatin1Char('/');
    if (!QFileInfo(destination).isDir() && !QDir().mkdir(destination)) {
        ShowWarning(this, QStringLiteral("Не удается создать каталог: ") + destination);
        return;
    }
    if (QFileInfo(source).isDir())
        runGuarded([&] { CopyFolder(source, destination); });
}
