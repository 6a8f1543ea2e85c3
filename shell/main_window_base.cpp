#include "shell/main_window_base.h"

#include "platform/web_browser.h"
#include "shell/app_events.h"
#include "shell/document_windows.h"
#include "shell/first_start_pane.h"
#include "shell/help_viewer.h"
#include "ui/action_builder.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

namespace {

MainWindowBase* g_current = nullptr;

// The maker's site, which its help menu item opens and names in its status tip; an address of
// the reserved domain "example" until there is a real one.
const char* const kSoftSiteUrl = "https://www.morvelsoft.example/";
constexpr int kDaysBefore = 31;
constexpr int kDaysAfter = 10;
// How often, and how many times at most, an unattended close looks again for what it waits on.
constexpr int kUnattendedRoundMs = 20;
constexpr int kUnattendedRounds = 150;

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

// Closes the open menus, and every dialog and modal window on screen but main, without a
// question: a dialog is rejected, another window closed, or hidden when it refuses. True when
// there was one.
bool closeModalWindows(QWidget* main) {
    bool closedSome = false;
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            popup->hide();
        closedSome = true;
    }
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : windows) {
        if (!window || window == main || !window->isVisible())
            continue;
        if (auto* dialog = qobject_cast<QDialog*>(window.data())) {
            dialog->reject();
            closedSome = true;
        } else if (window->isModal()) {
            if (!window->close() && window)
                window->hide();
            closedSome = true;
        }
    }
    return closedSome;
}

void listHelpContexts(const QWidget* parent, const QString& indent, QString& text,
                      QList<int>& contexts) {
    for (const QObject* child : parent->children()) {
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (const int context = help::helpContext(widget)) {
            contexts << context;
            text += indent + widget->objectName() + QStringLiteral("  ") +
                    QString::number(context) + QLatin1Char('\n');
        }
        listHelpContexts(widget, indent + QStringLiteral("  "), text, contexts);
    }
}

} // namespace

MainWindowBase::MainWindowBase(const QString& iniPath, QWidget* parent)
    : QWidget(parent), m_session(std::make_unique<Session>(iniPath)) {
    setObjectName(QStringLiteral("mainWindow"));
    connect(m_session.get(), &Session::raiseRequested, this, &MainWindowBase::bringToFront);
    connect(m_session.get(), &Session::closingBook, this, &MainWindowBase::onClosingBook);
    buildLayout();
    setWindowState(windowState() | Qt::WindowMaximized);
}

MainWindowBase::~MainWindowBase() {
    delete m_appEvents;
    if (g_current == this)
        g_current = nullptr;
}

MainWindowBase* MainWindowBase::current() {
    return g_current;
}

void MainWindowBase::initGlobals() {
    g_current = this;
}

// ---- Layout ----

void MainWindowBase::buildLayout() {
    QWidget* toolBarRow = buildToolBarRow();
    QWidget* titleRow = buildTitleRow();
    m_paneTabs = new QTabWidget(this);
    m_paneTabs->setObjectName(QStringLiteral("paneTabs"));
    m_paneTabs->setTabBarAutoHide(true);
    m_paneTabs->setDocumentMode(true);
    auto* panePage = new QWidget;
    panePage->setObjectName(QStringLiteral("panePage"));
    auto* pageLayout = new QVBoxLayout(panePage);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(buildSplash());
    m_paneTabs->addTab(panePage, QString());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBarRow);
    layout->addWidget(titleRow);
    layout->addWidget(m_paneTabs, 1);
    resize(1000, 700);
}

