#include "shell/uDocumentWindows.h"

#include <QPointer>
#include <QWidget>

namespace {

QList<QPointer<QWidget>>& registry() {
    static QList<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void TDocumentWindows::Add(QWidget* window) {
    if (window->parentWidget())
        window->setParent(nullptr, window->windowFlags() | Qt::Window);
    else
        window->setWindowFlag(Qt::Window);
    registry().removeAll(nullptr);
    if (!registry().contains(window))
        registry().append(window);
}

QList<QWidget*> TDocumentWindows::Windows() {
    registry().removeAll(nullptr);
    QList<QWidget*> windows;
    for (const QPointer<QWidget>& w : registry())
        windows.append(w.data());
    return windows;
}

bool TDocumentWindows::CloseAll() {
    for (QWidget* window : Windows()) {
        QPointer<QWidget> guard(window);
        if (guard && guard->isVisible() && !guard->close())
            return false;
    }
    return true;
}

void TDocumentWindows::MakeWindowModal(QWidget* dialog, QWidget* owner) {
    QWidget* window = owner ? owner->window() : nullptr;
    dialog->setParent(window, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
}
