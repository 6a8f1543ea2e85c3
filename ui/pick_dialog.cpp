#include "ui/pick_dialog.h"

#include "platform/firebird/data_set.h"
#include "ui/data_grid.h"
#include "ui/tool_images.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QIcon toolImageOr(int index, QStyle::StandardPixmap fallback) {
    const QIcon icon = toolImage(index);
    return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

QToolButton* addToolButton(QToolBar* bar, const QString& name, const QString& caption,
                           const QIcon& icon) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(56, 52);
    bar->addWidget(button);
    return button;
}

QToolBar* makeToolBar(QWidget* parent, const QString& name) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(52);
    return bar;
}

} // namespace

PickDialog::PickDialog(fb::Attachment& database, QWidget* owner)
    : OwnedDialog(owner), m_query(std::make_unique<fb::DataSet>(database)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Выберите"));
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(13);
    formFont.setBold(true);
    setFont(formFont);

    auto* coolBar = new QWidget(this);
    coolBar->setObjectName(QStringLiteral("CoolBar1"));
    QFont barFont(QStringLiteral("Verdana"));
    barFont.setPixelSize(11);
    coolBar->setFont(barFont);
    QToolBar* selectBar = makeToolBar(coolBar, QStringLiteral("ToolBar2"));
    m_selectButton =
        addToolButton(selectBar, QStringLiteral("btnSelect"), QStringLiteral("Открыть"),
                      toolImageOr(12, QStyle::SP_DialogOpenButton));
    QToolBar* closeBar = makeToolBar(coolBar, QStringLiteral("ToolBar1"));
    m_closeButton =
        addToolButton(closeBar, QStringLiteral("ToolButton1"), QStringLiteral("Закрыть"),
                      toolImageOr(11, QStyle::SP_DialogCloseButton));
    auto* barLayout = new QHBoxLayout(coolBar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addWidget(selectBar, 1);
    barLayout->addWidget(closeBar);

    auto* gridPanel = new QWidget(this);
    gridPanel->setObjectName(QStringLiteral("gridPanel"));
    m_grid = new DataGrid(gridPanel);
    m_grid->setObjectName(QStringLiteral("dbgrdSelect"));
    m_grid->setDataSet(m_query.get());
    auto* panelLayout = new QVBoxLayout(gridPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_grid);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(coolBar);
    layout->addWidget(gridPanel, 1);

    connect(m_selectButton, &QToolButton::clicked, this, &PickDialog::pick);
    connect(m_grid, &DataGrid::openRequested, this, &PickDialog::pick);
    connect(m_closeButton, &QToolButton::clicked, this, &QDialog::reject);
    m_grid->setFocus();
}

PickDialog::~PickDialog() {
    // The grid goes before the query it shows.
    delete m_grid;
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

void PickDialog::pick() {
    if (m_onPick)
        m_onPick();
    if (m_onPickSender)
        m_onPickSender(this);
    if (m_closeOnPick)
        accept();
}
