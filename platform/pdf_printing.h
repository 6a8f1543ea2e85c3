#pragma once

#include <QString>

class QPrinter;

// Prints the PDF file on printer, one printer page per page of the file: each page drawn as an
// image at the printer's resolution (at most 600 dots per inch), scaled to the printer's page
// with its proportions kept. The printer takes the size and orientation of the file's first
// page and prints on the whole sheet (the pages of the file have their margins). Throws
// Exception when the file cannot be read or the printer cannot print.
void printPdf(const QString& pdfPath, QPrinter& printer);
