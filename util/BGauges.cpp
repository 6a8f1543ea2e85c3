#include "util/BGauges.h"

#include <QPainter>
#include <QtMath>
#include <climits>

namespace {

QString outOfRange(int low, int high) {
    return QStringLiteral("Значение должно быть между %1 и %2").arg(low).arg(high);
}

} // namespace

void TBltBitmap::MakeLike(const QImage& bitmap) {
    QImage::operator=(QImage(bitmap.size(), QImage::Format_RGB32));
    fill(Qt::black);
}

TBGauge::TBGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

void TBGauge::SetMinValue(int value) {
    if (value == m_minValue)
        return;
    if (value > m_maxValue)
        throw EInvalidOperation(outOfRange(-INT_MAX, m_maxValue - 1));
    m_minValue = value;
    m_progress = qMax(m_progress, m_minValue);
    Refresh();
}

void TBGauge::SetMaxValue(int value) {
    if (value == m_maxValue)
        return;
    if (value < m_minValue)
        throw EInvalidOperation(outOfRange(m_minValue + 1, INT_MAX));
    m_maxValue = value;
    m_progress = qMin(m_progress, m_maxValue);
    Refresh();
}

void TBGauge::SetProgress(int value) {
    const int before = PercentDone();
    m_progress = qBound(m_minValue, value, m_maxValue);
    if (PercentDone() != before)
        Refresh();
}

void TBGauge::SetKind(Kind value) {
    if (value == m_kind)
        return;
    m_kind = value;
    Refresh();
}

void TBGauge::SetShowText(bool value) {
    if (value == m_showText)
        return;
    m_showText = value;
    Refresh();
}

void TBGauge::SetBorderStyle(BorderStyle value) {
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    Refresh();
}

void TBGauge::SetForeColor(const QColor& value) {
    if (value == m_foreColor)
        return;
    m_foreColor = value;
    Refresh();
}

void TBGauge::SetBackColor(const QColor& value) {
    if (value == m_backColor)
        return;
    m_backColor = value;
    Refresh();
}

int TBGauge::PercentDone() const {
    if (m_maxValue == m_minValue)
        return 0;
    return int((double(m_progress) - m_minValue) * 100.0 / (double(m_maxValue) - m_minValue));
}

int TBGauge::SolveForX(int percent, int extent) {
    return int(extent * (percent * 0.01));
}

QImage TBGauge::Render() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QRect rect = image.rect();
    if (m_borderStyle == BorderStyle::Single)
        rect.adjust(1, 1, -1, -1);

    TBltBitmap overlay;
    overlay.MakeLike(image);
    DrawKind(overlay, rect);

    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, overlay);
    painter.end();
    if (m_showText)
        DrawPercentText(image, rect);
    return image;
}

void TBGauge::DrawKind(QImage& overlay, const QRect& rect) const {
    QPainter painter(&overlay);
    const int percent = PercentDone();
    switch (m_kind) {
    case Kind::Text:
        painter.fillRect(rect, m_backColor);
        break;
    case Kind::HorizontalBar: {
        painter.fillRect(rect, m_backColor);
        const int width = qMin(SolveForX(percent, rect.width()), rect.width());
        if (width > 0)
            painter.fillRect(QRect(rect.left(), rect.top(), width, rect.height()), m_foreColor);
        break;
    }
    case Kind::VerticalBar: {
        painter.fillRect(rect, m_backColor);
        const int height = qMin(SolveForX(percent, rect.height()), rect.height() - 1);
        if (height > 0)
            painter.fillRect(QRect(rect.left(), rect.bottom() - height + 1, rect.width(), height),
                             m_foreColor);
        break;
    }
    case Kind::Pie:
        DrawPie(painter, rect);
        break;
    case Kind::Needle:
        DrawNeedle(painter, rect);
        break;
    }
}

void TBGauge::DrawPie(QPainter& painter, const QRect& rect) const {
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(m_foreColor);
    painter.setBrush(m_backColor);
    const QRect ellipse = rect.adjusted(0, 0, -1, -1);
    painter.drawEllipse(ellipse);
    const int percent = PercentDone();
    if (percent < 1)
        return;
    // From twelve o'clock clockwise; Qt counts angles counter-clockwise in 1/16 degree.
    painter.setBrush(m_foreColor);
    painter.drawPie(ellipse, 90 * 16, -qRound(percent * 3.6 * 16));
}

void TBGauge::DrawNeedle(QPainter& painter, const QRect& rect) const {
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(m_foreColor);
    painter.setBrush(m_backColor);
    // The upper half of an ellipse whose centre lies on the bottom line.
    const QRectF ellipse(rect.left(), rect.top(), rect.width() - 1, 2.0 * (rect.height() - 1));
    painter.drawPie(ellipse, 0, 180 * 16);
    const int percent = PercentDone();
    if (percent < 1)
        return;
    const double angle = percent / 100.0 * M_PI;
    const int half = (rect.width() - 1) / 2;
    const QPoint base(rect.left() + half, rect.bottom());
    const QPoint tip(base.x() - qRound(std::cos(angle) * half),
                     base.y() - qRound(std::sin(angle) * (rect.height() - 1)));
    painter.drawLine(base, tip);
}

void TBGauge::DrawPercentText(QImage& image, const QRect& rect) const {
    // White letters XOR-ed into the picture stay readable over both colours.
    QImage text(image.size(), QImage::Format_RGB32);
    text.fill(Qt::black);
    QPainter textPainter(&text);
    textPainter.setFont(font());
    textPainter.setPen(Qt::white);
    textPainter.drawText(rect, Qt::AlignCenter, QStringLiteral("%1%").arg(PercentDone()));
    textPainter.end();

    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, text);
}

void TBGauge::Refresh() {
    repaint();
}

void TBGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}
