#include "shell/upgrade_window.h"

#include "core/cp1251.h"
#include "core/ini_file.h"
#include "shell/book_upgrade.h"
#include "shell/help_viewer.h"
#include "store/data_store.h"
#include "ui/guard.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStyle>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char* const kVersionSection = "Version";
const char* const kCurrVersion = "CurrVersion";

// The text of a side file: UTF-8 when it is valid UTF-8, else Windows-1251.
QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? cp1251::decode(bytes) : text;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent, bool bold = false) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    if (bold) {
        QFont font = result->font();
        font.setBold(true);
        result->setFont(font);
    }
    return result;
}

} // namespace

UpgradeWindow::UpgradeWindow(UpgradeSteps& steps, QWidget* owner) : QDialog(owner), m_steps(steps) {
    setObjectName(QStringLiteral("upgradeWindow"));
    buildLayout();
    m_targetVersionLabel->setText(DataStore::programVersion());
    m_sourceVersionLabel->setText(DataStore::instance().ini().readString(
        QLatin1String(kVersionSection), QLatin1String(kCurrVersion), QString()));
    loadChanges();
}

UpgradeWindow::~UpgradeWindow() = default;

void UpgradeWindow::buildLayout() {
    setWindowTitle(QStringLiteral("Обновление программы"));
    resize(560, 440);

    auto* topPanel = new QFrame(this);
    topPanel->setObjectName(QStringLiteral("topPanel"));
    topPanel->setFixedHeight(129);
    topPanel->setFrameShape(QFrame::StyledPanel);

    auto* icon = new QLabel(topPanel);
    icon->setObjectName(QStringLiteral("programIcon"));
    const QIcon programIcon = QApplication::windowIcon().isNull()
                                  ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
                                  : QApplication::windowIcon();
    icon->setPixmap(
        programIcon.pixmap(64, 64).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setFixedSize(72, 72);
    icon->setAlignment(Qt::AlignCenter);

    m_targetVersionLabel = label(QStringLiteral("targetVersionLabel"), QString(), topPanel, true);
    m_sourceVersionLabel = label(QStringLiteral("sourceVersionLabel"), QString(), topPanel, true);
    m_beginButton = new QPushButton(QStringLiteral("Начать обновление..."), topPanel);
    m_beginButton->setObjectName(QStringLiteral("beginButton"));
    m_beginButton->setDefault(true);

    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(8);
    texts->setVerticalSpacing(2);
    texts->addWidget(label(QStringLiteral("targetCaptionLabel"),
                           QStringLiteral("Обновление до версии"), topPanel, true),
                     0, 0);
    texts->addWidget(m_targetVersionLabel, 0, 1);
    texts->addWidget(label(QStringLiteral("sourceCaptionLabel"),
                           QStringLiteral("Версия для обновления:"), topPanel),
                     1, 0);
    texts->addWidget(m_sourceVersionLabel, 1, 1);
    texts->addItem(new QSpacerItem(0, 8), 2, 0);
    texts->addWidget(label(QStringLiteral("changedLabel"),
                           QStringLiteral("Версия программы изменилась."), topPanel),
                     3, 0, 1, 3);
    texts->addWidget(label(QStringLiteral("upgradeNeededLabel"),
                           QStringLiteral("Необходимо произвести её обновление."), topPanel),
                     4, 0, 1, 3);
    texts->addWidget(label(QStringLiteral("durationLabel"),
                           QStringLiteral("Это может занять некоторое время."), topPanel),
                     5, 0, 1, 2);
    texts->addWidget(m_beginButton, 5, 2, Qt::AlignRight | Qt::AlignBottom);
    texts->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout(topPanel);
    top->setContentsMargins(10, 8, 10, 8);
    top->setSpacing(12);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* versionInfoPanel = new QWidget(this);
    versionInfoPanel->setObjectName(QStringLiteral("versionInfoPanel"));
    auto* versionInfoTitle =
        new QLabel(QStringLiteral("Новые возможности версии"), versionInfoPanel);
    versionInfoTitle->setObjectName(QStringLiteral("versionInfoTitle"));
    versionInfoTitle->setAutoFillBackground(true);
    versionInfoTitle->setBackgroundRole(QPalette::Highlight);
    versionInfoTitle->setForegroundRole(QPalette::HighlightedText);
    versionInfoTitle->setContentsMargins(6, 3, 6, 3);
    QFont titleFont = versionInfoTitle->font();
    titleFont.setBold(true);
    versionInfoTitle->setFont(titleFont);
    m_versionInfoView = new QPlainTextEdit(versionInfoPanel);
    m_versionInfoView->setObjectName(QStringLiteral("versionInfoView"));
    m_versionInfoView->setReadOnly(true);
    m_updateTopicBrowser = new QTextBrowser(versionInfoPanel);
    m_updateTopicBrowser->setObjectName(QStringLiteral("updateTopicBrowser"));
    m_updateTopicBrowser->setOpenExternalLinks(true);
    auto* versionInfo = new QVBoxLayout(versionInfoPanel);
    versionInfo->setContentsMargins(0, 0, 0, 0);
    versionInfo->setSpacing(0);
    versionInfo->addWidget(versionInfoTitle);
    versionInfo->addWidget(m_updateTopicBrowser, 1);
    versionInfo->addWidget(m_versionInfoView, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topPanel);
    layout->addWidget(versionInfoPanel, 1);

    connect(m_beginButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { onBeginClicked(); }); });
}

QString UpgradeWindow::changeList() {
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/Changes.txt"));
    return file.open(QIODevice::ReadOnly) ? decodeText(file.readAll()) : QString();
}

// The help file's topic of the upgrade where there is one, else the change list.
void UpgradeWindow::loadChanges() {
    const QString topic = help::topicFile(DataStore::instance().helpFile() +
                                          QStringLiteral("::/appendix/update.htm>update_info"));
    if (topic.isEmpty()) {
        m_updateTopicBrowser->hide();
        m_versionInfoView->setPlainText(changeList());
        return;
    }
    m_versionInfoView->hide();
    m_updateTopicBrowser->setSource(QUrl::fromLocalFile(topic));
}

void UpgradeWindow::onBeginClicked() {
    BookUpgrade(m_steps).upgradeEveryBook();
    accept();
}
