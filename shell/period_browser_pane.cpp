#include "shell/period_browser_pane.h"

#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "ui/guard.h"

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

DateTime addMonths(DateTime date, int months) {
    return datetime::encode(datetime::decodeDate(date).addMonths(months));
}

} // namespace

Period normalisedPeriod(const Period& period) {
    return {datetime::dateOf(period.start), datetime::endOfDay(period.end)};
}

Period shortcutPeriod(PeriodKind kind, DateTime now) {
    const DateTime today = datetime::dateOf(now);
    DateTime start = today;
    switch (kind) {
    case PeriodKind::Day:
        break;
    case PeriodKind::Month:
        start = addMonths(today, -1);
        break;
    case PeriodKind::Quarter:
        start = today - kQuarterDays;
        break;
    case PeriodKind::Year:
        start = addMonths(today, -12);
        break;
    }
    return normalisedPeriod({start, now + 1});
}

QString periodDateText(DateTime value) {
    return datetime::decodeDate(value).toString(QStringLiteral("dd.MM.yyyy"));
}

QString shortcutCaption(PeriodKind kind, DateTime now) {
    const DateTime today = datetime::dateOf(now);
    // The letter c of the three "from" captions is the Latin one.
    switch (kind) {
    case PeriodKind::Day:
        return QStringLiteral("День ") + periodDateText(today);
    case PeriodKind::Month:
        return QStringLiteral("Месяц c ") + periodDateText(today - kMonthCaptionDays);
    case PeriodKind::Quarter:
        return QStringLiteral("Квартал c ") + periodDateText(today - kQuarterDays);
    case PeriodKind::Year:
        return QStringLiteral("Год c ") + periodDateText(today - kYearCaptionDays);
    }
    return QString();
}

