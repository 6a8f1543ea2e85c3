#include "shell/options_pane.h"

#include "core/exceptions.h"
#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "store/book_list.h"
#include "store/data_store.h"
#include "ui/message_box.h"

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
    m_helpButton = addToolButton(QStringLiteral("btnHelp"), QStringLiteral("Справка"), 5, 1026);
    connect(m_helpButton, &QToolButton::clicked, this, [this] { onHelpTriggered(); });

    m_splitter = named(new QSplitter(Qt::Horizontal, m_contentPanel), "Splitter1");
    m_pageTree = named(new QTreeWidget(m_splitter), "TreeView_Options");
    m_pageTree->setHeaderHidden(true);
    m_pageTree->setSortingEnabled(false);
    m_pagePanel = named(new QWidget(m_splitter), "Panel_Options");
    m_pageTitleLabel = named(new QLabel(m_pagePanel), "Panel_OptionsHeader");
    m_pageTitleLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_pageTitleLabel->setMargin(4);
    m_optionPages = named(new QTabWidget(m_pagePanel), "pgctrlOptions");
    // The tree chooses the pages: the page control shows no tabs.
    m_optionPages->tabBar()->hide();
    m_optionPages->setDocumentMode(true);
    auto* optionsLayout = new QVBoxLayout(m_pagePanel);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addWidget(m_pageTitleLabel);
    optionsLayout->addWidget(m_optionPages, 1);
    m_splitter->addWidget(m_pageTree);
    m_splitter->addWidget(m_pagePanel);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({200, 600});
    auto* layout = new QVBoxLayout(m_contentPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    m_optionPages->addTab(buildGeneralPage(), QStringLiteral("Общие"));
    connect(m_pageTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (node)
            onOptionsPageChanged(node);
    });
}

QWidget* OptionsPane::buildGeneralPage() {
    m_generalPage = named(new QWidget, "tbshtGeneral");
    m_commonOptionsPanel = named(new QWidget(m_generalPage), "pnlCommonOptions");

    m_backupGroup =
        named(new QGroupBox(QStringLiteral("Настройки архивации базы данных")), "grbxBackup");
    m_weeklyBackupCheck =
        named(new QCheckBox(QStringLiteral("Автоматическое создание еженедельной копии")),
              "chbxAutoWeek");
    m_yesterdayBackupCheck =
        named(new QCheckBox(QStringLiteral("Автоматическoe создание вчерашней копии")),
              "chbxAutoYesterday");
    m_reservBackupCheck = named(
        new QCheckBox(QStringLiteral("Автоматическoe создание текущей копии")), "chbxAutoBackup");
    help::setHelpContext(m_reservBackupCheck, 1028);
    help::setHelpContext(m_yesterdayBackupCheck, 1029);
    help::setHelpContext(m_weeklyBackupCheck, 1030);

    m_extraBackupGroup =
        named(new QGroupBox(
                  QStringLiteral("Дополнительное резервное копирование архивов в выбранную папку")),
              "grbxRezCopy");
    auto* extraBackupFolderLabel = named(
        new QLabel(QStringLiteral("Папка для копирования архивов")), "extraBackupFolderLabel");
    m_extraBackupFolderEdit = named(new QLineEdit, "edtRezFolder");
    m_selectFolderButton = named(new QToolButton, "btnSelFolder");
    m_selectFolderButton->setText(QStringLiteral("Выбрать"));
    connect(m_selectFolderButton, &QToolButton::clicked, this, [this] { onSelectFolderClicked(); });
    auto* extraBackupLayout = new QGridLayout(m_extraBackupGroup);
    extraBackupLayout->addWidget(extraBackupFolderLabel, 0, 0, 1, 2);
    extraBackupLayout->addWidget(m_extraBackupFolderEdit, 1, 0);
    extraBackupLayout->addWidget(m_selectFolderButton, 1, 1);

    auto* backupLayout = new QVBoxLayout(m_backupGroup);
    backupLayout->addWidget(m_weeklyBackupCheck);
    backupLayout->addWidget(m_yesterdayBackupCheck);
    backupLayout->addWidget(m_reservBackupCheck);
    backupLayout->addWidget(m_extraBackupGroup);

    m_storeCaptionGroup =
        named(new QGroupBox(QStringLiteral("Название базы данных")), "grbxDBCapt");
    m_storeCaptionEdit = named(new QLineEdit, "edtDBCapt");
    (new QVBoxLayout(m_storeCaptionGroup))->addWidget(m_storeCaptionEdit);
    m_currencyGroup =
        named(new QGroupBox(QStringLiteral("Денежная единица программы")), "GroupBox2");
    m_storeCurrencyEdit = named(new QLineEdit, "edtStoreCurrency");
    (new QVBoxLayout(m_currencyGroup))->addWidget(m_storeCurrencyEdit);
    help::setHelpContext(m_storeCaptionGroup, 1027);
    help::setHelpContext(m_currencyGroup, 1027);

    // The typing delay of the lookups is kept but not offered.
    m_timersPanel = named(new QWidget, "pnlTimers");
    auto* lookupDelayGroup =
        named(new QGroupBox(QStringLiteral("Задержка при вводе фильтра")), "lookupDelayGroup");
    m_lookupDelayEdit = named(new QLineEdit, "edtKibitzDelay");
    auto* delayLayout = new QHBoxLayout(lookupDelayGroup);
    delayLayout->addWidget(m_lookupDelayEdit);
    delayLayout->addWidget(
        named(new QLabel(QStringLiteral("(миллисекунды)")), "lblKibitzDelayCaption"));
    (new QVBoxLayout(m_timersPanel))->addWidget(lookupDelayGroup);
    m_timersPanel->hide();

    auto* commonLayout = new QVBoxLayout(m_commonOptionsPanel);
    commonLayout->addWidget(m_backupGroup);
    commonLayout->addWidget(m_storeCaptionGroup);
    commonLayout->addWidget(m_currencyGroup);
    commonLayout->addWidget(m_timersPanel);
    commonLayout->addStretch(1);
    auto* sheetLayout = new QVBoxLayout(m_generalPage);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->addWidget(m_commonOptionsPanel);
    return m_generalPage;
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

void OptionsPane::embed(PaneInfo* paneInfo) {
    loadSettings();
    Pane::embed(paneInfo);
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
    options.setOption("ReservBackupFlag", BookOptions::flagText(m_reservBackupCheck->isChecked()));
    options.setOption("YesterdayBackupFlag",
                      BookOptions::flagText(m_yesterdayBackupCheck->isChecked()));
    options.setOption("WeekBackupFlag", BookOptions::flagText(m_weeklyBackupCheck->isChecked()));
    options.setOption("StoreCapt", m_storeCaptionEdit->text());
    options.setOption("StoreCurrency", m_storeCurrencyEdit->text());
    renameBookEntry(m_storeCaptionEdit->text());
    options.setOption("KibitzDelay",
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
    DataStore::instance().options().setOption("RezFolder", folder);
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    if (!QDir().mkpath(path))
        throw Exception(QStringLiteral("Не удается создать каталог: \"%1\"")
                            .arg(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/')));
}

void OptionsPane::onSelectFolderClicked() {
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
