#include "core/exceptions.h"
#include "printing/report.h"
#include "printing/report_fonts.h"
#include "printing/report_output.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/ui/dialog_recorder.h"
#include "ui/guard.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace printing;

namespace {

const QString kPurpose = QStringLiteral("Оплата по договору поставки № 15 от 3 марта за "
                                        "канцелярские товары, бумагу и картриджи для принтеров");

FontSpec font(const QString& family, double size) {
    FontSpec spec;
    spec.family = family;
    spec.pointSize = size;
    return spec;
}

// A sheet of payments: a title, a detail band printed three times whose copy number and memo
// the run fills in, and a summary with a wrapping memo; texts in both families.
Report sampleReport(double detailHeight, Orientation orientation = Orientation::Portrait) {
    Report report;
    report.page.orientation = orientation;
    const double width = report.page.contentRect().width();
    FontSpec titleFont = font("Arial", 14);
    titleFont.bold = true;
    report.title.height = 20;
    report.title.elements << label({0, 0, width, 10}, "ВЕДОМОСТЬ", titleFont,
                                   HorizontalAlign::Center)
                          << dataText({0, 10, width, 8}, "NUM", font("Times New Roman", 12),
                                      HorizontalAlign::Center);

    Element copy = label({5, 3, 60, 7}, QString(), font("Times New Roman", 11));
    copy.name = "copy";
    Element purposes = memo({5, 12, 80, 18}, "Основание:", font("Times New Roman", 10));
    purposes.name = "purposes";
    report.detail.height = detailHeight;
    report.detail.elements << frame({0, 0, width, detailHeight - 2}, Sides{}, 0.3) << copy
                           << purposes
                           << dataText({100, 3, 40, 7}, "SUM", font("Arial", 10),
                                       HorizontalAlign::Right)
                           << frame({100, 2, 40, 9}, Sides{false, true, false, true})
                           << line({5, 32}, {width - 5, 32});
    report.detailCount = 3;

    FontSpec totalFont = font("Arial", 10);
    totalFont.underline = true;
    FontSpec noteFont = font("Times New Roman", 10);
    noteFont.italic = true;
    report.summary.height = 30;
    report.summary.elements << label({0, 0, 40, 7}, "Итого:", totalFont)
                            << memo({0, 8, 70, 20}, kPurpose, noteFont);
    return report;
}

// The run's data: the copy number goes into its label and a line is appended to the memo of
// each detail band, as a form does before the band prints.
ReportData sampleData() {
    ReportData data;
    data.fields = {{"NUM", "№ 17"}, {"SUM", "1 250,00"}};
    data.beforeDetail = [](int index, Band& band) {
        band.find("copy")->text = QStringLiteral("Экземпляр %1").arg(index + 1);
        band.find("purposes")->text += QStringLiteral("\nЗа бумагу");
    };
    return data;
}

QStringList textsOf(const DisplayList& drawn) {
    QStringList texts;
    for (const DrawnItem& item : drawn) {
        if (item.kind != ElementKind::Line && item.kind != ElementKind::Frame)
            texts << item.text;
    }
    return texts;
}

// The items of a kind that lie inside within.
DisplayList itemsOf(const DisplayList& drawn, ElementKind kind, const QRectF& within) {
    const double e = 1e-6;
    DisplayList found;
    for (const DrawnItem& item : drawn) {
        const QRectF r = item.rect.normalized();
        if (item.kind == kind && r.left() > within.left() - e && r.top() > within.top() - e &&
            r.right() < within.right() + e && r.bottom() < within.bottom() + e)
            found << item;
    }
    return found;
}

// The first item that says text; one on page 0 with no place when none does.
DrawnItem itemWithText(const DisplayList& drawn, const QString& text) {
    for (const DrawnItem& item : drawn) {
        if (item.text == text)
            return item;
    }
    return {0, ElementKind::Label, QRectF(), text, {}};
}

bool near(const QRectF& a, const QRectF& b) {
    const double e = 1e-6;
    return qAbs(a.left() - b.left()) < e && qAbs(a.top() - b.top()) < e &&
           qAbs(a.width() - b.width()) < e && qAbs(a.height() - b.height()) < e;
}

QString describe(const QRectF& r) {
    return QStringLiteral("(%1, %2, %3 x %4)")
        .arg(r.left())
        .arg(r.top())
        .arg(r.width())
        .arg(r.height());
}

#define VERIFY_RECT(actual, expected)                                                              \
    QVERIFY2(near(actual, expected),                                                               \
             qPrintable(describe(actual) + QStringLiteral(" != ") + describe(expected)))

// The pages of a PDF file as its page objects count them, and the size of the first.
int pdfPageCount(const QByteArray& pdf) {
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "));
}

QSizeF pdfFirstPageSize(const QByteArray& pdf) {
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch match = box.match(QString::fromLatin1(pdf));
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

// The printer the tests measure texts on: the one a PDF file is written through.
std::unique_ptr<QPrinter> pdfPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void bandsPrintInOrderAtTheirPlaces() {
        const DisplayList drawn =
            printToPdf(sampleReport(40), sampleData(), m_dir.filePath("sheet.pdf"));
        const QStringList summaryLines = textsOf(drawn).mid(15);
        QCOMPARE(textsOf(drawn).mid(0, 15),
                 QStringList({"ВЕДОМОСТЬ", "№ 17", "Экземпляр 1", "Основание:", "За бумагу",
                              "1 250,00", "Экземпляр 2", "Основание:", "За бумагу", "1 250,00",
                              "Экземпляр 3", "Основание:", "За бумагу", "1 250,00", "Итого:"}));
        QVERIFY2(summaryLines.size() >= 2, qPrintable(summaryLines.join('|')));
        QCOMPARE(summaryLines.join(' '), kPurpose);

        VERIFY_RECT(itemWithText(drawn, "ВЕДОМОСТЬ").rect, QRectF(10, 10, 190, 10));
        VERIFY_RECT(itemWithText(drawn, "№ 17").rect, QRectF(10, 20, 190, 8));
        for (int copy = 0; copy < 3; ++copy) {
            const double top = 30 + 40 * copy;
            const QString name = QStringLiteral("Экземпляр %1").arg(copy + 1);
            VERIFY_RECT(itemWithText(drawn, name).rect, QRectF(15, top + 3, 60, 7));
            const QRectF band(10, top, 190, 40);
            QCOMPARE(itemsOf(drawn, ElementKind::Line, band).size(), 1);
            VERIFY_RECT(itemsOf(drawn, ElementKind::Line, band).first().rect,
                        QRectF(QPointF(15, top + 32), QPointF(195, top + 32)));
        }
        VERIFY_RECT(itemWithText(drawn, "Итого:").rect, QRectF(10, 150, 40, 7));
        for (const DrawnItem& item : drawn)
            QCOMPARE(item.page, 1);
    }

    // Each side of a frame is a bar of its width inside the rectangle; only chosen sides print.
    void framesDrawTheirChosenSides() {
        const DisplayList drawn =
            printToPdf(sampleReport(40), sampleData(), m_dir.filePath("sheet.pdf"));
        const DisplayList whole = itemsOf(drawn, ElementKind::Frame, QRectF(10, 30, 190, 38));
        const DisplayList sum = itemsOf(drawn, ElementKind::Frame, QRectF(110, 32, 40, 9));
        QCOMPARE(whole.size(), 4 + sum.size());
        QCOMPARE(sum.size(), 2);
        VERIFY_RECT(sum[0].rect, QRectF(110, 32, 40, 0.2));
        VERIFY_RECT(sum[1].rect, QRectF(110, 40.8, 40, 0.2));
        const QList<QRectF> sides = {QRectF(10, 30, 0.3, 38), QRectF(10, 30, 190, 0.3),
                                     QRectF(199.7, 30, 0.3, 38), QRectF(10, 67.7, 190, 0.3)};
        for (int i = 0; i < sides.size(); ++i)
            VERIFY_RECT(whole[i].rect, sides[i]);
    }

    void bandsThatDoNotFitStartTheNextPage_data() {
        QTest::addColumn<Orientation>("orientation");
        QTest::addColumn<double>("detailHeight");
        QTest::addColumn<QList<int>>("detailPages");
        QTest::addColumn<QList<double>>("detailTops");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QSizeF>("pdfPage");
        const QSizeF standing(595, 842);
        const QSizeF lying(842, 595);
        QTest::newRow("portrait, all on one page")
            << Orientation::Portrait << 40.0 << QList<int>{1, 1, 1} << QList<double>{30, 70, 110}
            << 1 << standing;
        QTest::newRow("portrait, the third copy on the next page")
            << Orientation::Portrait << 100.0 << QList<int>{1, 1, 2} << QList<double>{30, 130, 10}
            << 2 << standing;
        QTest::newRow("portrait, a band that fills the page exactly")
            << Orientation::Portrait << 257.0 << QList<int>{1, 2, 3} << QList<double>{30, 10, 10}
            << 4 << standing;
        QTest::newRow("landscape, one copy a page")
            << Orientation::Landscape << 100.0 << QList<int>{1, 2, 3} << QList<double>{30, 10, 10}
            << 3 << lying;
    }

    void bandsThatDoNotFitStartTheNextPage() {
        QFETCH(Orientation, orientation);
        QFETCH(double, detailHeight);
        QFETCH(QList<int>, detailPages);
        QFETCH(QList<double>, detailTops);
        QFETCH(int, pages);
        QFETCH(QSizeF, pdfPage);
        const QString path = m_dir.filePath("pages.pdf");
        const Report report = sampleReport(detailHeight, orientation);
        const DisplayList drawn = printToPdf(report, sampleData(), path);

        const double right = report.page.contentRect().right();
        VERIFY_RECT(itemWithText(drawn, "ВЕДОМОСТЬ").rect, QRectF(10, 10, right - 10, 10));
        for (int copy = 0; copy < 3; ++copy) {
            const DrawnItem item =
                itemWithText(drawn, QStringLiteral("Экземпляр %1").arg(copy + 1));
            QCOMPARE(item.page, detailPages[copy]);
            VERIFY_RECT(item.rect, QRectF(15, detailTops[copy] + 3, 60, 7));
        }
        QCOMPARE(itemWithText(drawn, "Итого:").page, pages);
        QCOMPARE(drawn.last().page, pages);

        const QByteArray pdf = testsupport::readFile(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPageCount(pdf), pages);
        const QSizeF size = pdfFirstPageSize(pdf);
        QVERIFY2(qAbs(size.width() - pdfPage.width()) < 1 &&
                     qAbs(size.height() - pdfPage.height()) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    }

    // The preview draws the report again whenever it asks: nothing a run adds stays for the next.
    void everyRunStartsFromTheReportAsGiven() {
        const Report report = sampleReport(100);
        const ReportData data = sampleData();
        const DisplayList first = printToPdf(report, data, m_dir.filePath("first.pdf"));
        const DisplayList second = printToPdf(report, data, m_dir.filePath("second.pdf"));
        QCOMPARE(second, first);
        QCOMPARE(textsOf(first).count("За бумагу"), 3);
    }

    // A memo breaks its text at blanks to its width, each line as long as it can be; lines that
    // fall outside its frame are not printed, the last ones kept when it sits on the bottom.
    void memosWrapInTheirFrame_data() {
        QTest::addColumn<double>("height");
        QTest::addColumn<VerticalAlign>("verticalAlign");
        QTest::addColumn<int>("linesShown");
        QTest::addColumn<bool>("lastLinesShown");
        QTest::newRow("room for all") << 40.0 << VerticalAlign::Top << -1 << true;
        QTest::newRow("room for two, from the top") << 11.0 << VerticalAlign::Top << 2 << false;
        QTest::newRow("room for two, on the bottom") << 11.0 << VerticalAlign::Bottom << 2 << true;
    }

    void memosWrapInTheirFrame() {
        QFETCH(double, height);
        QFETCH(VerticalAlign, verticalAlign);
        QFETCH(int, linesShown);
        QFETCH(bool, lastLinesShown);
        const FontSpec spec = font("Times New Roman", 12);
        Report report;
        report.detail.height = 50;
        report.detail.elements << memo({20, 5, 50, height}, kPurpose, spec);
        report.detail.elements[0].verticalAlign = verticalAlign;
        const DisplayList drawn = printToPdf(report, {}, m_dir.filePath("memo.pdf"));

        auto printer = pdfPrinter();
        const QFontMetricsF metrics(toQFont(spec), printer.get());
        const double dotsPerMm = printer->resolution() / 25.4;
        const double lineHeight = metrics.height() / dotsPerMm;
        QVERIFY(2 * lineHeight <= 11 && 3 * lineHeight > 11);
        const QStringList words = kPurpose.split(' ');
        QStringList all;
        for (int i = 0; i < words.size();) {
            QString current = words[i++];
            while (i < words.size() &&
                   metrics.horizontalAdvance(current + ' ' + words[i]) <= 50 * dotsPerMm)
                current += ' ' + words[i++];
            all << current;
        }
        QVERIFY(all.size() > 3);

        const QStringList shown = textsOf(drawn);
        if (linesShown < 0)
            QCOMPARE(shown, all);
        else
            QCOMPARE(shown,
                     lastLinesShown ? all.mid(all.size() - linesShown) : all.mid(0, linesShown));
        const double firstTop =
            verticalAlign == VerticalAlign::Bottom ? 15 + height - all.size() * lineHeight : 15;
        const int firstShown = lastLinesShown && linesShown >= 0 ? all.size() - linesShown : 0;
        for (int i = 0; i < drawn.size(); ++i) {
            QCOMPARE(drawn[i].kind, ElementKind::Memo);
            VERIFY_RECT(drawn[i].rect,
                        QRectF(30, firstTop + (firstShown + i) * lineHeight, 50, lineHeight));
        }
    }

    void fontsPrintInTheirMetricTwins_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("printed");
        QTest::newRow("Times New Roman") << "Times New Roman"
                                         << "Liberation Serif";
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans";
        QTest::newRow("named in other case") << "arial"
                                             << "Liberation Sans";
        QTest::newRow("another family") << "Liberation Mono"
                                        << "Liberation Mono";
    }

    void fontsPrintInTheirMetricTwins() {
        QFETCH(QString, family);
        QFETCH(QString, printed);
        FontSpec spec = font(family, 9.5);
        spec.bold = true;
        spec.italic = true;
        spec.underline = true;
        Report report;
        report.title.height = 10;
        report.title.elements << label({0, 0, 100, 10}, "Шрифт", spec);
        const DisplayList drawn = printToPdf(report, {}, m_dir.filePath("font.pdf"));
        QCOMPARE(drawn.size(), 1);
        FontSpec expected = spec;
        expected.family = printed;
        QCOMPARE(drawn[0].font, expected);
        QCOMPARE(toQFont(spec).family(), printed); // asked for by name, not left to the machine
    }

    void aFailingPrinterSaysWhy() {
        const QString path = m_dir.filePath("missing/sheet.pdf");
        const QString message = QStringLiteral("Не удалось записать файл «%1».").arg(path);
        QCOMPARE(testsupport::messageOf([&] { printToPdf(sampleReport(40), sampleData(), path); }),
                 message);
        Dialogs dialogs;
        QVERIFY(!runGuarded([&] { printToPdf(sampleReport(40), sampleData(), path); }));
        QCOMPARE(dialogs.texts, QStringList{message});
    }

    void noDefaultPrinterSaysSo() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer, and the test prints nothing on paper");
        QCOMPARE(
            testsupport::messageOf([] { printOnDefaultPrinter(sampleReport(40), sampleData()); }),
            QStringLiteral("Принтер по умолчанию не найден. Установите принтер в системе и "
                           "повторите печать."));
    }

