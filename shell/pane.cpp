#include "shell/pane.h"

#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "store/data_store.h"
#include "ui/action_builder.h"
#include "ui/guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

Pane::Pane(QWidget* owner) : RunWindow(owner) {
    m_paneToolBar = new QToolBar(this);
    m_paneToolBar->setObjectName(QStringLiteral("paneToolBar"));
    m_paneToolBar->setIconSize(QSize(32, 32));
    m_paneToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_paneToolBar->setMovable(false);
    m_paneToolBar->hide();

    m_contentPanel = new QWidget(this);
    m_contentPanel->setObjectName(QStringLiteral("contentPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_contentPanel);
}

Pane::~Pane() {
    // Docked into the main window, the tool bar belongs to it now: take it away.
    delete m_paneToolBar;
}

QToolBar* Pane::toolBar() const {
    return m_paneToolBar;
}

void Pane::prepare() {}

void Pane::showEmbedded() {
    m_paneToolBar->show();
    show();
}

void Pane::embed(std::unique_ptr<PaneInfo> paneInfo) {
    if (objectName().isEmpty())
        setObjectName(layoutKey().mid(1));
    if (MainWindowBase* main = MainWindowBase::current()) {
        if (QWidget* host = main->paneToolBarHost()) {
            m_paneToolBar->setParent(host);
            if (host->layout())
                host->layout()->addWidget(m_paneToolBar);
        }
        if (QWidget* host = main->paneHost()) {
            setParent(host);
            if (host->layout())
                host->layout()->addWidget(this);
        }
    }
    m_paneInfo = std::move(paneInfo);
    prepare();
    showEmbedded();
}

void Pane::undock() {
    hide();
    if (m_paneToolBar) {
        m_paneToolBar->hide();
        m_paneToolBar->setParent(this);
    }
}

void Pane::closePane() {
    if (m_closed)
        return;
    saveOnClose();
    m_closed = true;
}

void Pane::saveOnClose() {}

void Pane::closeEvent(QCloseEvent* event) {
    runGuarded([this] { closePane(); });
    RunWindow::closeEvent(event);
}

QToolButton* Pane::addToolButton(QAction* action, const QString& name) {
    QToolButton* button = addActionButton(m_paneToolBar, action, name);
    button->setMinimumSize(63, 52);
    followVisibility(button, action);
    return button;
}