// The product's tool bar, the host of the pane's tool bar, and the switch, help and exit
// buttons.
QWidget* MainWindowBase::buildToolBarRow() {
    auto* toolBarRow = new QWidget(this);
    toolBarRow->setObjectName(QStringLiteral("toolBarRow"));
    m_mainToolBar = new QToolBar(toolBarRow);
    m_mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_mainToolBar->setIconSize(QSize(32, 32));
    m_mainToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_paneToolBarHost = new QWidget(toolBarRow);
    m_paneToolBarHost->setObjectName(QStringLiteral("paneToolBarHost"));
    auto* hostLayout = new QHBoxLayout(m_paneToolBarHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);

    m_switchMenu = new QMenu(this);
    m_switchMenu->setObjectName(QStringLiteral("switchMenu"));
    buildHelpMenu();
    m_switchAction = buildAction(
        this,
        {.name = QStringLiteral("switchAction"), .text = QStringLiteral("Переход"), .image = 21});
    m_helpAction = buildAction(this, {.name = QStringLiteral("helpAction"),
                                      .text = QStringLiteral("Справка"),
                                      .image = 5,
                                      .helpContext = 1020});
    m_exitAction = buildAction(this, {.name = QStringLiteral("exitAction"),
                                      .text = QStringLiteral("Выход"),
                                      .image = 6,
                                      .helpContext = 1021});
    connect(m_exitAction, &QAction::triggered, this, &MainWindowBase::onExitTriggered);

    m_exitToolBar = new QToolBar(toolBarRow);
    m_exitToolBar->setObjectName(QStringLiteral("exitToolBar"));
    m_exitToolBar->setIconSize(QSize(32, 32));
    m_exitToolBar->addSeparator();
    m_switchButton =
        addMenuButton(m_exitToolBar, m_switchAction, m_switchMenu, QStringLiteral("switchButton"));
    addMenuButton(m_exitToolBar, m_helpAction, m_helpMenu, QStringLiteral("helpButton"));
    addActionButton(m_exitToolBar, m_exitAction, QStringLiteral("exitButton"));

    auto* rowLayout = new QHBoxLayout(toolBarRow);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(0);
    rowLayout->addWidget(m_mainToolBar);
    rowLayout->addWidget(m_paneToolBarHost, 1);
    rowLayout->addWidget(m_exitToolBar);
    return toolBarRow;
}

void MainWindowBase::buildHelpMenu() {
    m_helpMenu = new QMenu(this);
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    m_helpIndexAction = menuItem(m_helpMenu, QStringLiteral("helpIndexAction"), QString());
    m_productSiteAction = menuItem(m_helpMenu, QStringLiteral("productSiteAction"), QString());
    m_vendorSiteAction = menuItem(m_helpMenu, QStringLiteral("vendorSiteAction"),
                                  QStringLiteral("Сайт Morvel Soft..."));
    m_vendorSiteAction->setStatusTip(QString::fromLatin1(kSoftSiteUrl));
    m_helpMenu->addSeparator();
    m_aboutAction =
        menuItem(m_helpMenu, QStringLiteral("aboutAction"), QStringLiteral("О программе..."));
    connect(m_helpIndexAction, &QAction::triggered, this, &MainWindowBase::onHelpIndexTriggered);
    connect(m_productSiteAction, &QAction::triggered, this,
            &MainWindowBase::onProductSiteTriggered);
    connect(m_vendorSiteAction, &QAction::triggered, this, &MainWindowBase::onVendorSiteTriggered);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindowBase::onAboutTriggered);

    // Two commands that only their shortcuts offer: the window holds them, no menu shows them.
    m_contextHelpAction = new QAction(QStringLiteral("Что это такое?"), this);
    m_contextHelpAction->setObjectName(QStringLiteral("contextHelpAction"));
    m_contextHelpAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(m_contextHelpAction, &QAction::triggered, this,
            &MainWindowBase::onContextHelpTriggered);
    addAction(m_contextHelpAction);
    m_helpContextTestAction = new QAction(this);
    m_helpContextTestAction->setObjectName(QStringLiteral("helpContextTestAction"));
    m_helpContextTestAction->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W));
    connect(m_helpContextTestAction, &QAction::triggered, this,
            &MainWindowBase::onHelpContextTestTriggered);
    addAction(m_helpContextTestAction);
}

QWidget* MainWindowBase::buildTitleRow() {
    auto* titleRow = new QWidget(this);
    titleRow->setObjectName(QStringLiteral("titleRow"));
    m_paneTitleLabel = label(titleRow, QStringLiteral("paneTitleLabel"));
    m_paneTitleLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_paneTitleLabel->setLineWidth(2);
    m_paneTitleLabel->setAlignment(Qt::AlignCenter);
    m_paneTitleLabel->setMargin(3);
    QFont titleFont = m_paneTitleLabel->font();
    titleFont.setBold(true);
    m_paneTitleLabel->setFont(titleFont);
    help::setHelpContext(m_paneTitleLabel, 1023);
    auto* titleLayout = new QVBoxLayout(titleRow);
    titleLayout->setContentsMargins(2, 0, 2, 2);
    titleLayout->addWidget(m_paneTitleLabel);
    return titleRow;
}