    // The preview shows the pages, and keeps showing and redrawing them after the window that
    // asked for it and the report it was given are gone.
    void previewOutlivesTheWindowThatAsked() {
        auto owner = std::make_unique<QWidget>();
        owner->show();
        auto report = std::make_unique<Report>(sampleReport(100));
        auto data = std::make_unique<ReportData>(sampleData());
        QList<int> pageCounts;
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            wasModal = dialog->isModal();
            auto* pages = dialog->findChild<QPrintPreviewWidget*>();
            QVERIFY(pages);
            pageCounts << pages->pageCount();
            owner.reset();
            report.reset();
            data.reset();
            pages->setZoomFactor(2);
            pages->updatePreview();
            pageCounts << pages->pageCount();
            dialog->reject();
        });
        previewReport(owner.get(), *report, *data);
        QVERIFY(wasModal);
        QCOMPARE(pageCounts, QList<int>({2, 2}));
    }

    // The orientation the user turns the preview to is the one its print takes: the pages are
    // laid out anew on the turned sheet, as the preview showed them.
    void printFromThePreviewTakesItsOrientation() {
        const Report report = sampleReport(100);
        const ReportData data = sampleData();
        const QString path = m_dir.filePath("from the preview.pdf");
        QList<int> pageCounts;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* pages = dialog->findChild<QPrintPreviewWidget*>();
            QVERIFY(pages);
            pageCounts << pages->pageCount();
            pages->setLandscapeOrientation();
            pageCounts << pages->pageCount();
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(path);
            pages->print();
            dialog->reject();
        });
        previewReport(nullptr, report, data);
        QCOMPARE(pageCounts, QList<int>({2, 3}));
        const QByteArray pdf = testsupport::readFile(path);
        QCOMPARE(pdfPageCount(pdf), 3);
        const QSizeF sheet = pdfFirstPageSize(pdf);
        QVERIFY2(sheet.width() > sheet.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(sheet.width()).arg(sheet.height())));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
