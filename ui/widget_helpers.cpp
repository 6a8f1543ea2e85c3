#include "ui/widget_helpers.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QTabWidget>

QSize averageCharWidth(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QSize(metrics.horizontalAdvance(letters) / 52, metrics.height());
}

void hideAllTabSheets(QTabWidget* pageControl) {
    for (int i = 0; i < pageControl->count(); ++i)
        pageControl->setTabVisible(i, false);
}

bool isEnterKeyPress(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