PeriodBrowserPane::PeriodBrowserPane(QWidget* owner) : GridBrowserPane(owner) {
    m_periodMenu = new QMenu(this);
    m_periodMenu->setObjectName(QStringLiteral("pmPeriod"));
    m_selectPeriodAction = m_periodMenu->addAction(QStringLiteral("Выбрать период..."));
    m_selectPeriodAction->setObjectName(QStringLiteral("mnitSelectPeriod"));
    m_periodMenu->setDefaultAction(m_selectPeriodAction);
    m_yearPeriodAction = m_periodMenu->addAction(QString());
    m_yearPeriodAction->setObjectName(QStringLiteral("mnitYearPeriod"));
    m_quarterPeriodAction = m_periodMenu->addAction(QString());
    m_quarterPeriodAction->setObjectName(QStringLiteral("mnitQuarterPeriod"));
    m_monthPeriodAction = m_periodMenu->addAction(QString());
    m_monthPeriodAction->setObjectName(QStringLiteral("mnitMonthPeriod"));
    m_dayPeriodAction = m_periodMenu->addAction(QString());
    m_dayPeriodAction->setObjectName(QStringLiteral("mnitDayPeriod"));
    connect(m_periodMenu, &QMenu::aboutToShow, this, &PeriodBrowserPane::onPeriodMenuAboutToShow);
    connect(m_selectPeriodAction, &QAction::triggered, this,
            [this] { runGuarded([this] { onSelectPeriodTriggered(); }); });
    const QList<std::pair<QAction*, PeriodKind>> shortcuts{
        {m_yearPeriodAction, PeriodKind::Year},
        {m_quarterPeriodAction, PeriodKind::Quarter},
        {m_monthPeriodAction, PeriodKind::Month},
        {m_dayPeriodAction, PeriodKind::Day}};
    for (const auto& [item, kind] : shortcuts)
        connect(item, &QAction::triggered, this,
                [this, kind = kind] { runGuarded([&] { choosePeriod(kind); }); });

    m_periodBand = new QWidget(m_paneToolBar);
    m_periodBand->setObjectName(QStringLiteral("clbrOptions"));
    auto* periodFrame = new QFrame(m_periodBand);
    periodFrame->setObjectName(QStringLiteral("periodFrame"));
    periodFrame->setToolTip(QStringLiteral("Период просмотра документов - Ctrl+D"));
    help::setHelpContext(periodFrame, 1058);
    auto* label = new QLabel(QStringLiteral("Период:"), periodFrame);
    label->setObjectName(QStringLiteral("Label1"));
    auto* periodButtonFrame = new QFrame(periodFrame);
    periodButtonFrame->setObjectName(QStringLiteral("periodButtonFrame"));
    periodButtonFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_periodToolBar = new QToolBar(periodButtonFrame);
    m_periodToolBar->setObjectName(QStringLiteral("tlbrDocsPeriod"));
    m_periodButton = new QToolButton(m_periodToolBar);
    m_periodButton->setObjectName(QStringLiteral("tlbtnPeriod"));
    m_periodButton->setText(QStringLiteral("00.00.0000-00.00.0000"));
    m_periodButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_periodButton->setMenu(m_periodMenu);
    // A click on the button itself drops the menu as its arrow does.
    m_periodButton->setPopupMode(QToolButton::InstantPopup);
    m_periodButton->setMinimumSize(139, 24);
    m_periodToolBar->addWidget(m_periodButton);
    auto* placeLayout = new QHBoxLayout(periodButtonFrame);
    placeLayout->setContentsMargins(1, 1, 1, 1);
    placeLayout->addWidget(m_periodToolBar);
    auto* periodLayout = new QHBoxLayout(periodFrame);
    periodLayout->setContentsMargins(4, 0, 4, 0);
    periodLayout->addWidget(label);
    periodLayout->addWidget(periodButtonFrame);
    auto* bandLayout = new QHBoxLayout(m_periodBand);
    bandLayout->setContentsMargins(0, 0, 0, 0);
    bandLayout->addWidget(periodFrame, 0, Qt::AlignVCenter);
    m_paneToolBar->addSeparator();
    m_paneToolBar->addWidget(m_periodBand)->setObjectName(QStringLiteral("clbrOptionsAction"));

    m_gridMenu->addSeparator();
    m_openPeriodMenuAction = m_gridMenu->addAction(QStringLiteral("Период"));
    m_openPeriodMenuAction->setObjectName(QStringLiteral("mnitPeriod1"));
    m_openPeriodMenuAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_openPeriodMenuAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(m_openPeriodMenuAction);
    connect(m_openPeriodMenuAction, &QAction::triggered, m_periodButton, &QToolButton::showMenu);
}

Period PeriodBrowserPane::sharedPeriod() {
    return {MainWindowBase::current()->m_defaultPeriodStart,
            MainWindowBase::current()->m_defaultPeriodEnd};
}

void PeriodBrowserPane::setSharedPeriod(const Period& period) {
    MainWindowBase::current()->m_defaultPeriodStart = period.start;
    MainWindowBase::current()->m_defaultPeriodEnd = period.end;
}

void PeriodBrowserPane::onPeriodMenuAboutToShow() {
    const DateTime now = datetime::now();
    m_dayPeriodAction->setText(shortcutCaption(PeriodKind::Day, now));
    m_yearPeriodAction->setText(shortcutCaption(PeriodKind::Year, now));
    m_monthPeriodAction->setText(shortcutCaption(PeriodKind::Month, now));
    m_quarterPeriodAction->setText(shortcutCaption(PeriodKind::Quarter, now));
}

void PeriodBrowserPane::choosePeriod(PeriodKind kind) {
    applyPeriod(shortcutPeriod(kind, datetime::now()));
}

void PeriodBrowserPane::onSelectPeriodTriggered() {
    Period period = sharedPeriod();
    if (PeriodDialog::execute(this, QStringLiteral("Период просмотра записей"), period))
        applyPeriod(normalisedPeriod(period));
}

void PeriodBrowserPane::applyPeriod(const Period& period) {
    setSharedPeriod(period);
    refreshRows(0);
}
