#include "shell/fmPane.h"

#include "shell/fmMainProto.h"
#include "shell/uHtmlHelp.h"
#include "shell/uToolButtons.h"
#include "store/dmDataStoreProto.h"
#include "util/uGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmPane::TfrmPane(QWidget* owner) : TfrmRun(owner) {
    tlbarBrowserMenu = new QToolBar(this);
    tlbarBrowserMenu->setObjectName(QStringLiteral("tlbarBrowserMenu"));
    tlbarBrowserMenu->setIconSize(QSize(32, 32));
    tlbarBrowserMenu->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbarBrowserMenu->setMovable(false);
    tlbarBrowserMenu->hide();
    m_toolBar = tlbarBrowserMenu;

    pnlPane = new QWidget(this);
    pnlPane->setObjectName(QStringLiteral("pnlPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlPane);
}

TfrmPane::~TfrmPane() {
    // Docked into the main window, the tool bar belongs to it now: take it away.
    delete m_toolBar;
}

QString TfrmPane::ClassName() const {
    return QString::fromLatin1(metaObject()->className());
}

void TfrmPane::Prepare() {}

void TfrmPane::ShowEmbedded() {
    tlbarBrowserMenu->show();
    show();
}

void TfrmPane::Embed(TPaneInfo* paneInfo) {
    if (objectName().isEmpty())
        setObjectName(ClassName().mid(1));
    if (frmMainProto) {
        if (QWidget* host = frmMainProto->pnlBrowserMenu) {
            tlbarBrowserMenu->setParent(host);
            if (host->layout())
                host->layout()->addWidget(tlbarBrowserMenu);
        }
        if (QWidget* host = frmMainProto->PaneHost) {
            setParent(host);
            if (host->layout())
                host->layout()->addWidget(this);
        }
    }
    m_paneInfo = paneInfo;
    Prepare();
    ShowEmbedded();
}

void TfrmPane::ClosePane() {
    if (m_closed)
        return;
    FormClose();
    m_closed = true;
}

void TfrmPane::FormClose() {}

void TfrmPane::closeEvent(QCloseEvent* event) {
    runGuarded([this] { ClosePane(); });
    TfrmRun::closeEvent(event);
}

QToolButton* TfrmPane::AddToolButton(const QString& name, const QString& caption, int image,
                                     int helpContext) {
    QToolButton* button = AddToolBarButton(tlbarBrowserMenu, name, caption, image, helpContext);
    button->setMinimumSize(63, 52);
    return button;
}
