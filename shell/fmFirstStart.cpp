#include "shell/fmFirstStart.h"

#include "platform/IniFile.h"
#include "shell/fmMainProto.h"
#include "shell/uHtmlHelp.h"
#include "store/dmDataStoreProto.h"
#include "store/fmUpdate.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kStartup = QStringLiteral("Startup");
const QString kNoStartupDialog = QStringLiteral("NoStartupDialog");

bool startupDialogWanted() {
    return dtmdlDataStoreProto->Ini().ReadInteger(kStartup, kNoStartupDialog, 0) == 0;
}

} // namespace

TfrmFirstStart::TfrmFirstStart(QWidget* owner) : TfrmPane(owner) {
    if (frmMainProto)
        setWindowTitle(frmMainProto->SplashCaption());

    pnlHelpViewer = new QWidget(pnlPane);
    pnlHelpViewer->setObjectName(QStringLiteral("pnlHelpViewer"));
    helpViewer = new QTextBrowser(pnlHelpViewer);
    helpViewer->setObjectName(QStringLiteral("helpViewer"));
    helpViewer->setOpenExternalLinks(true);
    mmVersionInfo = new QPlainTextEdit(pnlHelpViewer);
    mmVersionInfo->setObjectName(QStringLiteral("mmVersionInfo"));
    mmVersionInfo->setReadOnly(true);
    mmVersionInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* viewerLayout = new QVBoxLayout(pnlHelpViewer);
    viewerLayout->setContentsMargins(0, 0, 0, 0);
    viewerLayout->addWidget(helpViewer);
    viewerLayout->addWidget(mmVersionInfo);

    auto* pnlBottom = new QWidget(pnlPane);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->setFixedHeight(37);
    chbxShowAgain = new QCheckBox(QStringLiteral("Показывать эту страничку при старте"), pnlBottom);
    chbxShowAgain->setObjectName(QStringLiteral("chbxShowAgain"));
    auto* bottomLayout = new QVBoxLayout(pnlBottom);
    bottomLayout->addWidget(chbxShowAgain);

    auto* layout = new QVBoxLayout(pnlPane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlHelpViewer, 1);
    layout->addWidget(pnlBottom);

    chbxShowAgain->setChecked(startupDialogWanted());
    connect(chbxShowAgain, &QCheckBox::toggled, this, &TfrmFirstStart::chbxShowAgainClick);
}

bool TfrmFirstStart::ShowAtStartup() {
    return frmMainProto && frmMainProto->WantFirstStart() && startupDialogWanted();
}

void TfrmFirstStart::chbxShowAgainClick(bool checked) {
    dtmdlDataStoreProto->Ini().WriteInteger(kStartup, kNoStartupDialog, checked ? 0 : 1);
}

void TfrmFirstStart::ShowEmbedded() {
    mmVersionInfo->hide();
    const QString topic = htmlhelp::TopicFile(
        dtmdlDataStoreProto->HelpFile + QStringLiteral("::/startup/whatsnew.htm>update_info"));
    if (!topic.isEmpty()) {
        helpViewer->setSource(QUrl::fromLocalFile(topic));
    } else {
        // Without a help file the page would stay blank: show the change list instead.
        helpViewer->hide();
        mmVersionInfo->setPlainText(TfrmUpdate::ChangeList());
        mmVersionInfo->show();
    }
    TfrmPane::ShowEmbedded();
}
