#include "util/fmDBGridSelect.h"

#include "platform/firebird/fbDataSet.h"
#include "store/dmDataStoreProto.h"
#include "util/DBGridUtil.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QIcon toolImage(int index, QStyle::StandardPixmap fallback) {
    const QIcon icon = TdtmdlDataStoreProto::imglstImages(index);
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

TfrmDBGridSelect::TfrmDBGridSelect(QWidget* owner)
    : TfrmFormUseWndParent(owner),
      m_qrySelect(std::make_unique<fb::DataSet>(dtmdlDataStoreProto->dbMain())) {
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
    btnSelect = addToolButton(selectBar, QStringLiteral("btnSelect"), QStringLiteral("Открыть"),
                              toolImage(12, QStyle::SP_DialogOpenButton));
    QToolBar* closeBar = makeToolBar(coolBar, QStringLiteral("ToolBar1"));
    ToolButton1 = addToolButton(closeBar, QStringLiteral("ToolButton1"), QStringLiteral("Закрыть"),
                                toolImage(11, QStyle::SP_DialogCloseButton));
    auto* barLayout = new QHBoxLayout(coolBar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addWidget(selectBar, 1);
    barLayout->addWidget(closeBar);

    auto* pnlSelect = new QWidget(this);
    pnlSelect->setObjectName(QStringLiteral("pnlSelect"));
    dbgrdSelect = new TDBGrid(pnlSelect);
    dbgrdSelect->setObjectName(QStringLiteral("dbgrdSelect"));
    dbgrdSelect->SetDataSet(m_qrySelect.get());
    auto* panelLayout = new QVBoxLayout(pnlSelect);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(dbgrdSelect);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(coolBar);
    layout->addWidget(pnlSelect, 1);

    connect(btnSelect, &QToolButton::clicked, this, &TfrmDBGridSelect::Pick);
    connect(dbgrdSelect, &TDBGrid::OpenRequested, this, &TfrmDBGridSelect::Pick);
    connect(ToolButton1, &QToolButton::clicked, this, &QDialog::reject);
    dbgrdSelect->setFocus();
}

TfrmDBGridSelect::~TfrmDBGridSelect() {
    // The grid goes before the query it shows.
    delete dbgrdSelect;
}

void TfrmDBGridSelect::Execute(PickHandler onPick, PickSenderHandler onPickSender) {
    m_onPick = std::move(onPick);
    m_onPickSender = std::move(onPickSender);
    // Maximised; its normal size fills the desktop as well.
    if (QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
}

void TfrmDBGridSelect::Pick() {
    if (m_onPick)
        m_onPick();
    if (m_onPickSender)
        m_onPickSender(this);
    if (CloseOnPick)
        accept();
}

QString TfrmDBGridSelect::GetDateFieldText(const QVariant& value) {
    return TdtmdlDataStoreProto::DateFieldGetText(value);
}
