#include "shell/fmDBGridBrowserPeriod.h"

#include "shell/fmMainProto.h"
#include "shell/uHtmlHelp.h"
#include "util/uGuard.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kQuarterDays = 92;
constexpr int kMonthCaptionDays = 31;
constexpr int kYearCaptionDays = 365;

TDateTime addMonths(TDateTime date, int months) {
    return datetime::encode(datetime::decodeDate(date).addMonths(months));
}

} // namespace

TPeriod NormalisedPeriod(const TPeriod& period) {
    return {datetime::dateOf(period.Start), datetime::endOfDay(period.End)};
}

TPeriod ShortcutPeriod(TPeriodKind kind, TDateTime now) {
    const TDateTime today = datetime::dateOf(now);
    TDateTime start = today;
    switch (kind) {
    case TPeriodKind::Day:
        break;
    case TPeriodKind::Month:
        start = addMonths(today, -1);
        break;
    case TPeriodKind::Quarter:
        start = today - kQuarterDays;
        break;
    case TPeriodKind::Year:
        start = addMonths(today, -12);
        break;
    }
    return NormalisedPeriod({start, now + 1});
}

QString PeriodDateText(TDateTime value) {
    return datetime::decodeDate(value).toString(QStringLiteral("dd.MM.yyyy"));
}

QString ShortcutCaption(TPeriodKind kind, TDateTime now) {
    const TDateTime today = datetime::dateOf(now);
    // The letter c of the three "from" captions is the Latin one.
    switch (kind) {
    case TPeriodKind::Day:
        return QStringLiteral("День ") + PeriodDateText(today);
    case TPeriodKind::Month:
        return QStringLiteral("Месяц c ") + PeriodDateText(today - kMonthCaptionDays);
    case TPeriodKind::Quarter:
        return QStringLiteral("Квартал c ") + PeriodDateText(today - kQuarterDays);
    case TPeriodKind::Year:
        return QStringLiteral("Год c ") + PeriodDateText(today - kYearCaptionDays);
    }
    return QString();
}

