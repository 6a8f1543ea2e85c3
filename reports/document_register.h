#pragma once

#include "reports/report_figures.h"
#include "reports/report_window.h"
#include "shell/period.h"

#include <optional>

class ReportSheet;

// The sheet of the register of documents: a heading (title, the owner's name, the period), then
// the incoming and the outgoing documents, each section with its title, its head row, one row
// per document numbered from 1 and its total (written even when 0).
//
// Rows carry their role as a tag of column 0: ROW_TITLE, ROW_HEADER1, ROW_HEADER2, an empty row,
// ROW_INCOME_TITLE, ROW_INCOME_HEAD, ROW_INCOME per document, ROW_INCOME_TOTAL, an empty row,
// then the same with ROW_ISSUE_...; a document row also carries the document's key
// (ROW_DOC_PRKEY) and type (ROW_DOCTYPE), an outgoing one its date (ROW_DOCDATE). Columns carry
// theirs as a tag of row 0: COL_NO, COL_DOC_DATE, COL_DOC_NUM, COL_DOC_SUM, COL_DOC_PART,
// COL_DOC_TYPEPAY. The number, date, document number, amount and partner cells of a document row
// are hot.
void layoutDocumentRegister(ReportSheet& sheet, const RegisterFigures& figures,
                            const Period& period);

// The document behind a cell of the register sheet.
struct RegisterCellDocument {
    int type = 0; // OPER.TYP
    int key = 0;  // OPER.PRKEY
};

// The document of the row of cell (x, y) when the cell is hot; none for any other cell.
std::optional<RegisterCellDocument> registerCellDocument(const ReportSheet& sheet, int x, int y);

// The register of documents, "Реестр документов" (type 104): every incoming and outgoing
// document of a period, computed when it opens and on "Пересчитать" (F5) for the same period,
// printed and exported, never stored. It stands beside the main window: parentless, maximized,
// with its own task-bar button, listed among the document windows, freed when closed, and its
// closing tells no browser. A hot cell ("Документ", a double click) opens its document in the
// window of its kind for the book; a document of another type is reported as unknown.
// Rights word "ReestrDocs": 6 "Пересчитать", 7 "Печать", 8 "Экспорт"; "Сохранить", "Удалить",
// "Справка" and "Что это?" are hidden.
class DocumentRegister : public ReportWindow {
    Q_OBJECT
public:
    DocumentRegister();

    // Creates the register and runs showReport; the window shown, or none when the period was
    // not confirmed (nothing is left of it). An error of the first computation passes on, the
    // window freed.
    static DocumentRegister* open();

    // The rights, then the period dialog "Период отчёта" on the current month; on OK the sheet
    // computed for the whole days chosen and the window shown. False when cancelled: the window
    // is not shown and stays the caller's to free.
    bool showReport();

protected:
    int reportType() const override { return kDocumentRegisterType; }
    void recalc() override;
    void viewDocument() override;
    void initRights() override;
};
