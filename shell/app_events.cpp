#include "shell/app_events.h"

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

AppEvents::AppEvents(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

AppEvents::~AppEvents() {
    leaveContextHelpMode();
    qApp->removeEventFilter(this);
}

void AppEvents::enterContextHelpMode() {
    if (m_helpMode)
        return;
    m_helpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void AppEvents::leaveContextHelpMode() {
    if (!m_helpMode)
        return;
    m_helpMode = false;
    QApplication::restoreOverrideCursor();
}

bool AppEvents::eventFilter(QObject* watched, QEvent* event) {
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

bool AppEvents::wheelToKeys(QEvent* event) {
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

bool AppEvents::helpModeEvent(QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_F1 && key != Qt::Key_Shift)
            leaveContextHelpMode();
        return false;
    }
    if (!isMouseButtonEvent(event->type()))
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        const QPoint at = mouse->globalPosition().toPoint();
        leaveContextHelpMode();
        if (m_onContextHelp)
            m_onContextHelp(QApplication::widgetAt(at), at);
    }
    return true;
}