TfrmDBGridBrowserPeriod::TfrmDBGridBrowserPeriod(QWidget* owner) : TfrmDBGridBrowser(owner) {
    pmPeriod = new QMenu(this);
    pmPeriod->setObjectName(QStringLiteral("pmPeriod"));
    mnitSelectPeriod = pmPeriod->addAction(QStringLiteral("Выбрать период..."));
    mnitSelectPeriod->setObjectName(QStringLiteral("mnitSelectPeriod"));
    pmPeriod->setDefaultAction(mnitSelectPeriod);
    mnitYearPeriod = pmPeriod->addAction(QString());
    mnitYearPeriod->setObjectName(QStringLiteral("mnitYearPeriod"));
    mnitQuarterPeriod = pmPeriod->addAction(QString());
    mnitQuarterPeriod->setObjectName(QStringLiteral("mnitQuarterPeriod"));
    mnitMonthPeriod = pmPeriod->addAction(QString());
    mnitMonthPeriod->setObjectName(QStringLiteral("mnitMonthPeriod"));
    mnitDayPeriod = pmPeriod->addAction(QString());
    mnitDayPeriod->setObjectName(QStringLiteral("mnitDayPeriod"));
    connect(pmPeriod, &QMenu::aboutToShow, this, &TfrmDBGridBrowserPeriod::pmPeriodPopup);
    connect(mnitSelectPeriod, &QAction::triggered, this,
            [this] { runGuarded([this] { mnitSelectPeriodClick(); }); });
    const QList<std::pair<QAction*, TPeriodKind>> shortcuts{
        {mnitYearPeriod, TPeriodKind::Year},
        {mnitQuarterPeriod, TPeriodKind::Quarter},
        {mnitMonthPeriod, TPeriodKind::Month},
        {mnitDayPeriod, TPeriodKind::Day}};
    for (const auto& [item, kind] : shortcuts)
        connect(item, &QAction::triggered, this,
                [this, kind = kind] { runGuarded([&] { ChoosePeriod(kind); }); });

    clbrOptions = new QWidget(tlbarBrowserMenu);
    clbrOptions->setObjectName(QStringLiteral("clbrOptions"));
    auto* pnlPeriod = new QFrame(clbrOptions);
    pnlPeriod->setObjectName(QStringLiteral("pnlPeriod"));
    pnlPeriod->setToolTip(QStringLiteral("Период просмотра документов - Ctrl+D"));
    htmlhelp::SetHelpContext(pnlPeriod, 1058);
    auto* label = new QLabel(QStringLiteral("Период:"), pnlPeriod);
    label->setObjectName(QStringLiteral("Label1"));
    auto* pnlPeriodPlace = new QFrame(pnlPeriod);
    pnlPeriodPlace->setObjectName(QStringLiteral("pnlPeriodPlace"));
    pnlPeriodPlace->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    tlbrDocsPeriod = new QToolBar(pnlPeriodPlace);
    tlbrDocsPeriod->setObjectName(QStringLiteral("tlbrDocsPeriod"));
    tlbtnPeriod = new QToolButton(tlbrDocsPeriod);
    tlbtnPeriod->setObjectName(QStringLiteral("tlbtnPeriod"));
    tlbtnPeriod->setText(QStringLiteral("00.00.0000-00.00.0000"));
    tlbtnPeriod->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tlbtnPeriod->setMenu(pmPeriod);
    // A click on the button itself drops the menu as its arrow does.
    tlbtnPeriod->setPopupMode(QToolButton::InstantPopup);
    tlbtnPeriod->setMinimumSize(139, 24);
    tlbrDocsPeriod->addWidget(tlbtnPeriod);
    auto* placeLayout = new QHBoxLayout(pnlPeriodPlace);
    placeLayout->setContentsMargins(1, 1, 1, 1);
    placeLayout->addWidget(tlbrDocsPeriod);
    auto* periodLayout = new QHBoxLayout(pnlPeriod);
    periodLayout->setContentsMargins(4, 0, 4, 0);
    periodLayout->addWidget(label);
    periodLayout->addWidget(pnlPeriodPlace);
    auto* bandLayout = new QHBoxLayout(clbrOptions);
    bandLayout->setContentsMargins(0, 0, 0, 0);
    bandLayout->addWidget(pnlPeriod, 0, Qt::AlignVCenter);
    tlbarBrowserMenu->addSeparator();
    tlbarBrowserMenu->addWidget(clbrOptions)->setObjectName(QStringLiteral("clbrOptionsAction"));

    ppmnBrowse->addSeparator();
    mnitPeriod1 = ppmnBrowse->addAction(QStringLiteral("Период"));
    mnitPeriod1->setObjectName(QStringLiteral("mnitPeriod1"));
    mnitPeriod1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    mnitPeriod1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(mnitPeriod1);
    connect(mnitPeriod1, &QAction::triggered, tlbtnPeriod, &QToolButton::showMenu);
}

TPeriod TfrmDBGridBrowserPeriod::SharedPeriod() {
    return {frmMainProto->DefaultPeriodStart, frmMainProto->DefaultPeriodEnd};
}

void TfrmDBGridBrowserPeriod::SetSharedPeriod(const TPeriod& period) {
    frmMainProto->DefaultPeriodStart = period.Start;
    frmMainProto->DefaultPeriodEnd = period.End;
}

void TfrmDBGridBrowserPeriod::pmPeriodPopup() {
    const TDateTime now = datetime::now();
    mnitDayPeriod->setText(ShortcutCaption(TPeriodKind::Day, now));
    mnitYearPeriod->setText(ShortcutCaption(TPeriodKind::Year, now));
    mnitMonthPeriod->setText(ShortcutCaption(TPeriodKind::Month, now));
    mnitQuarterPeriod->setText(ShortcutCaption(TPeriodKind::Quarter, now));
}

void TfrmDBGridBrowserPeriod::ChoosePeriod(TPeriodKind kind) {
    applyPeriod(ShortcutPeriod(kind, datetime::now()));
}

void TfrmDBGridBrowserPeriod::mnitSelectPeriodClick() {
    TPeriod period = SharedPeriod();
    if (TfrmSelectPeriod::Execute(this, QStringLiteral("Период просмотра записей"), period))
        applyPeriod(NormalisedPeriod(period));
}

void TfrmDBGridBrowserPeriod::applyPeriod(const TPeriod& period) {
    SetSharedPeriod(period);
    RefreshBrowse(0);
}
