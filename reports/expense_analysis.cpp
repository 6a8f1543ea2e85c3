#include "reports/expense_analysis.h"

#include "reports/document_drill_down.h"
#include "reports/report_layout.h"
#include "reports/report_sheet.h"
#include "store/book_options.h"
#include "store/cash_documents.h"
#include "store/data_store.h"
#include "store/report_data.h"
#include "store/sheet_print_settings.h"
#include "store/stored_row.h"
#include "ui/action_builder.h"
#include "ui/guard.h"
#include "ui/owned_dialog.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int kReasonWidth = 400;
constexpr int kDefaultWidth = 85;
// The limit cells' light yellow: red 255, green 255, blue 194.
constexpr SheetColor kLimitColor = 0x00C2FFFF;

const QStringList& modeTexts() {
    static const QStringList texts = {
        QStringLiteral("расход с установленным лимитом"),
        QStringLiteral("расход без учета лимита"),
        QStringLiteral("расход с превышением лимита"),
        QStringLiteral("расход с недобором до лимита"),
        QStringLiteral("весь расход"),
    };
    return texts;
}

void headerCell(ReportSheet& sheet, int x, int y, const QString& text,
                const SheetGrid::Borders& borders) {
    sheet.setCellString(x, y, text);
    sheet.setCellAlignment(x, y, CellAlignment::Center);
    sheet.setCellBorders(x, y, borders.left, borders.right, borders.top, borders.bottom);
}

} // namespace

QString expenseMonthText(DateTime monthStart) {
    return QStringLiteral("за ") + reportlayout::monthText(monthStart);
}

void layoutExpenseSheet(ReportSheet& sheet, const QString& bookName, DateTime monthStart,
                        const ExpenseFigures& figures, ExpenseMode mode) {
    sheet.beginUpdate();
    sheet.setGridOptions({});
    sheet.clearCells();
    sheet.zeroCounters();
    const int rowTitle = sheet.nextRow();
    const int rowCaption = sheet.nextRow();
    sheet.nextRow();
    const int rowHeader = sheet.nextRow();
    const int colReason = sheet.nextCol();
    const int colSum = sheet.nextCol();
    const int colLimit = sheet.nextCol();
    reportlayout::markColumn(sheet, colReason, QString::fromLatin1(kExpenseColReason));
    reportlayout::markColumn(sheet, colSum, QString::fromLatin1(kExpenseColSum));
    reportlayout::markColumn(sheet, colLimit, QString::fromLatin1(kExpenseColLimit));
    reportlayout::markRow(sheet, rowTitle, QString::fromLatin1(kExpenseRowTitle));
    reportlayout::markRow(sheet, rowHeader, QString::fromLatin1(kExpenseRowHeader));

    sheet.setCellString(colReason, rowTitle, bookName);
    sheet.setCellString(colReason, rowCaption,
                        QStringLiteral("Анализ расходов ") + expenseMonthText(monthStart));
    headerCell(sheet, colReason, rowHeader, QStringLiteral("Расход (тип платежа)"), {2, 1, 2, 1});
    headerCell(sheet, colSum, rowHeader, QStringLiteral("Сумма"), {1, 1, 2, 1});
    headerCell(sheet, colLimit, rowHeader, QStringLiteral("Лимит"), {1, 2, 2, 1});

    for (int i = 0; i < figures.lines.size(); ++i) {
        const ExpenseLine& line = figures.lines.at(i);
        if (!expenseShown(line, mode))
            continue;
        const int y = sheet.nextRow();
        sheet.setRowTags(y,
                         {QString::fromLatin1(kExpenseRowReason),
                          QString::fromLatin1(kExpenseRowKey),
                          QString::fromLatin1(kExpenseRowIndex)},
                         {line.paymentType, QString::number(line.key), QString::number(i)});
        sheet.setCellString(colReason, y, line.paymentType);
        reportlayout::writeHotAmount(sheet, colSum, y, line.spending);
        sheet.setCellTextColor(colSum, y, line.spending > line.limit ? kRedColor : kBlueColor);
        reportlayout::writeAmount(sheet, colLimit, y, line.limit);
        sheet.setCellParam(colLimit, y, QStringLiteral("W"), QStringLiteral("1"));
        sheet.setCellColor(colLimit, y, kLimitColor);
        reportlayout::thinBorders(sheet, colReason, y, colLimit, y);
    }

    reportlayout::fitGridToCells(sheet);
    sheet.setDefaultColWidth(kDefaultWidth);
    sheet.setColWidth(colReason, kReasonWidth);
    sheet.endUpdate();
}

