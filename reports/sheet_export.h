#pragma once

#include "reports/sheet_range.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class SheetGrid;
class WorkFolder;

// A rectangle of a sheet copied into a spreadsheet workbook (.xlsx) with its column widths,
// borders, alignment, number formats, values and wrap, then shown to the user in LibreOffice.

// Where a workbook goes once written: the work folder it lies in and its path there.
using WorkbookOpener = std::function<void(std::unique_ptr<WorkFolder> folder, const QString& path)>;

// LibreOffice opened on the workbook as a new untitled document, which the user saves where
// they like; the folder goes when LibreOffice ends. A LibreOffice that ends with an error is
// told then, in one sentence that names the workbook's file.
void openAsNewSpreadsheet(std::unique_ptr<WorkFolder> folder, const QString& path);

// The name of the sheet for a title: "[" and "]" become "(" and ")", the characters no sheet
// name may hold (: * ? / \) go, and so do apostrophes at its ends; cut to 31 characters. An
// empty one becomes "Лист1".
QString spreadsheetSheetName(const QString& title);

// Without a LibreOffice that shows windows, a warning and nothing more. Else, under a progress
// window over owner that counts the cells, every cell of range that exists goes to the same
// row and column of a workbook in a work folder of its own, on the one sheet named after
// title; then open takes the workbook. Raises "Не могу создать документ. :(" when the file
// cannot be made, and the failure's own message for any other.
void exportSheet(QWidget* owner, const SheetGrid& sheet, const SheetRange& range,
                 const QString& title, const WorkbookOpener& open = openAsNewSpreadsheet);
