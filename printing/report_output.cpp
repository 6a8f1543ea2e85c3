#include "printing/report_output.h"

#include "core/exceptions.h"
#include "ui/guard.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <QWindow>

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
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUpPrinter(printer, report.page);
    return renderReport(report, data, printer);
}

void previewReport(QWidget* owner, const Report& report, const ReportData& data) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, report.page);
    QPrintPreviewDialog dialog(&printer);
    dialog.setObjectName(QStringLiteral("reportPreview"));
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [report, data](QPrinter* target) {
                         runGuarded([&] { renderReport(report, data, *target); });
                     });
    standOver(owner, dialog);
    dialog.setWindowState(Qt::WindowMaximized);
    dialog.exec();
}

} // namespace printing
