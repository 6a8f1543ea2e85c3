#include "printing/report_output.h"

#include "core/exceptions.h"
#include "ui/guard.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace printing {

namespace {

// Keeps the preview over the window that asked for it without belonging to it: a window that
// closes takes no preview with it.
void standOver(QWidget* owner, QDialog& dialog) {
    QWindow* ownerWindow = owner ? owner->window()->windowHandle() : nullptr;
    if (!ownerWindow)
        return;
    dialog.winId();
    dialog.windowHandle()->setTransientParent(ownerWindow);
}

// The modal preview over owner of what draw puts on a printer set up for page.
void showPreview(QWidget* owner, const PageSetup& page,
                 const std::function<void(QPrinter&)>& draw) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, page);
    QPrintPreviewDialog dialog(&printer);
    dialog.setObjectName(QStringLiteral("reportPreview"));
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [draw](QPrinter* target) { runGuarded([&] { draw(*target); }); });
    standOver(owner, dialog);
    dialog.setWindowState(Qt::WindowMaximized);
    dialog.exec();
}

// A printer that writes the PDF file at path, set up for page.
void setUpPdfPrinter(QPrinter& printer, const PageSetup& page, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUpPrinter(printer, page);
}

} // namespace

QPrinterInfo defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw Exception(QStringLiteral(
            "Принтер по умолчанию не найден. Установите принтер в системе и повторите печать."));
    return info;
}

DisplayList printOnDefaultPrinter(const Report& report, const ReportData& data) {
    QPrinter printer(defaultPrinter(), QPrinter::HighResolution);
    setUpPrinter(printer, report.page);
    return renderReport(report, data, printer);
}

DisplayList printToPdf(const Report& report, const ReportData& data, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, report.page, path);
    return renderReport(report, data, printer);
}

void previewReport(QWidget* owner, const Report& report, const ReportData& data) {
    showPreview(owner, report.page,
                [report, data](QPrinter& target) { renderReport(report, data, target); });
}

void printPageToPdf(const PaintedPage& page, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, page.page, path);
    renderPaintedPage(page, printer);
}

void previewPage(QWidget* owner, const PaintedPage& page) {
    showPreview(owner, page.page, [page](QPrinter& target) { renderPaintedPage(page, target); });
}

} // namespace printing
