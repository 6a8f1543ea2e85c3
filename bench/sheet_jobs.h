#pragma once

#include <QString>

// The report sheet's jobs: a stored sheet of 20 000 and of 40 000 rows loaded into a report sheet
// and its visible part painted, beside a bare reading of the same text.
void runSheetJobs(int runs);

// The export job: the 20 000-row sheet written to an .xlsx workbook by the export (LibreOffice
// not started), beside a bare loop of the spreadsheet library writing the same cells, formats
// and widths.
void runExportJob(int runs);

// The bare reading of a stored sheet text (cut into commands, escapes and numbers decoded, each
// cell kept): the number of cells it holds.
int bareSheetCells(const QString& text);
