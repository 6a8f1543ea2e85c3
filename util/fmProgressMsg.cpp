#include "util/fmProgressMsg.h"

#include "util/BGauges.h"

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

TAnimate::TAnimate(QWidget* parent) : QWidget(parent) {
    m_timer.setInterval(60);
    connect(&m_timer, &QTimer::timeout, this, &TAnimate::NextFrame);
}

void TAnimate::SetActive(bool active) {
    if (active == Active())
        return;
    if (active) {
        m_frame = 0;
        m_timer.start();
    } else {
        m_timer.stop();
        m_frame = StopFrame;
    }
    update();
}

void TAnimate::NextFrame() {
    m_frame = (m_frame + 1) % FrameCount;
    update();
}

void TAnimate::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF folder(40, 30);
    const qreal middleY = height() / 2.0;
    const QRectF from(QPointF(width() / 2.0 - 120, middleY - folder.height() / 2), folder);
    const QRectF to(QPointF(width() / 2.0 + 80, middleY - folder.height() / 2), folder);
    drawFolder(painter, from);
    drawFolder(painter, to);

    // The sheet flies along an arc from the first folder to the second.
    const qreal t = qreal(m_frame) / StopFrame;
    const qreal x = from.center().x() + (to.center().x() - from.center().x()) * t;
    const qreal y = middleY + 4 - std::sin(t * M_PI) * (middleY - 14);
    painter.setPen(Qt::darkGray);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(x - 7, y - 9, 14, 18));
}

TfrmProgressMsg::TfrmProgressMsg(QWidget* owner) : TfrmFormUseWndParent(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowContextHelpButtonHint);
    setFixedSize(461, 77);

    animProcess = new TAnimate(this);
    animProcess->setObjectName(QStringLiteral("animProcess"));
    Gauge = new TBGauge(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setFixedHeight(20);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(animProcess, 1);
    layout->addWidget(Gauge);

    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
