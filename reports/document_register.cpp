#include "reports/document_register.h"

#include "reports/document_drill_down.h"
#include "reports/report_layout.h"
#include "reports/report_sheet.h"
#include "shell/main_window_base.h"
#include "shell/period_dialog.h"
#include "store/cash_documents.h"
#include "store/data_store.h"
#include "store/sheet_print_settings.h"
#include "ui/message_box.h"

#include <QAction>

#include <memory>

namespace {

using reportlayout::dayText;
using reportlayout::markRow;
using reportlayout::writeAmount;

const QString kCaption = QStringLiteral("Реестр документов");
const QString kYes = QStringLiteral("Y");
const QString kDocumentKey = QStringLiteral("ROW_DOC_PRKEY");
const QString kDocumentType = QStringLiteral("ROW_DOCTYPE");
Currency wholeNumber(int value) {
    return Currency{qint64(value) * Currency::kScale};
}

// The columns of the sheet in their order, with their tags, captions and widths.
struct RegisterColumn {
    QString tag;
    QString incomeCaption;
    QString issueCaption;
    int width = 0;
};

enum Column { ColNo, ColDocDate, ColDocNum, ColDocSum, ColDocPart, ColDocTypePay, ColumnCount };

const RegisterColumn kColumns[ColumnCount] = {
    {QStringLiteral("COL_NO"), QStringLiteral("№"), QStringLiteral("№"), 40},
    {QStringLiteral("COL_DOC_DATE"), QStringLiteral("Дата докум."), QStringLiteral("Дата докум."),
     80},
    {QStringLiteral("COL_DOC_NUM"), QStringLiteral("№ докум."), QStringLiteral("№ докум."), 80},
    {QStringLiteral("COL_DOC_SUM"), QStringLiteral("Сумма"), QStringLiteral("Сумма"), 120},
    {QStringLiteral("COL_DOC_PART"), QStringLiteral("От кого"), QStringLiteral("Кому"), 350},
    {QStringLiteral("COL_DOC_TYPEPAY"), QStringLiteral("Тип платежа"),
     QStringLiteral("Тип платежа"), 350},
};

// The row tags and texts of one section.
struct RegisterSectionTags {
    QString title;     // the role of the title row
    QString titleText; // its text
    QString head;      // the role of the head row
    QString document;  // the role of a document row
    QString total;     // the role of the total row
    QString totalText; // its text
    bool issue = false;
};

const RegisterSectionTags kIncomeTags = {
    QStringLiteral("ROW_INCOME_TITLE"),
    QStringLiteral("ПРИХОД"),
    QStringLiteral("ROW_INCOME_HEAD"),
    QStringLiteral("ROW_INCOME"),
    QStringLiteral("ROW_INCOME_TOTAL"),
    QStringLiteral("ИТОГО ПРИХОД"),
    false,
};

const RegisterSectionTags kIssueTags = {
    QStringLiteral("ROW_ISSUE_TITLE"),
    QStringLiteral("РАСХОД"),
    QStringLiteral("ROW_ISSUE_HEAD"),
    QStringLiteral("ROW_ISSUE"),
    QStringLiteral("ROW_ISSUE_TOTAL"),
    QStringLiteral("ИТОГО РАСХОД"),
    true,
};

void writeHeadRow(ReportSheet& sheet, int y, bool issue) {
    for (int x = 0; x < ColumnCount; ++x) {
        const RegisterColumn& column = kColumns[x];
        sheet.setCellString(x, y, issue ? column.issueCaption : column.incomeCaption);
        sheet.setCellBorders(x, y, 1, 1, 1, 1);
    }
}

void writeDocumentRow(ReportSheet& sheet, int y, int number, const RegisterDocument& document,
                      const RegisterSectionTags& tags) {
    QStringList keys = {tags.document, kDocumentKey, kDocumentType};
    QStringList values = {kYes, QString::number(document.key), QString::number(document.type)};
    if (tags.issue) {
        keys.append(QStringLiteral("ROW_DOCDATE"));
        values.append(dayText(document.date));
    }
    sheet.setRowTags(y, keys, values);
    sheet.setCellAmount(ColNo, y, wholeNumber(number), QStringLiteral("#"), CellAlignment::Left);
    sheet.setCellString(ColDocDate, y, dayText(document.date));
    sheet.setCellString(ColDocNum, y, document.number);
    writeAmount(sheet, ColDocSum, y, document.amount);
    sheet.setCellString(ColDocPart, y, document.partner);
    sheet.setCellString(ColDocTypePay, y, document.paymentType);
    for (int x : {ColNo, ColDocPart, ColDocNum, ColDocDate, ColDocSum})
        reportlayout::markHot(sheet, x, y);
}

void writeSection(ReportSheet& sheet, const RegisterSection& section,
                  const RegisterSectionTags& tags) {
    sheet.nextRow(); // an empty row before the section
    const int titleRow = sheet.nextRow();
    markRow(sheet, titleRow, tags.title);
    sheet.setCellString(ColNo, titleRow, tags.titleText);
    const int headRow = sheet.nextRow();
    markRow(sheet, headRow, tags.head);
    writeHeadRow(sheet, headRow, tags.issue);
    int number = 0;
    for (const RegisterDocument& document : section.documents)
        writeDocumentRow(sheet, sheet.nextRow(), ++number, document, tags);
    const int totalRow = sheet.nextRow();
    markRow(sheet, totalRow, tags.total);
    sheet.setCellString(ColNo, totalRow, tags.totalText);
    writeAmount(sheet, ColDocSum, totalRow, section.total);
    for (int x = 0; x < ColumnCount; ++x)
        sheet.setCellBorders(x, totalRow, -1, -1, 1, -1);
}

void writeHeading(ReportSheet& sheet, const RegisterFigures& figures, const Period& period) {
    const int titleRow = sheet.nextRow();
    const int header1Row = sheet.nextRow();
    const int header2Row = sheet.nextRow();
    markRow(sheet, titleRow, QStringLiteral("ROW_TITLE"));
    markRow(sheet, header1Row, QStringLiteral("ROW_HEADER1"));
    markRow(sheet, header2Row, QStringLiteral("ROW_HEADER2"));
    for (int x = 0; x < ColumnCount; ++x)
        reportlayout::markColumn(sheet, sheet.nextCol(), kColumns[x].tag);
    sheet.setCellString(ColNo, titleRow, kCaption);
    sheet.setCellString(ColNo, header1Row, figures.ownerName);
    sheet.setCellString(ColNo, header2Row,
                        QStringLiteral("за период с ") + dayText(period.start) +
                            QStringLiteral(" по ") + dayText(period.end));
}

} // namespace

