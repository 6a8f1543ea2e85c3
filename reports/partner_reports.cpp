#include "reports/partner_reports.h"

#include "reports/document_drill_down.h"
#include "reports/report_layout.h"
#include "reports/report_sheet.h"
#include "store/book_options.h"
#include "store/cash_documents.h"
#include "store/data_store.h"
#include "store/sheet_print_settings.h"
#include "ui/data_grid.h"

using namespace reportlayout;

const PartnerReportKind PayersReport::kKind = {kPayersReportType,
                                               kIncomeDocument,
                                               "Плательщики",
                                               "Плательщики по ",
                                               "Плательщик",
                                               "Приход",
                                               kIncomeColumn,
                                               kIncomeTotalColumn,
                                               "PayersReport",
                                               kPayersReportWindow,
                                               "TfrmPayersReportBrowser"};
const PartnerReportKind RecipientsReport::kKind = {kRecipientsReportType,
                                                   kIssueDocument,
                                                   "Получатели платежей",
                                                   "Получатели платежей по ",
                                                   "Получатель платежей",
                                                   "Расход",
                                                   kIssueColumn,
                                                   kIssueTotalColumn,
                                                   "AcceptorsReport",
                                                   kAcceptorsReportWindow,
                                                   "TfrmAcceptorsReportBrowser"};

namespace {

const QString kNameRowTag = QStringLiteral("ROW_NAME_ID");

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

void layoutPartnerReport(ReportSheet& sheet, const PartnerReportKind& kind,
                         const PartnerFigures& figures, const Period& period,
                         const QString& bookName) {
    sheet.beginUpdate();
    startLayout(sheet);
    const int titleRow = sheet.nextRow();
    markRow(sheet, titleRow, QStringLiteral("ROW_TITLE"));
    const int captionRow = sheet.nextRow();
    markRow(sheet, captionRow, QStringLiteral("ROW_CAPTION"));
    const int headerRow = sheet.nextRow();
    markRow(sheet, headerRow, QStringLiteral("ROW_HEADER"));
    const int nameColumn = sheet.nextCol();
    markColumn(sheet, nameColumn, QStringLiteral("COL_NAME"));
    sheet.setCellString(nameColumn, titleRow,
                        periodTitle(text(kind.titlePrefix), bookName, period.start));
    boxColumn(sheet, nameColumn, captionRow, headerRow, text(kind.nameCaption), QString());

    const int firstType =
        addColumnGroup(sheet, captionRow, headerRow,
                       {text(kind.groupCaption), QString(), figures.types,
                        QString::fromLatin1(kind.reasonId), QString::fromLatin1(kind.totalId)});
    const int totalColumn = firstType + int(figures.types.size());

    int y = sheet.nextRow();
    for (const PartnerRow& row : figures.rows) {
        writeRowAmounts(sheet, firstType, totalColumn, y, row.amounts, kNameRowTag, row.name);
        sheet.setCellString(nameColumn, y, row.name);
        y = sheet.nextRow();
    }

    const int totalRow = y;
    markRow(sheet, totalRow, QStringLiteral("ROW_TOTAL"));
    sheet.setCellString(nameColumn, totalRow, QStringLiteral("И Т О Г О :"));
    writeTotals(sheet, firstType, totalColumn, totalRow, figures.totals);

    thinBorders(sheet, 0, headerRow + 1, totalColumn, totalRow - 1);
    finishLayout(sheet, headerRow, 80);
    sheet.setColWidth(nameColumn, 250);
    sheet.endUpdate();
}

std::optional<CellDocuments> partnerCellDocuments(const ReportSheet& sheet, int x, int y,
                                                  const Period& period) {
    if (!isHot(sheet, x, y))
        return std::nullopt;
    const QString name = sheet.rowTag(y, kNameRowTag);
    const int type = documentTypeOfColumn(sheet, x);
    if (name.isEmpty() || type == 0)
        return std::nullopt;
    return CellDocuments{type, sheet.columnTag(x, QString::fromLatin1(kColumnReason)),
                         datetime::dateOf(period.start), datetime::endOfDay(period.end), name};
}

// ---- The windows ----

PartnerReport::PartnerReport(const PartnerReportKind& kind)
    : ReportWindow(text(kind.caption), QString::fromLatin1(kind.printSettingsKey)), m_kind(kind) {}

void PartnerReport::initRights() {
    applyReportRights(QString::fromLatin1(m_kind.rightsWord));
}

void PartnerReport::recalc() {
    DataStore& store = DataStore::instance();
    const PartnerFigures figures = m_kind.documentType == kIncomeDocument
                                       ? computePayers(store, reportPeriod())
                                       : computeRecipients(store, reportPeriod());
    layoutPartnerReport(*sheet(), m_kind, figures, reportPeriod(),
                        BookOptions(store).storeCaption());
    m_grandTotal = figures.totals.total;
}

void PartnerReport::storeGrid(StoredReport& report) {
    ReportWindow::storeGrid(report);
    if (m_grandTotal)
        report.closingFigure = *m_grandTotal;
}

void PartnerReport::viewDocument() {
    if (const std::optional<CellDocuments> cell = partnerCellDocuments(
            *sheet(), sheet()->currentCol(), sheet()->currentRow(), reportPeriod()))
        showCellDocuments(this, *cell);
}

// ---- The browsers ----

PartnerReportBrowser::PartnerReportBrowser(const PartnerReportKind& kind, QWidget* owner)
    : ReportBrowser(owner), m_kind(kind) {
    setWindowTitle(text(kind.caption));
    setMonthDates(true);
    setGridColumns(*grid(), {{"DAT", Qt::AlignLeft, "Дата", 150, {}, Qt::AlignHCenter},
                             {"SUM2", Qt::AlignRight, "Сумма", 120, {}, Qt::AlignHCenter}});
}

void PartnerReportBrowser::prepare() {
    ReportBrowser::prepare();
    enableNewByRights(QString::fromLatin1(m_kind.rightsWord));
}
