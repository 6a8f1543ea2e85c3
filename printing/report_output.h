#pragma once

#include "printing/report.h"
#include "printing/report_renderer.h"

#include <QPrinterInfo>
#include <QString>

class QWidget;

// The ways a report leaves the program: on paper, as a PDF file, or in a preview window.
// Each raises an exception with the message for the user when the printer or the file fails.
namespace printing {

// The system's default printer; Exception with the user's message when there is none.
QPrinterInfo defaultPrinter();

// Prints on the system's default printer.
DisplayList printOnDefaultPrinter(const Report& report, const ReportData& data);

// Writes the report to a PDF file at path.
DisplayList printToPdf(const Report& report, const ReportData& data, const QString& path);

// Shows the report in a modal preview window over owner's window, from which the user may print
// it. The window keeps its own copy of the report and draws it anew whenever it asks, so the
// owner may close meanwhile.
void previewReport(QWidget* owner, const Report& report, const ReportData& data);

// A page drawn by a function as a PDF file at path, and in the preview.
void printPageToPdf(const PaintedPage& page, const QString& path);
void previewPage(QWidget* owner, const PaintedPage& page);

} // namespace printing
