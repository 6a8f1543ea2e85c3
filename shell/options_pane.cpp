#include "shell/options_pane.h"

#include "core/exceptions.h"
#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "store/book_list.h"
#include "store/data_store.h"
#include "ui/action_builder.h"
#include "ui/message_box.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The page control that shows sheet as one of its pages; nullptr for none.
QTabWidget* pageControlOf(QWidget* sheet) {
    for (QWidget* w = sheet ? sheet->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* pages = qobject_cast<QTabWidget*>(w))
            return pages->indexOf(sheet) >= 0 ? pages : nullptr;
    return nullptr;
}

QString sheetCaption(QWidget* sheet) {
    QTabWidget* pages = pageControlOf(sheet);
    return pages ? pages->tabText(pages->indexOf(sheet)) : QString();
}

QWidget* sheetOf(const QTreeWidgetItem* node) {
    return qobject_cast<QWidget*>(node->data(0, Qt::UserRole).value<QObject*>());
}

} // namespace

// ---- The pane ----

OptionsPane::OptionsPane(QWidget* owner) : Pane(owner) {
    setWindowTitle(QStringLiteral("Опции"));
    m_helpAction = buildAction(this, {.name = QStringLiteral("helpAction"),
                                      .text = QStringLiteral("Справка"),
                                      .image = 5,
                                      .helpContext = 1026});
    connect(m_helpAction, &QAction::triggered, this, &OptionsPane::onHelpTriggered);
    addToolButton(m_helpAction, QStringLiteral("helpButton"));

    auto* splitter = named(new QSplitter(Qt::Horizontal, contentPanel()), "splitter");
    m_pageTree = named(new QTreeWidget(splitter), "pageTree");
    m_pageTree->setHeaderHidden(true);
    m_pageTree->setSortingEnabled(false);
    auto* pagePanel = named(new QWidget(splitter), "pagePanel");
    m_pageTitleLabel = named(new QLabel(pagePanel), "pageTitleLabel");
    m_pageTitleLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_pageTitleLabel->setMargin(4);
    m_optionPages = named(new QTabWidget(pagePanel), "optionPages");
    // The tree chooses the pages: the page control shows no tabs.
    m_optionPages->tabBar()->hide();
    m_optionPages->setDocumentMode(true);
    auto* optionsLayout = new QVBoxLayout(pagePanel);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addWidget(m_pageTitleLabel);
    optionsLayout->addWidget(m_optionPages, 1);
    splitter->addWidget(m_pageTree);
    splitter->addWidget(pagePanel);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 600});
    auto* layout = new QVBoxLayout(contentPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    m_optionPages->addTab(buildGeneralPage(), QStringLiteral("Общие"));
    connect(m_pageTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (node)
            onOptionsPageChanged(node);
    });
}

