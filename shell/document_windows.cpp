#include "shell/document_windows.h"

#include <QPointer>
#include <QWidget>

namespace {

QList<QPointer<QWidget>>& registry() {
    static QList<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void DocumentWindows::add(QWidget* window) {
    if (window->parentWidget())
        window->setParent(nullptr, window->windowFlags() | Qt::Window);
    else
        window->setWindowFlag(Qt::Window);
    registry().removeAll(nullptr);
    if (!registry().contains(window))
        registry().append(window);
}

QList<QWidget*> DocumentWindows::windows() {
    registry().removeAll(nullptr);
    QList<QWidget*> windows;
    for (const QPointer<QWidget>& w : registry())
        windows.append(w.data());
    return windows;
}

bool DocumentWindows::closeAll() {
    for (QWidget* window : windows()) {
        QPointer<QWidget> guard(window);
        if (guard && guard->isVisible() && !guard->close())
            return false;
    }
    return true;
}

void DocumentWindows::makeWindowModal(QWidget* dialog, QWidget* owner) {
    QWidget* window = owner ? owner->window() : nullptr;
    dialog->setParent(window, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
}

DocumentWindowEvents& DocumentWindows::events() {
    static DocumentWindowEvents events;
    return events;
}

void DocumentWindows::tellClosed(int type, int key) {
    emit events().documentClosed(type, key);
}
