#include "shell/grid_browser_pane.h"

#include "platform/firebird/data_set.h"
#include "shell/help_viewer.h"
#include "store/data_store.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

GridBrowserPane::GridBrowserPane(QWidget* owner) : Pane(owner) {
    m_query = std::make_unique<fb::DataSet>(DataStore::instance().database());
    m_query->setObjectName(QStringLiteral("qryBrowse"));

    m_newButton = addToolButton(QStringLiteral("btnAdd"), QStringLiteral("Новый"), 1, 1057);
    m_openButton = addToolButton(QStringLiteral("btnOpen"), QStringLiteral("Открыть"), 8, 1056);
    connect(m_newButton, &QToolButton::clicked, this,
            [this] { runGuarded([this] { onNewTriggered(); }); });
    connect(m_openButton, &QToolButton::clicked, this,
            [this] { runGuarded([this] { onOpenTriggered(); }); });

    m_grid = new DataGrid(m_contentPanel);
    m_grid->setObjectName(QStringLiteral("dbgrdBrowse"));
    help::setHelpContext(m_grid, 1059);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    m_grid->horizontalHeader()->setFont(titleFont);
    m_grid->setDataSet(m_query.get());
    m_grid->installEventFilter(this);
    connect(m_grid, &DataGrid::openRequested, m_openButton, &QToolButton::click);
    auto* layout = new QVBoxLayout(m_contentPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("ppmnBrowse"));
    m_newAction = m_gridMenu->addAction(QStringLiteral("Новый"));
    m_newAction->setObjectName(QStringLiteral("mnitAdd"));
    m_newAction->setShortcut(QKeySequence(Qt::Key_Insert));
    m_newAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_openAction = m_gridMenu->addAction(QStringLiteral("Открыть"));
    m_openAction->setObjectName(QStringLiteral("mnitOpen"));
    addAction(m_newAction);
    connect(m_newAction, &QAction::triggered, m_newButton, &QToolButton::click);
    connect(m_openAction, &QAction::triggered, m_openButton, &QToolButton::click);
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_grid)})
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { m_gridMenu->popup(w->mapToGlobal(at)); });
}

GridBrowserPane::~GridBrowserPane() {
    // The grid goes before the query it shows.
    delete m_grid;
}

void GridBrowserPane::showEmbedded() {
    Pane::showEmbedded();
    m_grid->setFocus();
}

void GridBrowserPane::embed(PaneInfo* paneInfo) {
    Pane::embed(paneInfo);
    restoreGridColumns(layoutKey(), *m_grid, DataStore::instance().userData1());
    refreshRows(0);
}

void GridBrowserPane::refreshRows(int key) {
    if (key == 0 && m_query->isActive() && !m_query->isEmpty())
        key = int(m_query->field(QStringLiteral("PRKEY")).asInteger());
    prepareQuery();
    if (m_query->transaction().isActive())
        m_query->commit();
    m_query->open();
    m_query->locate(QStringLiteral("PRKEY"), key);
}

void GridBrowserPane::onNewTriggered() {}

void GridBrowserPane::onOpenTriggered() {}

void GridBrowserPane::saveOnClose() {
    saveLayout();
}

void GridBrowserPane::saveLayout() {
    DataStore& store = DataStore::instance();
    QString userData = store.userData1();
    saveGridColumns(layoutKey(), *m_grid, userData);
    store.setUserData1(userData);
}

bool GridBrowserPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::FocusOut)
        saveLayout();
    return Pane::eventFilter(watched, event);
}