QWidget* OptionsPane::buildGeneralPage() {
    m_generalPage = named(new QWidget, "generalPage");
    auto* commonOptionsPanel = named(new QWidget(m_generalPage), "commonOptionsPanel");

    auto* backupGroup =
        named(new QGroupBox(QStringLiteral("Настройки архивации базы данных")), "backupGroup");
    m_weeklyBackupCheck =
        named(new QCheckBox(QStringLiteral("Автоматическое создание еженедельной копии")),
              "weeklyBackupCheck");
    m_yesterdayBackupCheck =
        named(new QCheckBox(QStringLiteral("Автоматическoe создание вчерашней копии")),
              "yesterdayBackupCheck");
    m_reservBackupCheck =
        named(new QCheckBox(QStringLiteral("Автоматическoe создание текущей копии")),
              "reservBackupCheck");
    help::setHelpContext(m_reservBackupCheck, 1028);
    help::setHelpContext(m_yesterdayBackupCheck, 1029);
    help::setHelpContext(m_weeklyBackupCheck, 1030);

    auto* extraBackupGroup =
        named(new QGroupBox(
                  QStringLiteral("Дополнительное резервное копирование архивов в выбранную папку")),
              "extraBackupGroup");
    auto* extraBackupFolderLabel = named(
        new QLabel(QStringLiteral("Папка для копирования архивов")), "extraBackupFolderLabel");
    m_extraBackupFolderEdit = named(new QLineEdit, "extraBackupFolderEdit");
    m_selectFolderAction = buildAction(
        this, {.name = QStringLiteral("selectFolderAction"), .text = QStringLiteral("Выбрать")});
    connect(m_selectFolderAction, &QAction::triggered, this, &OptionsPane::onSelectFolderTriggered);
    auto* selectFolderButton = named(new QToolButton, "selectFolderButton");
    selectFolderButton->setDefaultAction(m_selectFolderAction);
    auto* extraBackupLayout = new QGridLayout(extraBackupGroup);
    extraBackupLayout->addWidget(extraBackupFolderLabel, 0, 0, 1, 2);
    extraBackupLayout->addWidget(m_extraBackupFolderEdit, 1, 0);
    extraBackupLayout->addWidget(selectFolderButton, 1, 1);

    auto* backupLayout = new QVBoxLayout(backupGroup);
    backupLayout->addWidget(m_weeklyBackupCheck);
    backupLayout->addWidget(m_yesterdayBackupCheck);
    backupLayout->addWidget(m_reservBackupCheck);
    backupLayout->addWidget(extraBackupGroup);

    m_storeCaptionGroup =
        named(new QGroupBox(QStringLiteral("Название базы данных")), "storeCaptionGroup");
    m_storeCaptionEdit = named(new QLineEdit, "storeCaptionEdit");
    (new QVBoxLayout(m_storeCaptionGroup))->addWidget(m_storeCaptionEdit);
    auto* currencyGroup =
        named(new QGroupBox(QStringLiteral("Денежная единица программы")), "currencyGroup");
    m_storeCurrencyEdit = named(new QLineEdit, "storeCurrencyEdit");
    (new QVBoxLayout(currencyGroup))->addWidget(m_storeCurrencyEdit);
    help::setHelpContext(m_storeCaptionGroup, 1027);
    help::setHelpContext(currencyGroup, 1027);

    // The typing delay of the lookups is kept but not offered.
    auto* timersPanel = named(new QWidget, "timersPanel");
    auto* lookupDelayGroup =
        named(new QGroupBox(QStringLiteral("Задержка при вводе фильтра")), "lookupDelayGroup");
    m_lookupDelayEdit = named(new QLineEdit, "lookupDelayEdit");
    auto* delayLayout = new QHBoxLayout(lookupDelayGroup);
    delayLayout->addWidget(m_lookupDelayEdit);
    delayLayout->addWidget(
        named(new QLabel(QStringLiteral("(миллисекунды)")), "lookupDelayUnitLabel"));
    (new QVBoxLayout(timersPanel))->addWidget(lookupDelayGroup);
    timersPanel->hide();

    m_generalOptionsLayout = new QVBoxLayout(commonOptionsPanel);
    m_generalOptionsLayout->addWidget(backupGroup);
    m_generalOptionsLayout->addWidget(m_storeCaptionGroup);
    m_generalOptionsLayout->addWidget(currencyGroup);
    m_generalOptionsLayout->addWidget(timersPanel);
    m_generalOptionsLayout->addStretch(1);
    auto* sheetLayout = new QVBoxLayout(m_generalPage);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->addWidget(commonOptionsPanel);
    return m_generalPage;
}

// Above the stretch that keeps the options at the top of the page.
void OptionsPane::addGeneralOptions(QWidget* options) {
    m_generalOptionsLayout->insertWidget(m_generalOptionsLayout->count() - 1, options);
}

void OptionsPane::prepare() {
    Pane::prepare();
    m_helpContext = 0;
    m_pageTree->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(m_pageTree);
        m_pageTree->clear();
        addPages(nullptr, m_optionPages);
    }
    m_pageTree->setUpdatesEnabled(true);
    m_pageTree->expandAll();
    if (m_pageTree->topLevelItemCount() > 0)
        m_pageTree->setCurrentItem(m_pageTree->topLevelItem(0));
}

void OptionsPane::addPages(QTreeWidgetItem* parent, QTabWidget* pages) {
    for (int i = 0; i < pages->count(); ++i) {
        QWidget* sheet = pages->widget(i);
        auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_pageTree);
        node->setText(0, pages->tabText(i));
        node->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<QObject*>(sheet)));
        if (auto* inner = sheet->findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly))
            addPages(node, inner);
    }
}

