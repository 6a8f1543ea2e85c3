#include "printing/report_renderer.h"

#include "core/exceptions.h"
#include "printing/report_fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace printing {

namespace {

constexpr double kMillimetresPerInch = 25.4;
// How far a band may reach past the bottom margin and still count as fitting (rounding).
constexpr double kTolerance = 1e-6;

// The message when the printer or the file it writes refuses the report.
QString printerFailure(const QPrinter& printer) {
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("Не удалось записать файл «%1».").arg(printer.outputFileName());
    return QStringLiteral("Не удалось напечатать на принтере «%1».").arg(printer.printerName());
}

Qt::Alignment toQtAlignment(HorizontalAlign align, VerticalAlign verticalAlign) {
    Qt::Alignment result = Qt::AlignLeft;
    if (align == HorizontalAlign::Center)
        result = Qt::AlignHCenter;
    else if (align == HorizontalAlign::Right)
        result = Qt::AlignRight;
    if (verticalAlign == VerticalAlign::Center)
        return result | Qt::AlignVCenter;
    if (verticalAlign == VerticalAlign::Bottom)
        return result | Qt::AlignBottom;
    return result | Qt::AlignTop;
}

// The lines of a text wrapped at blanks to width; a word wider than width stands on a line of
// its own.
QStringList wrapLines(const QString& text, const QFontMetricsF& metrics, double width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString current;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (current.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
                current = candidate;
                continue;
            }
            lines << current;
            current = word;
        }
        lines << current;
    }
    return lines;
}

// Draws bands one under another on the pages of a printer and notes what it drew.
class ReportWriter {
public:
    ReportWriter(QPrinter& printer, const PageSetup& page, const ReportData& data)
        : m_printer(printer), m_page(page), m_data(data),
          m_dotsPerMm(printer.resolution() / kMillimetresPerInch), m_y(page.contentRect().top()) {
        if (!m_painter.begin(&printer))
            throw Exception(printerFailure(printer));
        m_painter.setClipRect(toDevice(m_page.contentRect()));
    }

    void place(const Band& band) {
        if (band.height <= 0)
            return;
        const QRectF content = m_page.contentRect();
        if (m_y > content.top() && m_y + band.height > content.bottom() + kTolerance)
            startPage();
        const QPointF origin(content.left(), m_y);
        for (const Element& element : band.elements)
            draw(element, element.rect.translated(origin));
        m_y += band.height;
    }

    DisplayList finish() {
        if (!m_painter.end())
            throw Exception(printerFailure(m_printer));
        return m_drawn;
    }

private:
    void startPage() {
        if (!m_printer.newPage())
            throw Exception(printerFailure(m_printer));
        ++m_pageNumber;
        m_y = m_page.contentRect().top();
    }

    void draw(const Element& element, const QRectF& rect) {
        switch (element.kind) {
        case ElementKind::Label:
            drawText(element, rect, element.text);
            break;
        case ElementKind::DataText:
            drawText(element, rect, m_data.fields.value(element.field));
            break;
        case ElementKind::Memo:
            drawMemo(element, rect);
            break;
        case ElementKind::Line:
            drawLine(element, rect);
            break;
        case ElementKind::Frame:
            drawFrame(element, rect);
            break;
        }
    }

    void drawText(const Element& element, const QRectF& rect, const QString& text) {
        m_painter.setFont(toQFont(element.font));
        m_painter.setPen(Qt::black);
        m_painter.drawText(toDevice(rect), toQtAlignment(element.align, element.verticalAlign),
                           text);
        note(element.kind, rect, text);
    }

    void drawMemo(const Element& element, const QRectF& rect) {
        const QString text =
            element.field.isEmpty() ? element.text : m_data.fields.value(element.field);
        if (text.isEmpty())
            return;
        m_painter.setFont(toQFont(element.font));
        m_painter.setPen(Qt::black);
        const QFontMetricsF metrics(m_painter.font(), &m_printer);
        const QStringList lines = wrapLines(text, metrics, rect.width() * m_dotsPerMm);
        const double lineHeight = metrics.height() / m_dotsPerMm;
        const Qt::Alignment align = toQtAlignment(element.align, VerticalAlign::Top);
        double y = memoTop(element.verticalAlign, rect, lines.size() * lineHeight);
        for (const QString& lineText : lines) {
            const QRectF lineRect(rect.left(), y, rect.width(), lineHeight);
            y += lineHeight;
            if (lineRect.top() < rect.top() - kTolerance ||
                lineRect.bottom() > rect.bottom() + kTolerance)
                continue;
            m_painter.drawText(toDevice(lineRect), align, lineText);
            note(ElementKind::Memo, lineRect, lineText);
        }
    }