QWidget* MainWindowBase::buildSplash() {
    m_splash = new QWidget;
    m_splash->setObjectName(QStringLiteral("splash"));
    m_splash->installEventFilter(this);
    help::setHelpContext(m_splash, 1022);

    auto* center = new QFrame(m_splash);
    center->setObjectName(QStringLiteral("splashFrame"));
    center->setFrameStyle(QFrame::Panel | QFrame::Raised);
    center->setLineWidth(2);
    center->setFixedSize(440, 150);
    m_splashFrame = center;

    m_splashTitlePanel = new QWidget(center);
    m_splashTitlePanel->setObjectName(QStringLiteral("splashTitlePanel"));
    m_splashTitlePanel->setGeometry(2, 2, 436, 90);
    m_splashTitlePanel->setAutoFillBackground(true);
    QPalette grey = m_splashTitlePanel->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    m_splashTitlePanel->setPalette(grey);

    QFont titleFont = font();
    titleFont.setPointSize(26);
    titleFont.setBold(true);
    m_programNameShadowLabel = label(m_splashTitlePanel, QStringLiteral("programNameShadowLabel"));
    m_programNameLabel = label(m_splashTitlePanel, QStringLiteral("programNameLabel"));
    for (QLabel* l : {m_programNameShadowLabel, m_programNameLabel})
        l->setFont(titleFont);
    QPalette back = m_programNameShadowLabel->palette();
    back.setColor(QPalette::WindowText, Qt::black);
    m_programNameShadowLabel->setPalette(back);
    QPalette front = m_programNameLabel->palette();
    front.setColor(QPalette::WindowText, Qt::white);
    m_programNameLabel->setPalette(front);
    m_programNameLabel->setAttribute(Qt::WA_TranslucentBackground);
    m_programNameLabel->raise();

    m_buildLabel = label(center, QStringLiteral("buildLabel"));
    m_buildLabel->setGeometry(2, 100, 436, 40);
    m_buildLabel->setAlignment(Qt::AlignCenter);

    auto* shutDown = new QFrame(m_splash);
    shutDown->setObjectName(QStringLiteral("shutDownPanel"));
    shutDown->setFixedSize(440, 44);
    auto* image = label(shutDown, QStringLiteral("shutDownImage"));
    image->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32));
    auto* text = label(shutDown, QStringLiteral("shutDownLabel"),
                       QStringLiteral("Завершение работы...     "));
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* shutDownLayout = new QHBoxLayout(shutDown);
    shutDownLayout->addWidget(image);
    shutDownLayout->addWidget(text, 1);
    shutDown->hide();
    m_shutDownPanel = shutDown;
    return m_splash;
}

void MainWindowBase::layoutSplash() {
    QWidget* parent = m_splashFrame->parentWidget();
    m_splashFrame->move((parent->width() - m_splashFrame->width()) / 2,
                        (parent->height() - m_splashFrame->height()) / 2);
    m_shutDownPanel->move((parent->width() - m_shutDownPanel->width()) / 2,
                          m_splashFrame->y() + m_splashFrame->height());
    for (QLabel* l : {m_programNameLabel, m_programNameShadowLabel})
        l->adjustSize();
    const int top = (m_splashTitlePanel->height() - m_programNameLabel->height()) / 2;
    m_programNameLabel->move((m_splashTitlePanel->width() - m_programNameLabel->width()) / 2, top);
    m_programNameShadowLabel->move(m_programNameLabel->x() - 1, top + 1);
}

// ---- Creation ----

StartupEnd MainWindowBase::runStartup() {
    registerUpgrades();
    m_appEvents = new AppEvents;
    m_appEvents->setContextHelpHandler(
        [this](QWidget* widget, const QPoint&) { showContextPopup(help::helpContextAt(widget)); });
    initGlobals();
    const StartupEnd end = startSession();
    if (end != StartupEnd::GoOn)
        return end;
    const QString name = dataStore().programName();
    m_productSiteAction->setText(name + QStringLiteral(" в Интернете..."));
    m_helpIndexAction->setText(QStringLiteral("Справка по ") + name);
    const DateTime now = datetime::now();
    m_browsePeriod = {now - kDaysBefore, now + kDaysAfter};
    m_paneHost = m_paneTabs->widget(0);
    m_currentPane = nullptr;
    afterStartup();
    fillSwitchMenu();
    emit startedUp();
    m_session->answerOtherCopies();
    return StartupEnd::GoOn;
}

