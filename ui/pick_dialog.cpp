#include "ui/pick_dialog.h"

#include "platform/firebird/data_set.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QAction>
#include <QHBoxLayout>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A tool bar of its own for the action, with one large button.
QToolBar* makeToolBar(QWidget* parent, const QString& name, const QString& buttonName,
                      QAction* action) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(52);
    QToolButton* button = addActionButton(bar, action, buttonName);
    button->setAutoRaise(false);
    button->setIconSize(QSize(32, 32));
    button->setFixedSize(56, 52);
    return bar;
}

} // namespace

PickDialog::PickDialog(fb::Attachment& database, QWidget* owner)
    : OwnedDialog(owner), m_query(std::make_unique<fb::DataSet>(database)) {
    setObjectName(QStringLiteral("pickDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Выберите"));
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);

    createActions();
    QWidget* toolBars = createToolBars();

    auto* gridPanel = new QWidget(this);
    gridPanel->setObjectName(QStringLiteral("gridPanel"));
    m_grid = new DataGrid(gridPanel);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setDataSet(m_query.get());
    auto* panelLayout = new QVBoxLayout(gridPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_grid);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBars);
    layout->addWidget(gridPanel, 1);

    connect(m_selectAction, &QAction::triggered, this, &PickDialog::onSelectTriggered);
    connect(m_closeAction, &QAction::triggered, this, &QDialog::reject);
    connect(m_grid, &DataGrid::openRequested, m_selectAction, &QAction::trigger);
    m_grid->setFocus();
}

PickDialog::~PickDialog() {
    // The grid goes before the query it shows.
    delete m_grid;
}

void PickDialog::initForm() {}

void PickDialog::createActions() {
    m_selectAction = buildAction(
        this,
        {.name = QStringLiteral("selectAction"), .text = QStringLiteral("Открыть"), .image = 12});
    m_closeAction = buildAction(
        this,
        {.name = QStringLiteral("closeAction"), .text = QStringLiteral("Закрыть"), .image = 11});
}

// The row above the grid: the select button on the left, the close button on the right.
QWidget* PickDialog::createToolBars() {
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("toolBarRow"));
    QFont barFont(QStringLiteral("Verdana"));
    barFont.setPixelSize(11);
    row->setFont(barFont);
    QToolBar* selectBar = makeToolBar(row, QStringLiteral("selectToolBar"),
                                      QStringLiteral("selectButton"), m_selectAction);
    QToolBar* closeBar = makeToolBar(row, QStringLiteral("closeToolBar"),
                                     QStringLiteral("closeButton"), m_closeAction);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(selectBar, 1);
    rowLayout->addWidget(closeBar);
    return row;
}

void PickDialog::execute(PickHandler onPick, PickSenderHandler onPickSender) {
    m_onPick = std::move(onPick);
    m_onPickSender = std::move(onPickSender);
    // Maximised; its normal size fills the desktop as well.
    if (QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
}

void PickDialog::onSelectTriggered() {
    const bool picked = runGuarded([this] {
        if (m_onPick)
            m_onPick();
        if (m_onPickSender)
            m_onPickSender(this);
    });
    if (picked && m_closeOnPick)
        accept();
}
