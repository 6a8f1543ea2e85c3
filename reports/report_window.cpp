#include "reports/report_window.h"

#include "core/exceptions.h"
#include "reports/report_browser.h"
#include "reports/report_sheet.h"
#include "reports/sheet_range.h"
#include "reports/sheet_text.h"
#include "shell/document_windows.h"
#include "shell/main_window_base.h"
#include "shell/period_dialog.h"
#include "store/data_store.h"
#include "store/user_rights.h"
#include "ui/action_builder.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace {

// 23:59:59, the time of day a stored report's last day ends at.
constexpr double kLastSecond = 86399.0 / 86400.0;

DateTime endOfMonth(DateTime day) {
    const QDate date = datetime::decodeDate(day);
    return datetime::encodeDate(date.year(), date.month(), date.daysInMonth());
}

} // namespace

Period proposedReportPeriod(std::optional<DateTime> latestEnd, DateTime now) {
    if (latestEnd && *latestEnd != 0) {
        const DateTime start = datetime::dateOf(*latestEnd) + 1;
        return {start, endOfMonth(start)};
    }
    const QDate today = datetime::decodeDate(now);
    const DateTime start = datetime::encodeDate(today.year(), today.month(), 1);
    return {start, endOfMonth(start)};
}

ReportWindow::ReportWindow(const QString& caption, const QString& printSettingsKey)
    : RunWindow(nullptr, Qt::Window), m_caption(caption) {
    setObjectName(QStringLiteral("reportWindow"));
    setWindowTitle(caption);
    m_frame = new ReportFrame(this, printSettingsKey);
    buildActions();
    // The report's commands on the left, "Закрыть" on the right, the sheet below them.
    m_frame->layOut({m_saveAction, m_recalcAction, commands().print, m_deleteAction,
                     commands().exportSheet, commands().document, commands().help,
                     commands().contextHelp});
    m_sheetMenu = new QMenu(this);
    m_sheetMenu->setObjectName(QStringLiteral("sheetMenu"));
    m_sheetMenu->addAction(m_recalcAction);
    sheet()->setPopupMenu(m_sheetMenu);
    sheet()->onCellDblClick = [this] { onDocumentTriggered(); };
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::buildActions() {
    commands().close->setShortcut(QKeySequence(Qt::Key_Escape));
    m_saveAction = buildAction(this, {.name = QStringLiteral("saveAction"),
                                      .text = QStringLiteral("Сохранить"),
                                      .statusTip = QStringLiteral("Сохранить отчет")});
    m_saveAction->setIcon(themeIcon("document-save", QStyle::SP_DialogSaveButton));
    m_recalcAction = buildAction(this, {.name = QStringLiteral("recalcAction"),
                                        .text = QStringLiteral("Пересчитать"),
                                        .shortcut = QKeySequence(Qt::Key_F5)});
    m_recalcAction->setIcon(themeIcon("view-refresh", QStyle::SP_BrowserReload));
    m_deleteAction = buildAction(
        this,
        {.name = QStringLiteral("deleteAction"), .text = QStringLiteral("Удалить"), .image = 9});
    connect(m_saveAction, &QAction::triggered, this, &ReportWindow::onSaveTriggered);
    connect(m_recalcAction, &QAction::triggered, this, &ReportWindow::onRecalcTriggered);
    connect(m_deleteAction, &QAction::triggered, this, &ReportWindow::onDeleteTriggered);
    connect(commands().document, &QAction::triggered, this, &ReportWindow::onDocumentTriggered);
    connect(commands().close, &QAction::triggered, this, &QWidget::close);
}

// ---- Running ----

void ReportWindow::execute(const ReportRequest& request) {
    m_request = request;
    initRights();
    if (request.mode == ReportMode::New) {
        newReport();
        setWindowTitle(m_caption + QStringLiteral(" [Новый]"));
    } else {
        openReport();
    }
    showModal();
}

void ReportWindow::newReport() {
    StoredReports reports(DataStore::instance());
    Period period = proposedReportPeriod(reports.latestEnd(reportType()), datetime::now());
    if (!PeriodDialog::execute(MainWindowBase::current(), QStringLiteral("Период отчёта"), period))
        throw SilentAbort();
    m_period = {datetime::dateOf(period.start), datetime::dateOf(period.end) + kLastSecond};
    m_request->reportKey = reports.newKey();
    m_report = StoredReport{};
    m_report.key = m_request->reportKey;
    m_report.type = reportType();
    m_report.start = m_period.start;
    m_report.end = m_period.end;
    m_asRead.reset();
    recalc();
}

void ReportWindow::openReport() {
    const std::optional<StoredReport> read =
        StoredReports(DataStore::instance()).read(m_request->reportKey, reportType());
    if (!read)
        throw Exception(QStringLiteral("Отчёт не существует!"));
    m_report = *read;
    m_asRead = read;
    m_period = {read->start, read->end};
    sheet()->clearCells();
    loadSheetText(*sheet(), 0, 0, read->sheetText);
}

void ReportWindow::showModal() {
    setAttribute(Qt::WA_DeleteOnClose);
    if (MainWindowBase* main = MainWindowBase::current())
        setParent(main, windowFlags() | Qt::Window);
    setWindowModality(Qt::WindowModal);
    showReportMaximized(this);
    activateWindow();
}

void ReportWindow::showModeless() {
    setAttribute(Qt::WA_DeleteOnClose);
    DocumentWindows::add(this);
    showReportMaximized(this);
    raise();
    activateWindow();
}

// ---- Hooks ----

void ReportWindow::viewDocument() {}

void ReportWindow::initRights() {}

void ReportWindow::storeGrid(StoredReport& report) {
    const SheetRange range = wholeSheet(*sheet());
    report.sheetText = saveSheetText(*sheet(), range.x1, range.y1, range.x2, range.y2);
    report.start = m_period.start;
    report.end = m_period.end;
}

void ReportWindow::applyReportRights(const QString& word) {
    const UserRights rights(DataStore::instance());
    const auto allows = [&](char number) {
        return rights.hasPermission(word + QLatin1Char(number));
    };
    m_recalcAction->setEnabled(allows('6'));
    m_deleteAction->setEnabled(allows('4'));
    m_frame->applyPrintRights(word);
}

// ---- Commands ----

void ReportWindow::onSaveTriggered() {
    runGuarded([this] {
        StoredReport stored = m_report;
        storeGrid(stored);
        StoredReports(DataStore::instance()).save(stored, m_asRead);
        m_report = stored;
        m_asRead = stored;
        close();
    });
}

void ReportWindow::onRecalcTriggered() {
    runGuarded([this] { recalc(); });
}

void ReportWindow::onDeleteTriggered() {
    runGuarded([this] {
        if (dialogs::messageBox(this, QStringLiteral("Вы уверенны, что хотите удалить документ?"),
                                QStringLiteral("Удаление"), Buttons::YesNo, MessageIcon::Question,
                                DefaultButton::Second) == Answer::Yes &&
            m_asRead)
            StoredReports(DataStore::instance()).remove(*m_asRead);
        close();
    });
}

void ReportWindow::onDocumentTriggered() {
    if (commands().document->isEnabled())
        runGuarded([this] { viewDocument(); });
}

// ---- Closing ----

void ReportWindow::closeEvent(QCloseEvent* event) {
    RunWindow::closeEvent(event);
    if (!event->isAccepted() || m_closed)
        return;
    m_closed = true;
    if (m_request)
        refreshBrowser();
}

void ReportWindow::refreshBrowser() {
    MainWindowBase* main = MainWindowBase::current();
    // Once the program has closed its book, there is nothing to read.
    if (!main || !main->session().isRunning())
        return;
    auto* browser = qobject_cast<ReportBrowser*>(main->currentPane());
    if (browser)
        runGuarded([&] { browser->refreshRows(m_request->reportKey); });
}
