#include "shell/fmDBGridBrowser.h"

#include "platform/firebird/fbDataSet.h"
#include "shell/uHtmlHelp.h"
#include "store/dmDataStoreProto.h"
#include "util/DBGridUtil.h"
#include "util/uGuard.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

TfrmDBGridBrowser::TfrmDBGridBrowser(QWidget* owner) : TfrmPane(owner) {
    qryBrowse = std::make_unique<fb::DataSet>(dtmdlDataStoreProto->dbMain());
    qryBrowse->setObjectName(QStringLiteral("qryBrowse"));

    btnAdd = AddToolButton(QStringLiteral("btnAdd"), QStringLiteral("Новый"), 1, 1057);
    btnOpen = AddToolButton(QStringLiteral("btnOpen"), QStringLiteral("Открыть"), 8, 1056);
    connect(btnAdd, &QToolButton::clicked, this, [this] { runGuarded([this] { btnAddClick(); }); });
    connect(btnOpen, &QToolButton::clicked, this,
            [this] { runGuarded([this] { btnOpenClick(); }); });

    dbgrdBrowse = new TDBGrid(pnlPane);
    dbgrdBrowse->setObjectName(QStringLiteral("dbgrdBrowse"));
    htmlhelp::SetHelpContext(dbgrdBrowse, 1059);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    dbgrdBrowse->horizontalHeader()->setFont(titleFont);
    dbgrdBrowse->SetDataSet(qryBrowse.get());
    dbgrdBrowse->installEventFilter(this);
    connect(dbgrdBrowse, &TDBGrid::OpenRequested, btnOpen, &QToolButton::click);
    auto* layout = new QVBoxLayout(pnlPane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dbgrdBrowse);

    ppmnBrowse = new QMenu(this);
    ppmnBrowse->setObjectName(QStringLiteral("ppmnBrowse"));
    mnitAdd = ppmnBrowse->addAction(QStringLiteral("Новый"));
    mnitAdd->setObjectName(QStringLiteral("mnitAdd"));
    mnitAdd->setShortcut(QKeySequence(Qt::Key_Insert));
    mnitAdd->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    mnitOpen = ppmnBrowse->addAction(QStringLiteral("Открыть"));
    mnitOpen->setObjectName(QStringLiteral("mnitOpen"));
    addAction(mnitAdd);
    connect(mnitAdd, &QAction::triggered, btnAdd, &QToolButton::click);
    connect(mnitOpen, &QAction::triggered, btnOpen, &QToolButton::click);
    setContextMenuPolicy(Qt::CustomContextMenu);
    dbgrdBrowse->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(dbgrdBrowse)})
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { ppmnBrowse->popup(w->mapToGlobal(at)); });
}

TfrmDBGridBrowser::~TfrmDBGridBrowser() {
    // The grid goes before the query it shows.
    delete dbgrdBrowse;
}

void TfrmDBGridBrowser::ShowEmbedded() {
    TfrmPane::ShowEmbedded();
    dbgrdBrowse->setFocus();
}

void TfrmDBGridBrowser::Embed(TPaneInfo* paneInfo) {
    TfrmPane::Embed(paneInfo);
    RestoreGridColumns(ClassName(), *dbgrdBrowse);
    RefreshBrowse(0);
}

void TfrmDBGridBrowser::RefreshBrowse(int key) {
    if (key == 0 && qryBrowse->isActive() && !qryBrowse->isEmpty())
        key = int(qryBrowse->field(QStringLiteral("PRKEY")).asInteger());
    PrepareQuery();
    if (qryBrowse->transaction().isActive())
        qryBrowse->commit();
    qryBrowse->open();
    qryBrowse->locate(QStringLiteral("PRKEY"), key);
}

void TfrmDBGridBrowser::btnAddClick() {}

void TfrmDBGridBrowser::btnOpenClick() {}

void TfrmDBGridBrowser::FormClose() {
    SaveGridColumns(ClassName(), *dbgrdBrowse);
}

bool TfrmDBGridBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dbgrdBrowse && event->type() == QEvent::FocusOut)
        SaveGridColumns(ClassName(), *dbgrdBrowse);
    return TfrmPane::eventFilter(watched, event);
}