StartupEnd MainWindowBase::startSession() {
    const StartupEnd end = m_session->start();
    const QString title = m_splashCaption + QLatin1Char(' ') + DataStore::programVersion();
    m_programNameLabel->setText(title);
    m_programNameShadowLabel->setText(title);
    const QDateTime built = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    m_buildLabel->setText(
        QStringLiteral("Сборка: %1").arg(built.toString(QStringLiteral("dd.MM.yyyy"))));
    return end;
}

QString MainWindowBase::applicationTitle() {
    return title();
}

void MainWindowBase::registerUpgrades() {}

void MainWindowBase::updateWindowTitle() {
    setWindowTitle(title());
}

void MainWindowBase::updateCaptions() {
    updateWindowTitle();
    dialogs::setApplicationTitle(applicationTitle());
}

void MainWindowBase::afterStartup() {}

void MainWindowBase::beforeExitSteps(bool /*unattended*/) {}

bool MainWindowBase::wantsFirstStart() {
    return false;
}

// One item per book of the INI list; with a single book the switch is hidden.
void MainWindowBase::fillSwitchMenu() {
    m_switchMenu->clear();
    const QStringList captions = m_session->bookCaptions();
    toolBarPlace(m_exitToolBar, m_switchButton)->setVisible(captions.size() != 1);
    m_switchAction->setVisible(captions.size() != 1);
    if (captions.size() == 1)
        return;
    for (int i = 0; i < captions.size(); ++i) {
        QAction* item =
            menuItem(m_switchMenu, QStringLiteral("switchBookAction%1").arg(i), captions.at(i));
        item->setIcon(toolImage(20));
        connect(item, &QAction::triggered, this,
                [this, i] { runGuarded([&] { m_session->switchToBook(i); }); });
    }
}

// ---- Showing, resizing ----

void MainWindowBase::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || !m_session->isRunning())
        return;
    updateCaptions();
    if (FirstStartPane::shouldShowAtStartup())
        showPane<FirstStartPane>();
    layoutSplash();
}

void MainWindowBase::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutSplash();
}

bool MainWindowBase::eventFilter(QObject* watched, QEvent* event) {
    // The splash lays itself out again whenever the pane area changes size.
    if (watched == m_splash && event->type() == QEvent::Resize)
        layoutSplash();
    return QWidget::eventFilter(watched, event);
}

QString MainWindowBase::paneTitle() const {
    return m_paneTitleLabel->text();
}

void MainWindowBase::setPaneTitle(const QString& title) {
    m_paneTitleLabel->setText(title);
}

// Closes the current pane; false (the error shown) when it refuses, and it stays.
bool MainWindowBase::closeCurrentPane() {
    if (!m_currentPane)
        return true;
    return runReporting([this] { m_currentPane->closePane(); });
}

// The current pane leaves the window at once, hidden and out of the pane host, its tool bar
// out of the tool-bar row; it is freed once control is back in the event loop, since the pane
// (or its tool bar) may be what sent the signal that replaces it.
void MainWindowBase::retireCurrentPane() {
    Pane* pane = std::exchange(m_currentPane, nullptr);
    if (!pane)
        return;
    pane->undock();
    pane->setParent(this);
    pane->deleteLater();
}

void MainWindowBase::showSplash() {
    m_splash->show();
    layoutSplash();
}

Pane* MainWindowBase::showPane(const PaneFactory& create, std::unique_ptr<PaneInfo> paneInfo) {
    if (!closeCurrentPane())
        return nullptr;
    retireCurrentPane();
    if (!paneInfo)
        paneInfo = std::make_unique<PaneInfo>();
    try {
        m_currentPane = create(this);
        setPaneTitle(m_currentPane->windowTitle());
        m_splash->hide();
        m_currentPane->embed(std::move(paneInfo));
        setPaneTitle(m_currentPane->windowTitle());
        return m_currentPane;
    } catch (...) {
        retireCurrentPane();
        showSplash();
        QString caption;
        runGuarded([&] { caption = DataStore::instance().options().storeCaption(); });
        setPaneTitle(caption);
        showCurrentException();
        return nullptr;
    }
}

