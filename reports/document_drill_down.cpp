#include "reports/document_drill_down.h"

#include "documents/document_window.h"
#include "platform/firebird/data_set.h"
#include "store/book_kind.h"
#include "store/cash_documents.h"
#include "store/data_store.h"
#include "store/report_data.h"
#include "ui/data_grid.h"
#include "ui/pick_dialog.h"

namespace {

// In the window's own background colour.
const QList<GridColumn>& cellDocumentColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("DAT"), Qt::AlignLeft, QStringLiteral("Дата"), 80},
        {QStringLiteral("NUM"), Qt::AlignLeft, QStringLiteral("№ докум"), 80},
        {QStringLiteral("LNAM"), Qt::AlignLeft, QStringLiteral("От кого/кому"), 250},
        {QStringLiteral("SUM1"), Qt::AlignRight, QStringLiteral("Сумма"), 80},
    };
    return columns;
}

} // namespace

void showCellDocuments(QWidget* reportWindow, const CellDocuments& cell) {
    auto* dialog = PickDialog::create(DataStore::instance().database(), reportWindow);
    dialog->setCloseOnPick(true);
    ReportData::selectCellDocuments(dialog->query(), cell);
    dialog->query().open();
    setGridColumns(*dialog->grid(), cellDocumentColumns());
    dialog->execute(
        [dialog] {
            fb::DataSet& row = dialog->query();
            openReportDocument(int(row.field(QStringLiteral("TYP")).asInteger()),
                               int(row.field(QStringLiteral("PRKEY")).asInteger()));
        },
        {});
}

void openReportDocument(int type, int key) {
    const int owner = ownerType(DataStore::instance());
    if ((type != kIncomeDocument && type != kIssueDocument) || (owner != 0 && owner != 1))
        return;
    DocumentWindow::openExisting(documentKindOf(type, owner), key);
}
