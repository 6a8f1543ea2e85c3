#include "shell/first_start_pane.h"

#include "core/ini_file.h"
#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "shell/upgrade_window.h"
#include "store/data_store.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kStartup = QStringLiteral("Startup");
const QString kNoStartupDialog = QStringLiteral("NoStartupDialog");

bool startupDialogWanted() {
    return DataStore::instance().ini().readInteger(kStartup, kNoStartupDialog, 0) == 0;
}

} // namespace

FirstStartPane::FirstStartPane(QWidget* owner) : Pane(owner) {
    if (MainWindowBase::current())
        setWindowTitle(MainWindowBase::current()->splashCaption());

    auto* helpPanel = new QWidget(contentPanel());
    helpPanel->setObjectName(QStringLiteral("helpPanel"));
    m_whatsNewBrowser = new QTextBrowser(helpPanel);
    m_whatsNewBrowser->setObjectName(QStringLiteral("whatsNewBrowser"));
    m_whatsNewBrowser->setOpenExternalLinks(true);
    m_versionInfoEdit = new QPlainTextEdit(helpPanel);
    m_versionInfoEdit->setObjectName(QStringLiteral("versionInfoEdit"));
    m_versionInfoEdit->setReadOnly(true);
    m_versionInfoEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* viewerLayout = new QVBoxLayout(helpPanel);
    viewerLayout->setContentsMargins(0, 0, 0, 0);
    viewerLayout->addWidget(m_whatsNewBrowser);
    viewerLayout->addWidget(m_versionInfoEdit);

    auto* bottomPanel = new QWidget(contentPanel());
    bottomPanel->setObjectName(QStringLiteral("bottomPanel"));
    bottomPanel->setFixedHeight(37);
    m_showAgainCheck =
        new QCheckBox(QStringLiteral("Показывать эту страничку при старте"), bottomPanel);
    m_showAgainCheck->setObjectName(QStringLiteral("showAgainCheck"));
    auto* bottomLayout = new QVBoxLayout(bottomPanel);
    bottomLayout->addWidget(m_showAgainCheck);

    auto* layout = new QVBoxLayout(contentPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(helpPanel, 1);
    layout->addWidget(bottomPanel);

    m_showAgainCheck->setChecked(startupDialogWanted());
    connect(m_showAgainCheck, &QCheckBox::toggled, this, &FirstStartPane::onShowAgainToggled);
}

bool FirstStartPane::shouldShowAtStartup() {
    return MainWindowBase::current() && MainWindowBase::current()->wantsFirstStart() &&
           startupDialogWanted();
}

void FirstStartPane::onShowAgainToggled(bool checked) {
    DataStore::instance().ini().writeInteger(kStartup, kNoStartupDialog, checked ? 0 : 1);
}

void FirstStartPane::showEmbedded() {
    m_versionInfoEdit->hide();
    const QString topic = help::topicFile(DataStore::instance().helpFile() +
                                          QStringLiteral("::/startup/whatsnew.htm>update_info"));
    if (!topic.isEmpty()) {
        m_whatsNewBrowser->setSource(QUrl::fromLocalFile(topic));
    } else {
        // Without a help file the page would stay blank: show the change list instead.
        m_whatsNewBrowser->hide();
        m_versionInfoEdit->setPlainText(UpgradeWindow::changeList());
        m_versionInfoEdit->show();
    }
    Pane::showEmbedded();
}
