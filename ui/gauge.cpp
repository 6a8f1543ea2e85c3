#include "ui/gauge.h"

#include <QPainter>
#include <QtMath>
#include <climits>

namespace {

QString outOfRange(int low, int high) {
    return QStringLiteral("Значение должно быть между %1 и %2").arg(low).arg(high);
}

} // namespace

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

void Gauge::setMinValue(int value) {
    if (value == m_minValue)
        return;
    if (value > m_maxValue)
        throw InvalidOperation(outOfRange(-INT_MAX, m_maxValue - 1));
    m_minValue = value;
    m_progress = qMax(m_progress, m_minValue);
    refresh();
}

void Gauge::setMaxValue(int value) {
    if (value == m_maxValue)
        return;
    if (value < m_minValue)
        throw InvalidOperation(outOfRange(m_minValue + 1, INT_MAX));
    m_maxValue = value;
    m_progress = qMin(m_progress, m_maxValue);
    refresh();
}

void Gauge::setProgress(int value) {
    const int before = percentDone();
    m_progress = qBound(m_minValue, value, m_maxValue);
    if (percentDone() != before)
        refresh();
}

void Gauge::setKind(Kind value) {
    if (value == m_kind)
        return;
    m_kind = value;
    refresh();
}

void Gauge::setTextShown(bool value) {
    if (value == m_showText)
        return;
    m_showText = value;
    refresh();
}

void Gauge::setBorderStyle(BorderStyle value) {
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    refresh();
}

void Gauge::setForeColor(const QColor& value) {
    if (value == m_foreColor)
        return;
    m_foreColor = value;
    refresh();
}

void Gauge::setBackColor(const QColor& value) {
    if (value == m_backColor)
        return;
    m_backColor = value;
    refresh();
}

int Gauge::percentDone() const {
    if (m_maxValue == m_minValue)
        return 0;
    return int((double(m_progress) - m_minValue) * 100.0 / (double(m_maxValue) - m_minValue));
}

int Gauge::solveForX(int percent, int extent) {
    return int(extent * (percent * 0.01));
}

QImage Gauge::renderImage() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QRect rect = image.rect();
    if (m_borderStyle == BorderStyle::Single)
        rect.adjust(1, 1, -1, -1);

    // The kind's picture is drawn apart, then XOR-ed into the black base.
    QImage overlay(image.size(), QImage::Format_RGB32);
    overlay.fill(Qt::black);
    drawKind(overlay, rect);

    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, overlay);
    painter.end();
    if (m_showText)
        drawPercentText(image, rect);
    return image;
}

void Gauge::drawKind(QImage& overlay, const QRect& rect) const {
    QPainter painter(&overlay);
    const int percent = percentDone();
    switch (m_kind) {
    case Kind::Text:
        painter.fillRect(rect, m_backColor);
        break;
    case Kind::HorizontalBar: {
        painter.fillRect(rect, m_backColor);
        const int width = qMin(solveForX(percent, rect.width()), rect.width());
        if (width > 0)
            painter.fillRect(QRect(rect.left(), rect.top(), width, rect.height()), m_foreColor);
        break;
    }
    case Kind::VerticalBar: {
        painter.fillRect(rect, m_backColor);
        const int height = qMin(solveForX(percent, rect.height()), rect.height() - 1);
        if (height > 0)
            painter.fillRect(QRect(rect.left(), rect.bottom() - height + 1, rect.width(), height),
                             m_foreColor);
        break;
    }
    case Kind::Pie:
        drawPie(painter, rect);
        break;
    case Kind::Needle:
        drawNeedle(painter, rect);
        break;
    }
}

void Gauge::drawPie(QPainter& painter, const QRect& rect) const {
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(m_foreColor);
    painter.setBrush(m_backColor);
    const QRect ellipse = rect.adjusted(0, 0, -1, -1);
    painter.drawEllipse(ellipse);
    const int percent = percentDone();
    if (percent < 1)
        return;
    // From twelve o'clock clockwise; Qt counts angles counter-clockwise in 1/16 degree.
    painter.setBrush(m_foreColor);
    painter.drawPie(ellipse, 90 * 16, -qRound(percent * 3.6 * 16));
}

void Gauge::drawNeedle(QPainter& painter, const QRect& rect) const {
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(m_foreColor);
    painter.setBrush(m_backColor);
    // The upper half of an ellipse whose centre lies on the bottom line.
    const QRectF ellipse(rect.left(), rect.top(), rect.width() - 1, 2.0 * (rect.height() - 1));
    painter.drawPie(ellipse, 0, 180 * 16);
    const int percent = percentDone();
    if (percent < 1)
        return;
    const double angle = percent / 100.0 * M_PI;
    const int half = (rect.width() - 1) / 2;
    const QPoint base(rect.left() + half, rect.bottom());
    const QPoint tip(base.x() - qRound(std::cos(angle) * half),
                     base.y() - qRound(std::sin(angle) * (rect.height() - 1)));
    painter.drawLine(base, tip);
}

void Gauge::drawPercentText(QImage& image, const QRect& rect) const {
    // White letters XOR-ed into the picture stay readable over both colours.
    QImage text(image.size(), QImage::Format_RGB32);
    text.fill(Qt::black);
    QPainter textPainter(&text);
    textPainter.setFont(font());
    textPainter.setPen(Qt::white);
    textPainter.drawText(rect, Qt::AlignCenter, QStringLiteral("%1%").arg(percentDone()));
    textPainter.end();

    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, text);
}

void Gauge::refresh() {
    repaint();
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, renderImage());
}