void layoutDocumentRegister(ReportSheet& sheet, const RegisterFigures& figures,
                            const Period& period) {
    sheet.beginUpdate();
    reportlayout::startLayout(sheet);
    writeHeading(sheet, figures, period);
    writeSection(sheet, figures.incoming, kIncomeTags);
    writeSection(sheet, figures.outgoing, kIssueTags);
    reportlayout::fitGridToCells(sheet);
    for (int x = 0; x < ColumnCount; ++x)
        sheet.setColWidth(x, kColumns[x].width);
    sheet.endUpdate();
}

std::optional<RegisterCellDocument> registerCellDocument(const ReportSheet& sheet, int x, int y) {
    if (!reportlayout::isHot(sheet, x, y))
        return std::nullopt;
    bool typeRead = false;
    bool keyRead = false;
    const RegisterCellDocument document{sheet.rowTag(y, kDocumentType).toInt(&typeRead),
                                        sheet.rowTag(y, kDocumentKey).toInt(&keyRead)};
    if (!typeRead || !keyRead)
        return std::nullopt;
    return document;
}

// ---- The window ----

DocumentRegister::DocumentRegister()
    : ReportWindow(kCaption, QString::fromLatin1(kDocumentRegisterWindow)) {}

DocumentRegister* DocumentRegister::open() {
    auto window = std::make_unique<DocumentRegister>();
    if (!window->showReport())
        return nullptr;
    return window.release();
}

bool DocumentRegister::showReport() {
    initRights();
    Period period = proposedReportPeriod(std::nullopt, datetime::now());
    if (!PeriodDialog::execute(MainWindowBase::current(), QStringLiteral("Период отчёта"), period))
        return false;
    setReportPeriod({datetime::dateOf(period.start), datetime::endOfDay(period.end)});
    recalc();
    showModeless();
    return true;
}

void DocumentRegister::initRights() {
    for (QAction* hidden : {saveAction(), deleteAction(), helpAction(), contextHelpAction()})
        hidden->setVisible(false);
    applyReportRights(QStringLiteral("ReestrDocs"));
}

void DocumentRegister::recalc() {
    layoutDocumentRegister(*sheet(), computeRegister(DataStore::instance(), reportPeriod()),
                           reportPeriod());
}

void DocumentRegister::viewDocument() {
    const std::optional<RegisterCellDocument> document =
        registerCellDocument(*sheet(), sheet()->currentCol(), sheet()->currentRow());
    if (!document)
        return;
    if (document->type != kIncomeDocument && document->type != kIssueDocument) {
        dialogs::showMessage(QStringLiteral("Неизвестный документ!"));
        return;
    }
    openReportDocument(document->type, document->key);
}
