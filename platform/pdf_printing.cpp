#include "platform/pdf_printing.h"

#include "core/exceptions.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <memory>
#include <poppler-qt6.h>

namespace {

// An A4 page drawn finer than this takes hundreds of megabytes and adds nothing to print.
const int kMaxDotsPerInch = 600;

std::unique_ptr<Poppler::Document> loadPdf(const QString& path) {
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->isLocked() || !document->page(0))
        throw Exception(QStringLiteral("Не удалось прочитать файл PDF %1").arg(path));
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    return document;
}

QString printerTitle(const QPrinter& printer) {
    return printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
}

Exception printError(const QPrinter& printer) {
    return Exception(
        QStringLiteral("Не удалось напечатать документ на принтере %1").arg(printerTitle(printer)));
}

// The printer's page as a page of the file of size (in points): its size, its orientation.
void takePageOf(QPrinter& printer, const QSizeF& size) {
    const bool landscape = size.width() > size.height();
    const QSizeF portrait = landscape ? size.transposed() : size;
    printer.setPageSize(QPageSize(portrait, QPageSize::Point, QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
}

// The page image scaled into target with its proportions kept, centred.
QRectF fittedRect(const QSizeF& image, const QRectF& target) {
    const QSizeF size = image.scaled(target.size(), Qt::KeepAspectRatio);
    return QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void drawPage(QPainter& painter, const Poppler::Document& document, int index, int dotsPerInch,
              const QRectF& target) {
    const std::unique_ptr<Poppler::Page> page = document.page(index);
    const QImage image = page ? page->renderToImage(dotsPerInch, dotsPerInch) : QImage();
    if (image.isNull())
        throw Exception(QStringLiteral("Не удалось подготовить к печати страницу %1 документа PDF")
                            .arg(index + 1));
    painter.drawImage(fittedRect(image.size(), target), image);
}

void drawPages(QPainter& painter, QPrinter& printer, const Poppler::Document& document) {
    const int dotsPerInch = qMin(printer.resolution(), kMaxDotsPerInch);
    const QRectF target(0, 0, printer.width(), printer.height());
    for (int i = 0; i < document.numPages(); ++i) {
        if (i > 0 && !printer.newPage())
            throw printError(printer);
        drawPage(painter, document, i, dotsPerInch, target);
    }
}

} // namespace

void printPdf(const QString& pdfPath, QPrinter& printer) {
    const std::unique_ptr<Poppler::Document> document = loadPdf(pdfPath);
    takePageOf(printer, document->page(0)->pageSizeF());
    QPainter painter;
    if (!painter.begin(&printer))
        throw printError(printer);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    try {
        drawPages(painter, printer, *document);
    } catch (const Exception&) {
        printer.abort();
        throw;
    }
    if (!painter.end())
        throw printError(printer);
}