    static double memoTop(VerticalAlign verticalAlign, const QRectF& rect, double blockHeight) {
        if (verticalAlign == VerticalAlign::Bottom)
            return rect.bottom() - blockHeight;
        if (verticalAlign == VerticalAlign::Center)
            return rect.top() + (rect.height() - blockHeight) / 2;
        return rect.top();
    }

    void drawLine(const Element& element, const QRectF& rect) {
        m_painter.setPen(
            QPen(Qt::black, element.lineWidth * m_dotsPerMm, Qt::SolidLine, Qt::FlatCap));
        m_painter.drawLine(toDevice(rect.topLeft()), toDevice(rect.bottomRight()));
        note(ElementKind::Line, rect, QString());
    }

    // Each side is a bar of the line width along that edge, inside the rectangle.
    void drawFrame(const Element& element, const QRectF& rect) {
        const double width = element.lineWidth;
        if (element.sides.left)
            fillBar(QRectF(rect.left(), rect.top(), width, rect.height()));
        if (element.sides.top)
            fillBar(QRectF(rect.left(), rect.top(), rect.width(), width));
        if (element.sides.right)
            fillBar(QRectF(rect.right() - width, rect.top(), width, rect.height()));
        if (element.sides.bottom)
            fillBar(QRectF(rect.left(), rect.bottom() - width, rect.width(), width));
    }

    void fillBar(const QRectF& bar) {
        m_painter.fillRect(toDevice(bar), Qt::black);
        note(ElementKind::Frame, bar, QString());
    }

    void note(ElementKind kind, const QRectF& rect, const QString& text) {
        DrawnItem item{m_pageNumber, kind, rect, text, {}};
        if (kind == ElementKind::Label || kind == ElementKind::DataText ||
            kind == ElementKind::Memo)
            item.font = drawnFont();
        m_drawn << item;
    }

    FontSpec drawnFont() const {
        const QFont& font = m_painter.font();
        return {m_painter.fontInfo().family(), font.pointSizeF(), font.bold(), font.italic(),
                font.underline()};
    }

    QPointF toDevice(const QPointF& point) const { return point * m_dotsPerMm; }
    QRectF toDevice(const QRectF& rect) const {
        return QRectF(toDevice(rect.topLeft()), toDevice(rect.bottomRight()));
    }

    QPrinter& m_printer;
    const PageSetup& m_page;
    const ReportData& m_data;
    const double m_dotsPerMm;
    QPainter m_painter;
    int m_pageNumber = 1;
    double m_y;
    DisplayList m_drawn;
};

// The report's page in the orientation the printer has now: the user may have turned it in the
// preview, and the print from there follows.
PageSetup pageOnPrinter(const PageSetup& page, const QPrinter& printer) {
    PageSetup turned = page;
    turned.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                             ? Orientation::Landscape
                             : Orientation::Portrait;
    return turned;
}

} // namespace

void setUpPrinter(QPrinter& printer, const PageSetup& page) {
    const auto orientation =
        page.orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
}

DisplayList renderReport(const Report& report, const ReportData& data, QPrinter& printer) {
    const PageSetup page = pageOnPrinter(report.page, printer);
    ReportWriter writer(printer, page, data);
    writer.place(report.title);
    for (int index = 0; index < report.detailCount; ++index) {
        Band band = report.detail;
        if (data.beforeDetail)
            data.beforeDetail(index, band);
        writer.place(band);
    }
    writer.place(report.summary);
    return writer.finish();
}

void renderPaintedPage(const PaintedPage& page, QPrinter& printer) {
    const PageSetup turned = pageOnPrinter(page.page, printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(printerFailure(printer));
    const double dotsPerMm = printer.resolution() / kMillimetresPerInch;
    const QRectF content = turned.contentRect();
    const QRectF area(content.topLeft() * dotsPerMm, content.size() * dotsPerMm);
    painter.setClipRect(area);
    if (page.paint)
        page.paint(painter, area);
    painter.end();
}

} // namespace printing