void MainWindowBase::onAboutTriggered() {
    if (!closeCurrentPane())
        return;
    retireCurrentPane();
    setPaneTitle(m_aboutAction->text());
    showSplash();
}

void MainWindowBase::onExitTriggered() {
    close();
}

// ---- Help ----

void MainWindowBase::enterContextHelpMode() {
    m_appEvents->enterContextHelpMode();
}

void MainWindowBase::showHelpContext(int context) {
    showHelpContextFor(this, context);
}

void MainWindowBase::showHelpContextFor(QWidget*, int context) {
    if (context > 0)
        help::displayContextTopic(dataStore().helpFile(), context);
}

bool MainWindowBase::showContextPopup(int context) {
    help::displayTextPopup(dataStore().helpFile() + QStringLiteral("::/Context.txt"), context,
                           QCursor::pos());
    return true;
}

void MainWindowBase::onHelpIndexTriggered() {
    help::displayTopic(dataStore().helpFile());
}

void MainWindowBase::setProductSiteUrl(const QString& url) {
    m_productSiteUrl = url;
    m_productSiteAction->setStatusTip(url);
}

void MainWindowBase::onProductSiteTriggered() {
    openSite(m_productSiteUrl);
}

void MainWindowBase::onVendorSiteTriggered() {
    openSite(QString::fromLatin1(kSoftSiteUrl));
}

// A site that cannot be opened here is told with its address, for the user to open elsewhere.
void MainWindowBase::openSite(const QString& address) {
    openWebAddress(address, this, [this, address] {
        showWarning(this, QStringLiteral("Не удалось открыть страницу в браузере. Откройте этот "
                                         "адрес в браузере сами:\n%1")
                              .arg(address));
    });
}

void MainWindowBase::onContextHelpTriggered() {
    enterContextHelpMode();
}

void MainWindowBase::onHelpContextTestTriggered() {
    QWidget* form = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    QString text;
    QList<int> contexts;
    listHelpContexts(form, QString(), text, contexts);
    for (int context : contexts)
        showContextPopup(context);
    dialogs::showMessage(text);
}

// ---- The switch between books ----

void MainWindowBase::bringToFront() {
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// ---- Closing ----

void MainWindowBase::closeUnattended() {
    m_unattended = true;
    dialogs::setNobodyToAnswer(true);
    m_unattendedRounds = 0;
    closeOnceNothingModalIsLeft();
}

// The menus, modal windows and dialogs on screen close first, unasked; the event loops of those
// that run one end only once control has left them, and what their callers do next still finds
// the book open. So the main window closes from the program's own event loop, once nothing else
// is left; should something never let go, after kUnattendedRounds turns all the same.
void MainWindowBase::closeOnceNothingModalIsLeft() {
    const bool closedSome = closeModalWindows(this);
    const bool nested = QThread::currentThread()->loopLevel() > 1;
    if ((closedSome || nested) && ++m_unattendedRounds < kUnattendedRounds) {
        QTimer::singleShot(kUnattendedRoundMs, this, &MainWindowBase::closeOnceNothingModalIsLeft);
        return;
    }
    for (QWidget* window : DocumentWindows::windows())
        window->hide();
    close();
}

void MainWindowBase::closeEvent(QCloseEvent* event) {
    if (!m_session->isRunning() || m_closing) {
        event->accept();
        return;
    }
    // Document windows are modeless: each is asked first, with its own question.
    if (!DocumentWindows::closeAll()) {
        event->ignore();
        return;
    }
    m_closing = true;
    beforeExitSteps(m_unattended);
    runExitSteps();
    m_closing = false;
    event->accept();
    QCoreApplication::quit();
}

void MainWindowBase::runExitSteps() {
    closeCurrentPane();
    // The closed pane leaves the whole pane area to the splash.
    if (m_currentPane)
        m_currentPane->undock();
    m_shutDownPanel->show();
    showSplash();
    m_session->finish(m_unattended);
}

void MainWindowBase::onClosingBook() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

bool MainWindowBase::runReporting(const std::function<void()>& action) {
    return m_unattended ? runLogged(action) : runGuarded(action);
}
