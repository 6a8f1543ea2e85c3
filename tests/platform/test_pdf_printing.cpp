#include "platform/pdf_printing.h"

#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <poppler-qt6.h>

using testsupport::messageOf;
using testsupport::writeFile;

namespace {

// A PDF file of A5 pages, one per letter of orientations ('P' portrait, 'L' landscape), each
// with the left half of the page black.
void writeHalfBlackPages(const QString& path, const QString& orientations) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A5));
    writer.setPageMargins(QMarginsF());
    QPainter painter;
    for (int i = 0; i < orientations.size(); ++i) {
        writer.setPageOrientation(orientations[i] == u'L' ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
        if (i == 0)
            QVERIFY(painter.begin(&writer));
        else
            QVERIFY(writer.newPage());
        const QRect page = writer.pageLayout().fullRectPixels(writer.resolution());
        painter.fillRect(QRect(0, 0, page.width() / 2, page.height()), Qt::black);
    }
    QVERIFY(painter.end());
}

bool isDark(const QImage& image, double x, double y) {
    return qGray(image.pixel(int(x * image.width()), int(y * image.height()))) < 100;
}

// Where a page of the file shows on a printed page: its left half black, its proportions kept.
// points: (x, y, dark) as fractions of the printed page.
using Samples = QList<std::tuple<double, double, bool>>;

Samples expectedSamples(bool pageLandscape, bool paperLandscape) {
    if (pageLandscape == paperLandscape)
        return {{0.05, 0.5, true}, {0.45, 0.5, true}, {0.55, 0.5, false}, {0.95, 0.5, false}};
    // A5 on A5 turned: the page, scaled to the paper's shorter side, takes about half of its
    // longer side, centred.
    if (paperLandscape)
        return {{0.1, 0.5, false},
                {0.3, 0.5, true},
                {0.45, 0.5, true},
                {0.55, 0.5, false},
                {0.9, 0.5, false}};
    return {{0.25, 0.1, false}, {0.25, 0.5, true}, {0.75, 0.5, false}, {0.25, 0.9, false}};
}

} // namespace

// PDF files printed page by page as images, here to a PDF printer.
class TestPdfPrinting : public QObject {
    Q_OBJECT
private slots:
    // One printed page per page of the file, on paper of the size and orientation of its first
    // page; each page drawn whole and in proportion.
    void pagesPrintedInProportion_data() {
        QTest::addColumn<QString>("orientations");
        QTest::newRow("one portrait page") << "P";
        QTest::newRow("three portrait pages") << "PPP";
        QTest::newRow("landscape, then portrait") << "LP";
        QTest::newRow("portrait, then landscape") << "PL";
    }
    void pagesPrintedInProportion() {
        QFETCH(QString, orientations);
        QTemporaryDir dir;
        const QString source = dir.filePath("source.pdf");
        writeHalfBlackPages(source, orientations);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A3));

        printPdf(source, printer);

        const std::unique_ptr<Poppler::Document> printed =
            Poppler::Document::load(dir.filePath("printed.pdf"));
        QVERIFY(printed);
        QCOMPARE(printed->numPages(), orientations.size());
        const bool paperLandscape = orientations[0] == u'L';
        const QSizeF a5 = QPageSize(QPageSize::A5).size(QPageSize::Point);
        for (int i = 0; i < printed->numPages(); ++i) {
            const std::unique_ptr<Poppler::Page> page = printed->page(i);
            const QSizeF size = page->pageSizeF();
            const QSizeF paper = paperLandscape ? a5.transposed() : a5;
            QVERIFY2(qAbs(size.width() - paper.width()) < 2 &&
                         qAbs(size.height() - paper.height()) < 2,
                     qPrintable(QStringLiteral("page %1: %2 x %3")
                                    .arg(i)
                                    .arg(size.width())
                                    .arg(size.height())));
            const QImage image = page->renderToImage(36, 36);
            for (const auto& [x, y, dark] :
                 expectedSamples(orientations[i] == u'L', paperLandscape))
                QVERIFY2(isDark(image, x, y) == dark,
                         qPrintable(QStringLiteral("page %1 at %2, %3").arg(i).arg(x).arg(y)));
        }
    }

    // A file that is no readable PDF and a printer that cannot print are told.
    void failuresTold_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("told");
        QTest::newRow("no file") << "missing.pdf"
                                 << "printed.pdf"
                                 << "Не удалось прочитать файл PDF %1/missing.pdf";
        QTest::newRow("not a PDF") << "text.pdf"
                                   << "printed.pdf"
                                   << "Не удалось прочитать файл PDF %1/text.pdf";
        QTest::newRow("printer cannot start")
            << "source.pdf"
            << "missing/printed.pdf"
            << "Не удалось напечатать документ на принтере %1/missing/printed.pdf";
    }
    void failuresTold() {
        QFETCH(QString, source);
        QFETCH(QString, output);
        QFETCH(QString, told);
        QTemporaryDir dir;
        writeHalfBlackPages(dir.filePath("source.pdf"), "P");
        writeFile(dir.filePath("text.pdf"), "no PDF");
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(output));

        QCOMPARE(messageOf([&] { printPdf(dir.filePath(source), printer); }), told.arg(dir.path()));
    }
};

QTEST_MAIN(TestPdfPrinting)
#include "test_pdf_printing.moc"