void OptionsPane::embed(std::unique_ptr<PaneInfo> paneInfo) {
    loadSettings();
    Pane::embed(std::move(paneInfo));
}

void OptionsPane::loadSettings() {
    const BookOptions options = DataStore::instance().options();
    m_reservBackupCheck->setChecked(options.reservBackupFlag());
    m_yesterdayBackupCheck->setChecked(options.yesterdayBackupFlag());
    m_weeklyBackupCheck->setChecked(options.weekBackupFlag());
    m_storeCaptionEdit->setText(options.storeCaption());
    m_storeCurrencyEdit->setText(options.storeCurrency());
    m_lookupDelayEdit->setText(QString::number(options.lookupDelay()));
    m_extraBackupFolderEdit->setText(options.extraBackupFolder());
}

void OptionsPane::saveOnClose() {
    saveSettings();
}

void OptionsPane::saveSettings() {
    BookOptions options = DataStore::instance().options();
    options.setOption(kReservBackupFlagKey,
                      BookOptions::flagText(m_reservBackupCheck->isChecked()));
    options.setOption(kYesterdayBackupFlagKey,
                      BookOptions::flagText(m_yesterdayBackupCheck->isChecked()));
    options.setOption(kWeekBackupFlagKey, BookOptions::flagText(m_weeklyBackupCheck->isChecked()));
    options.setOption(kStoreCaptionKey, m_storeCaptionEdit->text());
    options.setOption(kStoreCurrencyKey, m_storeCurrencyEdit->text());
    renameBookEntry(m_storeCaptionEdit->text());
    options.setOption(kLookupDelayKey,
                      QString::number(BookOptions::lookupDelayOf(m_lookupDelayEdit->text())));
    storeExtraBackupFolder(m_extraBackupFolderEdit->text());
}

// The INI entry of the open book takes its caption. The entry is found by the book's file, not
// by the position the book had in the list when it was opened: the list may have changed since.
void OptionsPane::renameBookEntry(const QString& caption) {
    DataStore& store = DataStore::instance();
    BookList(store.ini()).renameBook(store.databaseName(), caption);
    if (MainWindowBase::current())
        MainWindowBase::current()->updateCaptions();
}

// An empty folder means none. A relative one would depend on the folder the program happens to
// run in: it is refused and the stored folder kept.
void OptionsPane::storeExtraBackupFolder(const QString& folder) {
    const QString path = folder.trimmed();
    if (!path.isEmpty() && !QDir::isAbsolutePath(path))
        throw Exception(QStringLiteral("Папка для копирования архивов должна быть задана полным "
                                       "путем: \"%1\"")
                            .arg(path));
    DataStore::instance().options().setOption(kExtraBackupFolderKey, folder);
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    if (!QDir().mkpath(path))
        throw Exception(QStringLiteral("Не удается создать каталог: \"%1\"")
                            .arg(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/')));
}

void OptionsPane::onSelectFolderTriggered() {
    QString folder;
    if (dialogs::selectDirectory(this, QStringLiteral("Выберите папку для копирования архивов"),
                                 QString(), folder))
        m_extraBackupFolderEdit->setText(folder);
}

void OptionsPane::onHelpTriggered() {
    if (MainWindowBase::current())
        MainWindowBase::current()->showHelpContext(m_helpContext);
}

void OptionsPane::onOptionsPageChanged(QTreeWidgetItem* node) {
    if (node->childCount() > 0) {
        m_pageTree->setCurrentItem(node->child(0));
        return;
    }
    QWidget* sheet = sheetOf(node);
    QTabWidget* pages = pageControlOf(sheet);
    if (!pages)
        return;
    QWidget* outer = pages->parentWidget();
    QTabWidget* outerPages = pageControlOf(outer);
    if (outerPages) {
        outerPages->setCurrentWidget(outer);
        pages->setCurrentWidget(sheet);
        m_pageTitleLabel->setText(QStringLiteral("  ") + sheetCaption(outer) +
                                  QStringLiteral(" : ") + sheetCaption(sheet));
        return;
    }
    pages->setCurrentWidget(sheet);
    m_pageTitleLabel->setText(QStringLiteral("  ") + sheetCaption(sheet));
}
