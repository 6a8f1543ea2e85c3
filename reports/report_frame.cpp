#include "reports/report_frame.h"

#include "platform/work_folder.h"
#include "reports/report_sheet.h"
#include "reports/sheet_export.h"
#include "reports/sheet_print.h"
#include "reports/sheet_range.h"
#include "shell/main_window_base.h"
#include "store/data_store.h"
#include "store/user_rights.h"
#include "ui/action_builder.h"
#include "ui/guard.h"

#include <QAction>
#include <QFont>
#include <QHBoxLayout>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The help topic of "Справка" in every report window.
constexpr int kReportHelpContext = 2;

QFont reportFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// A large button named after its action ("printAction": "printButton"), shown and hidden with
// it.
void addButton(QToolBar* bar, QAction* action) {
    QString name = action->objectName();
    name.chop(int(qstrlen("Action")));
    QToolButton* button = addActionButton(bar, action, name + QStringLiteral("Button"));
    button->setIconSize(QSize(32, 32));
    button->setMinimumWidth(72);
    followVisibility(button, action);
}

} // namespace

void showReportMaximized(QWidget* window) {
    if (const QScreen* screen = window->screen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
}

ReportFrame::ReportFrame(QWidget* window, const QString& printSettingsKey)
    : QObject(window), m_window(window), m_printSettingsKey(printSettingsKey) {
    window->setFont(reportFont());
    m_sheet = new ReportSheet(window);
    m_commands = buildReportCommands(window);
    connect(m_commands.print, &QAction::triggered, this, &ReportFrame::onPrintTriggered);
    connect(m_commands.exportSheet, &QAction::triggered, this, &ReportFrame::onExportTriggered);
    connect(m_commands.help, &QAction::triggered, this, &ReportFrame::onHelpTriggered);
    connect(m_commands.contextHelp, &QAction::triggered, this,
            &ReportFrame::onContextHelpTriggered);
}

QVBoxLayout* ReportFrame::layOut(const QList<QAction*>& commands, const QList<QWidget*>& between) {
    QToolBar* commandsBar = commandBar(m_window, QStringLiteral("commandBar"));
    for (QAction* action : commands)
        addButton(commandsBar, action);
    QToolBar* closeBar = commandBar(m_window, QStringLiteral("closeBar"));
    addButton(closeBar, m_commands.close);
    for (QAction* action : commands + QList<QAction*>{m_commands.close}) {
        action->setShortcutContext(Qt::WindowShortcut);
        m_window->addAction(action);
    }

    auto* bars = new QHBoxLayout;
    bars->setContentsMargins(0, 0, 0, 0);
    bars->addWidget(commandsBar);
    bars->addStretch();
    bars->addWidget(closeBar);
    auto* layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bars);
    for (QWidget* widget : between)
        layout->addWidget(widget);
    layout->addWidget(m_sheet, 1);
    return layout;
}

void ReportFrame::applyPrintRights(const QString& word) {
    const UserRights rights(DataStore::instance());
    m_commands.print->setEnabled(rights.hasPermission(word + QLatin1Char('7')));
    m_commands.exportSheet->setEnabled(rights.hasPermission(word + QLatin1Char('8')));
}

void ReportFrame::onPrintTriggered() {
    runGuarded(
        [this] { printSheet(m_window, *m_sheet, wholeSheet(*m_sheet), m_printSettingsKey); });
}

void ReportFrame::onExportTriggered() {
    runGuarded(
        [this] { exportSheet(m_window, *m_sheet, wholeSheet(*m_sheet), m_window->windowTitle()); });
}

void ReportFrame::onHelpTriggered() {
    if (MainWindowBase* main = MainWindowBase::current())
        runGuarded([main] { main->showHelpContext(kReportHelpContext); });
}

void ReportFrame::onContextHelpTriggered() {
    if (MainWindowBase* main = MainWindowBase::current())
        runGuarded([main] { main->enterContextHelpMode(); });
}
