#pragma once

struct CellDocuments;
class QWidget;

// The drill-down of the reports: the documents behind a hot cell listed in a pick dialog owned
// by the report window (date, number, partner, amount); picking one closes the list and opens
// the document in its own window.
void showCellDocuments(QWidget* reportWindow, const CellDocuments& cell);

// Opens the document key of OPER.TYP type (1 income, 2 issue) in the window of its kind for the
// open book (a bank account or a cash desk). Another type or book kind opens nothing.
void openReportDocument(int type, int key);