QList<PieSlice> expenseSlices(const ExpenseFigures& figures) {
    QList<PieSlice> slices;
    for (const ExpenseLine& line : figures.lines)
        if (line.spending > Currency{})
            slices << PieSlice{line.paymentType, line.spending};
    return slices;
}

ExpenseAnalysis::ExpenseAnalysis(QWidget* owner, DateTime reportDate)
    : QDialog(nullptr), m_period(expenseMonth(reportDate)) {
    OwnedDialog::useOwnerWindow(this, owner);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setObjectName(QStringLiteral("expenseAnalysis"));
    setWindowTitle(QStringLiteral("Анализ расходов"));

    DataStore& store = DataStore::instance();
    m_figures = computeExpenseAnalysis(store, m_period);
    m_bookName = store.options().storeCaption();

    m_frame = new ReportFrame(this, QString::fromLatin1(kExpenseAnalysisWindow));
    buildCommands();
    QVBoxLayout* layout =
        m_frame->layOut({commands().print, commands().exportSheet, commands().document, m_addAction,
                         m_deleteAction, m_chartAction, commands().help, commands().contextHelp},
                        {buildModeBar()});
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    layout->addWidget(m_statusBar);

    m_frame->applyPrintRights(QStringLiteral("AnIssueReport"));
    connectSheet();
    rebuild();
}

ExpenseAnalysis::~ExpenseAnalysis() = default;

void ExpenseAnalysis::buildCommands() {
    m_addAction = buildAction(
        this,
        {.name = QStringLiteral("addTypeAction"), .text = QStringLiteral("+Расход"), .image = 1});
    m_deleteAction = buildAction(this, {.name = QStringLiteral("deleteTypeAction"),
                                        .text = QStringLiteral("-Расход"),
                                        .image = 9});
    m_chartAction = buildAction(
        this, {.name = QStringLiteral("chartAction"), .text = QStringLiteral("Диаграмма")});
    m_chartAction->setIcon(themeIcon("office-chart-pie", QStyle::SP_FileDialogInfoView));
    // The hint of each button: in the status bar while the pointer is over it, and its tool tip.
    const QList<std::pair<QAction*, QString>> hints = {
        {commands().print, QStringLiteral("Печать ведомости")},
        {commands().exportSheet, QStringLiteral("Экспорт ведомости")},
        {commands().document, QStringLiteral("Документы расхода")},
        {m_addAction, QStringLiteral("Добавить тип расхода")},
        {m_deleteAction, QStringLiteral("Удалить тип расхода")},
        {m_chartAction, QStringLiteral("Диаграмма расходов")},
        {commands().help, QStringLiteral("Справка")},
        {commands().contextHelp, QStringLiteral("Справка по элементу окна")},
        {commands().close, QStringLiteral("Закрыть окно")},
    };
    for (const auto& [action, hint] : hints) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    // The payment types are kept in their dictionary, not here.
    m_addAction->setVisible(false);
    m_deleteAction->setVisible(false);
    commands().contextHelp->setVisible(false);

    connect(commands().document, &QAction::triggered, this, &ExpenseAnalysis::onDocumentTriggered);
    connect(m_chartAction, &QAction::triggered, this, &ExpenseAnalysis::onChartTriggered);
    connect(commands().close, &QAction::triggered, this, &QDialog::reject);
}

QToolBar* ExpenseAnalysis::buildModeBar() {
    QToolBar* bar = commandBar(this, QStringLiteral("modeBar"));
    auto* label = new QLabel(QStringLiteral("Показать:"), bar);
    label->setObjectName(QStringLiteral("modeLabel"));
    m_modeBox = new QComboBox(bar);
    m_modeBox->setObjectName(QStringLiteral("modeBox"));
    m_modeBox->addItems(modeTexts());
    m_modeBox->setCurrentIndex(int(ExpenseMode::SpendingWithLimit));
    bar->addWidget(label);
    bar->addWidget(m_modeBox);
    connect(m_modeBox, &QComboBox::currentIndexChanged, this, &ExpenseAnalysis::onModeChanged);
    return bar;
}

