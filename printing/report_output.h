#pragma once

#include "printing/report.h"
#include "printing/report_renderer.h"

#include <QString>

// The ways a report leaves the program.
// Each raises an exception with the message for the user when the printer or the file fails.
namespace printing {

// Writes the report to a PDF file at path.
DisplayList printToPdf(const Report& report, const ReportData& data, const QString& path);

} // namespace printing
