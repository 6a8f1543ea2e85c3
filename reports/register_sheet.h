#pragma once

#include "reports/report_figures.h"
#include "shell/period.h"

#include <optional>

class ReportSheet;

// The sheet of the register of documents: a heading (title, the owner's name, the period), then
// the incoming and the outgoing documents, each section with its title, its head row, one row
// per document numbered from 1 and its total (written even when 0). Rows carry their role as a
// tag of column 0 ("ROW_INCOME", "ROW_ISSUE", ...) and a document row the document's key
// ("ROW_DOC_PRKEY") and type ("ROW_DOCTYPE"); columns their role as a tag of row 0. The number,
// date, document number, amount and partner cells of a document row are hot.
void fillRegisterSheet(ReportSheet& sheet, const RegisterFigures& figures, const Period& period);

// The document behind a cell of the register sheet.
struct RegisterCellDocument {
    int type = 0; // OPER.TYP
    int key = 0;  // OPER.PRKEY
};

// The document of the row of cell (x, y) when the cell is hot; none for any other cell.
std::optional<RegisterCellDocument> registerCellDocument(const ReportSheet& sheet, int x, int y);
