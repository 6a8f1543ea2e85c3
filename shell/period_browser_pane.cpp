#include "shell/period_browser_pane.h"

#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "shell/period_dialog.h"
#include "ui/action_builder.h"
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
    buildPeriodMenu();
    buildPeriodBand();

    gridMenu()->addSeparator();
    m_openPeriodMenuAction = buildAction(this, {.name = QStringLiteral("openPeriodMenuAction"),
                                                .text = QStringLiteral("Период"),
                                                .shortcut = QKeySequence(Qt::CTRL | Qt::Key_D)});
    m_openPeriodMenuAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    gridMenu()->addAction(m_openPeriodMenuAction);
    addAction(m_openPeriodMenuAction);
    connect(m_openPeriodMenuAction, &QAction::triggered, m_periodButton, &QToolButton::showMenu);
}

void PeriodBrowserPane::buildPeriodMenu() {
    m_periodMenu = new QMenu(this);
    m_periodMenu->setObjectName(QStringLiteral("periodMenu"));
    m_selectPeriodAction = buildAction(this, {.name = QStringLiteral("selectPeriodAction"),
                                              .text = QStringLiteral("Выбрать период...")});
    // The shortcuts' captions are set each time the menu opens.
    m_yearPeriodAction = buildAction(this, {.name = QStringLiteral("yearPeriodAction")});
    m_quarterPeriodAction = buildAction(this, {.name = QStringLiteral("quarterPeriodAction")});
    m_monthPeriodAction = buildAction(this, {.name = QStringLiteral("monthPeriodAction")});
    m_dayPeriodAction = buildAction(this, {.name = QStringLiteral("dayPeriodAction")});
    m_periodMenu->addActions({m_selectPeriodAction, m_yearPeriodAction, m_quarterPeriodAction,
                              m_monthPeriodAction, m_dayPeriodAction});
    m_periodMenu->setDefaultAction(m_selectPeriodAction);
    connect(m_periodMenu, &QMenu::aboutToShow, this, &PeriodBrowserPane::onPeriodMenuAboutToShow);
    connect(m_selectPeriodAction, &QAction::triggered, this,
            &PeriodBrowserPane::onSelectPeriodTriggered);
    for (PeriodKind kind :
         {PeriodKind::Year, PeriodKind::Quarter, PeriodKind::Month, PeriodKind::Day})
        connect(periodAction(kind), &QAction::triggered, this,
                [this, kind] { runGuarded([&] { choosePeriod(kind); }); });
}

// The period's caption and its drop-down button, on the pane's tool bar.
void PeriodBrowserPane::buildPeriodBand() {
    auto* periodBand = new QWidget(toolBar());
    periodBand->setObjectName(QStringLiteral("periodBand"));
    auto* periodFrame = new QFrame(periodBand);
    periodFrame->setObjectName(QStringLiteral("periodFrame"));
    periodFrame->setToolTip(QStringLiteral("Период просмотра документов - Ctrl+D"));
    help::setHelpContext(periodFrame, 1058);
    auto* label = new QLabel(QStringLiteral("Период:"), periodFrame);
    label->setObjectName(QStringLiteral("periodLabel"));
    auto* periodButtonFrame = new QFrame(periodFrame);
    periodButtonFrame->setObjectName(QStringLiteral("periodButtonFrame"));
    periodButtonFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* periodToolBar = new QToolBar(periodButtonFrame);
    periodToolBar->setObjectName(QStringLiteral("periodToolBar"));
    // A click on the button itself drops the menu as its arrow does.
    m_periodButtonAction = buildAction(this, {.name = QStringLiteral("periodButtonAction"),
                                              .text = QStringLiteral("00.00.0000-00.00.0000")});
    m_periodButton = addMenuButton(periodToolBar, m_periodButtonAction, m_periodMenu,
                                   QStringLiteral("periodButton"));
    m_periodButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_periodButton->setAutoRaise(false);
    m_periodButton->setMinimumSize(139, 24);
    auto* placeLayout = new QHBoxLayout(periodButtonFrame);
    placeLayout->setContentsMargins(1, 1, 1, 1);
    placeLayout->addWidget(periodToolBar);
    auto* periodLayout = new QHBoxLayout(periodFrame);
    periodLayout->setContentsMargins(4, 0, 4, 0);
    periodLayout->addWidget(label);
    periodLayout->addWidget(periodButtonFrame);
    auto* bandLayout = new QHBoxLayout(periodBand);
    bandLayout->setContentsMargins(0, 0, 0, 0);
    bandLayout->addWidget(periodFrame, 0, Qt::AlignVCenter);
    toolBar()->addSeparator();
    toolBar()->addWidget(periodBand);
}

void PeriodBrowserPane::setPeriodCaption(const QString& caption) {
    m_periodButtonAction->setText(caption);
}

QAction* PeriodBrowserPane::periodAction(PeriodKind kind) const {
    switch (kind) {
    case PeriodKind::Day:
        return m_dayPeriodAction;
    case PeriodKind::Month:
        return m_monthPeriodAction;
    case PeriodKind::Quarter:
        return m_quarterPeriodAction;
    case PeriodKind::Year:
        return m_yearPeriodAction;
    }
    return nullptr;
}

Period PeriodBrowserPane::sharedPeriod() {
    return MainWindowBase::current()->browsePeriod();
}

void PeriodBrowserPane::setSharedPeriod(const Period& period) {
    MainWindowBase::current()->setBrowsePeriod(period);
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
    runGuarded([this] {
        Period period = sharedPeriod();
        if (PeriodDialog::execute(this, QStringLiteral("Период просмотра записей"), period))
            applyPeriod(normalisedPeriod(period));
    });
}

void PeriodBrowserPane::applyPeriod(const Period& period) {
    setSharedPeriod(period);
    refreshRows(0);
}
