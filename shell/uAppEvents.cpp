#include "shell/uAppEvents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {

// One notch of a mouse wheel, in eighths of a degree.
constexpr int kNotch = QWheelEvent::DefaultDeltasPerStep;

void pressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

bool isMouseButtonEvent(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
}

} // namespace

TAppEvents::TAppEvents(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

TAppEvents::~TAppEvents() {
    LeaveContextHelpMode();
    qApp->removeEventFilter(this);
}

void TAppEvents::EnterContextHelpMode() {
    if (m_helpMode)
        return;
    m_helpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void TAppEvents::LeaveContextHelpMode() {
    if (!m_helpMode)
        return;
    m_helpMode = false;
    QApplication::restoreOverrideCursor();
}

bool TAppEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip:
        return true;
    case QEvent::Wheel:
        return wheelToKeys(event);
    default:
        break;
    }
    if (m_helpMode && helpModeEvent(event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool TAppEvents::wheelToKeys(QEvent* event) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    if (delta == 0)
        return false; // a sideways wheel keeps its own meaning
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return true;
    m_wheelRest += delta;
    // A fine-grained wheel reports parts of a notch: a key goes out for every whole notch.
    while (m_wheelRest >= kNotch) {
        m_wheelRest -= kNotch;
        pressKey(focus, Qt::Key_Up);
    }
    while (m_wheelRest <= -kNotch) {
        m_wheelRest += kNotch;
        pressKey(focus, Qt::Key_Down);
    }
    return true;
}

bool TAppEvents::helpModeEvent(QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_F1 && key != Qt::Key_Shift)
            LeaveContextHelpMode();
        return false;
    }
    if (!isMouseButtonEvent(event->type()))
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        const QPoint at = mouse->globalPosition().toPoint();
        LeaveContextHelpMode();
        if (onContextHelp)
            onContextHelp(QApplication::widgetAt(at), at);
    }
    return true;
}
