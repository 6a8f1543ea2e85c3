#include "documents/document_browser.h"

#include "core/date_time.h"
#include "core/numbers.h"
#include "documents/document_window.h"
#include "documents/partner_filter_lookup.h"
#include "platform/firebird/data_set.h"
#include "shell/document_windows.h"
#include "shell/main_window_base.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/document_list.h"
#include "store/user_rights.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QAction>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

const DocumentBrowserKind IncomingPaymentsBrowser::kKind = {
    1, 1, "Приход на Р/С", "TfrmIncomeBrowser", "IncomeDoc", "От кого", "Показывать только:"};
const DocumentBrowserKind PaymentOrdersBrowser::kKind = {
    2, 2, "Расход с Р/С", "TfrmIssueBrowser", "IssueDoc", "Кому", "Показывать только:"};
const DocumentBrowserKind CashReceiptsBrowser::kKind = {
    1, 1, "Приход в кассу", "TfrmBrowserKassOrdPrih", "IncomeDoc", "От кого", "Плательщик:"};
const DocumentBrowserKind CashDisbursementsBrowser::kKind = {
    2, 2, "Расход из кассы", "TfrmBrowserKassOrdRash", "IssueDoc", "Кому", "Получатель:"};

namespace {

const QString kAllPartnersText = QStringLiteral("Все фирмы");
constexpr int kPartnerFilterWidth = 200;

// The drop-down arrow of the partner filter's box.
QToolButton* arrowButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(Qt::DownArrow);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Focus that a user gives on purpose; focus coming back from the lookup or with the window
// does not open the lookup again.
bool isUsersFocus(const QEvent* event) {
    switch (static_cast<const QFocusEvent*>(event)->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace

DocumentBrowser::DocumentBrowser(const DocumentBrowserKind& kind, QWidget* owner)
    : PeriodBrowserPane(owner), m_kind(kind) {
    setWindowTitle(QString::fromUtf8(kind.title));
    setGridColumns(
        *grid(),
        {{"DAT", Qt::AlignLeft, "Дата", 72, {}, Qt::AlignHCenter},
         {"NUM", Qt::AlignLeft, "№ докум.", 66, {}, Qt::AlignHCenter},
         {"LNAM", Qt::AlignLeft, QString::fromUtf8(kind.partnerTitle), 209, {}, Qt::AlignHCenter},
         {"SUM1", Qt::AlignRight, "Сумма", 0, {}, Qt::AlignHCenter},
         {"PURP1", Qt::AlignLeft, "Назначение", 223, {}, Qt::AlignHCenter}});
    buildPartnerBand();
    buildTotalBar();
    grid()->viewport()->installEventFilter(this);
    m_totalTimer.setSingleShot(true);
    m_totalTimer.setInterval(0);
    connect(&m_totalTimer, &QTimer::timeout, this, [this] { runGuarded([this] { showTotal(); }); });

    m_partnerFilterAction = buildAction(this, {.name = QStringLiteral("partnerFilterAction"),
                                               .text = QStringLiteral("Показывать только"),
                                               .shortcut = QKeySequence(Qt::CTRL | Qt::Key_P)});
    m_partnerFilterAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    gridMenu()->addAction(m_partnerFilterAction);
    addAction(m_partnerFilterAction);
    m_partnerFilterButton->setDefaultAction(m_partnerFilterAction);
    m_partnerFilterButton->setArrowType(Qt::DownArrow);
    connect(m_partnerFilterAction, &QAction::triggered, this,
            &DocumentBrowser::onPartnerFilterTriggered);
    connect(&DocumentWindows::events(), &DocumentWindowEvents::documentClosed, this,
            &DocumentBrowser::onDocumentClosed);
}

void DocumentBrowser::buildPartnerBand() {
    auto* band = new QWidget(toolBar());
    band->setObjectName(QStringLiteral("partnerBand"));
    auto* label = new QLabel(QString::fromUtf8(m_kind.filterLabel), band);
    label->setObjectName(QStringLiteral("partnerFilterLabel"));
    m_partnerFilterEdit = new QLineEdit(kAllPartnersText, band);
    m_partnerFilterEdit->setObjectName(QStringLiteral("partnerFilterEdit"));
    m_partnerFilterEdit->setReadOnly(true);
    m_partnerFilterEdit->setFixedWidth(kPartnerFilterWidth);
    m_partnerFilterEdit->installEventFilter(this);
    label->setBuddy(m_partnerFilterEdit);
    m_partnerFilterButton = arrowButton(band);
    m_partnerFilterButton->setObjectName(QStringLiteral("partnerFilterButton"));
    // The band keeps its own width however wide the tool bar is.
    band->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(label);
    layout->addWidget(m_partnerFilterEdit);
    layout->addWidget(m_partnerFilterButton);
    toolBar()->addSeparator();
    toolBar()->addWidget(band);
}

void DocumentBrowser::buildTotalBar() {
    auto* bar = new QStatusBar(contentPanel());
    bar->setObjectName(QStringLiteral("totalBar"));
    bar->setSizeGripEnabled(false);
    auto* caption = new QLabel(QStringLiteral("ИТОГО"), bar);
    caption->setObjectName(QStringLiteral("totalCaptionLabel"));
    m_totalLabel = new QLabel(bar);
    m_totalLabel->setObjectName(QStringLiteral("totalLabel"));
    bar->addWidget(caption);
    bar->addWidget(m_totalLabel, 1);
    static_cast<QVBoxLayout*>(contentPanel()->layout())->addWidget(bar);
}

void DocumentBrowser::prepare() {
    PeriodBrowserPane::prepare();
    const QString key = QString::fromLatin1(m_kind.rightsArea) + QLatin1Char('2');
    newAction()->setEnabled(UserRights(DataStore::instance()).hasPermission(key));
}

DocumentListFilter DocumentBrowser::listFilter() const {
    const Period period = sharedPeriod();
    DocumentListFilter filter{m_kind.documentType, period.start, period.end, std::nullopt};
    if (m_partnerFilter != kAllPartners)
        filter.partner = m_partnerFilter;
    return filter;
}

void DocumentBrowser::prepareQuery() {
    fb::DataSet& rows = query();
    selectDocumentList(rows, listFilter());
    rows.prepare();
    for (const char* name : {"DAT", "DAT2"})
        rows.field(QString::fromLatin1(name)).setOnGetText(dateFieldText);
    for (const char* name : {"SUM1", "SUM2"})
        rows.field(QString::fromLatin1(name)).setDisplayFormat(QStringLiteral("#0.00"));
}

void DocumentBrowser::refreshRows(int key) {
    PeriodBrowserPane::refreshRows(key);
    if (m_partnerFilter == kAllPartners)
        m_partnerFilterEdit->setText(kAllPartnersText);
    const Period period = sharedPeriod();
    setPeriodCaption(periodDateText(period.start) + QLatin1Char('-') + periodDateText(period.end));
    // The total of a long period takes a while: it follows the grid's next paint, so that the
    // first rows show before it; at once when the grid is not on screen.
    m_totalLabel->clear();
    m_totalDue = true;
    if (!isGridOnScreen())
        m_totalTimer.start();
}

bool DocumentBrowser::isGridOnScreen() const {
    const QWindow* window = grid()->window()->windowHandle();
    return grid()->isVisible() && window && window->isExposed();
}

// The total of every listed document, read in the rows' own transaction.
void DocumentBrowser::showTotal() {
    m_totalDue = false;
    const Currency total = documentListTotal(query().transaction(), listFilter());
    m_totalLabel->setText(formatAmount(total.toDouble()));
}

void DocumentBrowser::onNewTriggered() {
    openDocument(0);
}

void DocumentBrowser::onOpenTriggered() {
    if (!query().isEmpty())
        openDocument(int(query().field(QStringLiteral("PRKEY")).asInteger()));
}

void DocumentBrowser::openDocument(int key) {
    const DocumentKind kind = documentKindOf(m_kind.documentType, ownerType(DataStore::instance()));
    if (key == 0)
        DocumentWindow::openNew(kind);
    else
        DocumentWindow::openExisting(kind, key);
}

// A document of the browser's type closed, however its window was opened: the browser on screen
// reads its rows again and stands on it.
void DocumentBrowser::onDocumentClosed(int type, int key) {
    MainWindowBase* main = MainWindowBase::current();
    if (type != m_kind.documentType || !main || main->currentPane() != this)
        return;
    runGuarded([&] { refreshRows(key); });
}

void DocumentBrowser::onPartnerFilterTriggered() {
    if (m_partnerFilterEdit->hasFocus())
        openPartnerLookup();
    else
        m_partnerFilterEdit->setFocus(Qt::ShortcutFocusReason);
}

bool DocumentBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid()->viewport() && event->type() == QEvent::Paint && m_totalDue)
        m_totalTimer.start();
    if (watched == m_partnerFilterEdit && event->type() == QEvent::FocusIn && isUsersFocus(event))
        openPartnerLookup();
    return PeriodBrowserPane::eventFilter(watched, event);
}

void DocumentBrowser::openPartnerLookup() {
    runGuarded([this] {
        // The lookup frees itself once it has shown; one that fails to show goes here.
        auto lookup = std::make_unique<PartnerFilterLookup>(this);
        PartnerFilterLookup* shown = lookup.get();
        lookup->setPartnerType(m_kind.partnerType);
        lookup->setOnChosen([this, shown] { onPartnerChosen(*shown); });
        lookup->setOnCancelled([this] { onPartnerCancelled(); });
        lookup->popUp(m_partnerFilterEdit, QString());
        lookup.release();
    });
}

void DocumentBrowser::onPartnerChosen(const PartnerFilterLookup& lookup) {
    m_partnerFilter = lookup.hasChoice() ? lookup.chosenKey() : kAllPartners;
    m_partnerFilterEdit->setText(lookup.hasChoice() ? lookup.chosenText() : kAllPartnersText);
    grid()->setFocus();
    runGuarded([this] { refreshRows(0); });
}

void DocumentBrowser::onPartnerCancelled() {
    m_partnerFilter = kAllPartners;
    grid()->setFocus();
    runGuarded([this] { refreshRows(0); });
}
