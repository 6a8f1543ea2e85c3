#include "ui/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

void execWithCursor(Qt::CursorShape cursor, const std::function<void()>& method) {
    if (!qGuiApp) {
        method();
        return;
    }
    struct RestoreCursor {
        ~RestoreCursor() { QGuiApplication::restoreOverrideCursor(); }
    };
    QGuiApplication::setOverrideCursor(QCursor(cursor));
    RestoreCursor restore;
    method();
}

void execWithSQLWaitCursor(const std::function<void()>& method) {
    execWithCursor(Qt::WaitCursor, method);
}
