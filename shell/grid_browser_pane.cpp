#include "shell/grid_browser_pane.h"

#include "platform/firebird/data_set.h"
#include "shell/help_viewer.h"
#include "store/data_store.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>

GridBrowserPane::GridBrowserPane(QWidget* owner) : Pane(owner) {
    m_query = std::make_unique<fb::DataSet>(DataStore::instance().database());
    m_query->setObjectName(QStringLiteral("query"));

    m_newAction = buildAction(this, {.name = QStringLiteral("newAction"),
                                     .text = QStringLiteral("Новый"),
                                     .image = 1,
                                     .shortcut = QKeySequence(Qt::Key_Insert),
                                     .helpContext = 1057});
    m_newAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_openAction = buildAction(this, {.name = QStringLiteral("openAction"),
                                      .text = QStringLiteral("Открыть"),
                                      .image = 8,
                                      .helpContext = 1056});
    // The pop-up menu shows the two commands without their images.
    for (QAction* action : {m_newAction, m_openAction})
        action->setIconVisibleInMenu(false);
    addAction(m_newAction);
    connect(m_newAction, &QAction::triggered, this,
            [this] { runGuarded([this] { onNewTriggered(); }); });
    connect(m_openAction, &QAction::triggered, this,
            [this] { runGuarded([this] { onOpenTriggered(); }); });
    addToolButton(m_newAction, QStringLiteral("newButton"));
    addToolButton(m_openAction, QStringLiteral("openButton"));

    m_grid = new DataGrid(contentPanel());
    m_grid->setObjectName(QStringLiteral("grid"));
    help::setHelpContext(m_grid, 1059);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    m_grid->horizontalHeader()->setFont(titleFont);
    m_grid->setDataSet(m_query.get());
    m_grid->installEventFilter(this);
    connect(m_grid, &DataGrid::openRequested, m_openAction, &QAction::trigger);
    auto* layout = new QVBoxLayout(contentPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));
    m_gridMenu->addAction(m_newAction);
    m_gridMenu->addAction(m_openAction);
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

void GridBrowserPane::embed(std::unique_ptr<PaneInfo> paneInfo) {
    Pane::embed(std::move(paneInfo));
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
    // No row has the key 0: looking for it would only read every row.
    if (key != 0)
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
