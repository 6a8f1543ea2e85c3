#include "ui/progress_window.h"

#include "ui/gauge.h"

#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>
#include <QtMath>

namespace {

void drawFolder(QPainter& painter, const QRectF& box) {
    painter.setPen(QColor(128, 96, 0));
    painter.setBrush(QColor(255, 214, 90));
    QPainterPath path;
    path.moveTo(box.left(), box.top() + 4);
    path.lineTo(box.left() + box.width() * 0.4, box.top() + 4);
    path.lineTo(box.left() + box.width() * 0.5, box.top());
    path.lineTo(box.right(), box.top());
    path.lineTo(box.right(), box.bottom());
    path.lineTo(box.left(), box.bottom());
    path.closeSubpath();
    painter.drawPath(path);
}

} // namespace

CopyAnimation::CopyAnimation(QWidget* parent) : QWidget(parent) {
    m_timer.setInterval(60);
    connect(&m_timer, &QTimer::timeout, this, &CopyAnimation::onTimerTimeout);
}

void CopyAnimation::setActive(bool active) {
    if (active == isActive())
        return;
    if (active) {
        m_frame = 0;
        m_timer.start();
    } else {
        m_timer.stop();
        m_frame = kStopFrame;
    }
    update();
}

// The next frame; after the last one the flight starts again.
void CopyAnimation::onTimerTimeout() {
    m_frame = (m_frame + 1) % kFrameCount;
    update();
}

void CopyAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF folder(40, 30);
    const qreal middleY = height() / 2.0;
    const QRectF from(QPointF(width() / 2.0 - 120, middleY - folder.height() / 2), folder);
    const QRectF to(QPointF(width() / 2.0 + 80, middleY - folder.height() / 2), folder);
    drawFolder(painter, from);
    drawFolder(painter, to);

    // The sheet flies along an arc from the first folder to the second.
    const qreal t = qreal(m_frame) / kStopFrame;
    const qreal x = from.center().x() + (to.center().x() - from.center().x()) * t;
    const qreal y = middleY + 4 - std::sin(t * M_PI) * (middleY - 14);
    painter.setPen(Qt::darkGray);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(x - 7, y - 9, 14, 18));
}

ProgressWindow::ProgressWindow(QWidget* owner) : OwnedDialog(owner) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowContextHelpButtonHint);
    setFixedSize(461, 77);

    m_animation = new CopyAnimation(this);
    m_animation->setObjectName(QStringLiteral("animation"));
    m_gauge = new Gauge(this);
    m_gauge->setObjectName(QStringLiteral("gauge"));
    m_gauge->setFixedHeight(20);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_animation, 1);
    layout->addWidget(m_gauge);

    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