void ExpenseAnalysis::connectSheet() {
    sheet()->onCellKeyDown = [this](int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up ||
            key == Qt::Key_Down)
            scheduleStoreLimits();
    };
    sheet()->onCellSelect = [this](int x, int y, bool&) {
        if (x != sheet()->currentCol() || y != sheet()->currentRow())
            scheduleStoreLimits();
    };
    sheet()->onCellExit = [this] { scheduleStoreLimits(); };
    sheet()->onSetCellEditText = [this](int x, int y, const QString& text) {
        takeTypedLimit(x, y, text);
    };
    sheet()->onCellDblClick = [this] { onDocumentTriggered(); };
}

void ExpenseAnalysis::execute() {
    showReportMaximized(this);
    exec();
}

bool ExpenseAnalysis::event(QEvent* event) {
    if (event->type() != QEvent::StatusTip)
        return QDialog::event(event);
    m_statusBar->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
}

ExpenseMode ExpenseAnalysis::mode() const {
    return ExpenseMode(std::max(m_modeBox->currentIndex(), 0));
}

PieChartWindow* ExpenseAnalysis::chartWindow() const {
    return m_chart;
}

void ExpenseAnalysis::rebuild() {
    layoutExpenseSheet(*sheet(), m_bookName, m_period.start, m_figures, mode());
    // The layout clears the grid's options; a limit cell the user stands on takes typing again
    // without a move first (after a refused limit, say).
    sheet()->recheckEditing();
}

void ExpenseAnalysis::scheduleStoreLimits() {
    if (m_storeScheduled)
        return;
    m_storeScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_storeScheduled = false;
            storeEditedLimits();
        },
        Qt::QueuedConnection);
}

void ExpenseAnalysis::takeTypedLimit(int x, int y, const QString& text) {
    if (sheet()->cellParam(x, y, QStringLiteral("W")) != QLatin1String("1"))
        return;
    bool isKey = false;
    const int key = sheet()->rowTag(y, QString::fromLatin1(kExpenseRowKey)).toInt(&isKey);
    if (!isKey)
        return;
    m_typedLimits.append({key, text});
    scheduleStoreLimits();
}

void ExpenseAnalysis::storeEditedLimits() {
    sheet()->commitEdit();
    if (m_typedLimits.isEmpty())
        return;
    const QList<std::pair<int, QString>> typed = std::exchange(m_typedLimits, {});
    for (const auto& [key, text] : typed)
        storeLimit(key, text);
    rebuild();
}

void ExpenseAnalysis::storeLimit(int key, const QString& text) {
    const auto line =
        std::find_if(m_figures.lines.begin(), m_figures.lines.end(),
                     [key](const ExpenseLine& candidate) { return candidate.key == key; });
    if (line == m_figures.lines.end())
        return;
    runGuarded([&] {
        const Currency limit = expenseLimitFromText(text);
        if (line->limit == limit)
            return;
        try {
            ReportData(DataStore::instance()).setExpenseLimit(key, limit, line->limit);
            line->limit = limit;
        } catch (const RowChangedElsewhere&) {
            m_figures = computeExpenseAnalysis(DataStore::instance(), m_period);
            rebuild();
            throw;
        }
    });
}

void ExpenseAnalysis::onModeChanged() {
    storeEditedLimits();
    rebuild();
}

void ExpenseAnalysis::onDocumentTriggered() {
    const int x = sheet()->currentCol();
    const int y = sheet()->currentRow();
    if (!reportlayout::isHot(*sheet(), x, y))
        return;
    const QString paymentType = sheet()->rowTag(y, QString::fromLatin1(kExpenseRowReason));
    if (paymentType.isEmpty())
        return;
    CellDocuments cell;
    cell.documentType = kIssueDocument;
    cell.paymentType = paymentType;
    cell.from = m_period.start;
    cell.to = m_period.end;
    runGuarded([&] { showCellDocuments(this, cell); });
}

void ExpenseAnalysis::onChartTriggered() {
    auto* chart =
        new PieChartWindow(this, QStringLiteral("РАСХОДЫ\n") + expenseMonthText(m_period.start),
                           expenseSlices(m_figures));
    chart->printAction()->setEnabled(commands().print->isEnabled());
    m_chart = chart;
    showReportMaximized(chart);
}
