#include "printing/report_output.h"

#include "core/exceptions.h"

#include <QPrinter>

namespace printing {

DisplayList printToPdf(const Report& report, const ReportData& data, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUpPrinter(printer, report.page);
    return renderReport(report, data, printer);
}

} // namespace printing
