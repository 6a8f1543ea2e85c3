#include "shell/run_window.h"

#include <QFont>

RunWindow::RunWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(13);
    windowFont.setBold(true);
    setFont(windowFont);
}
