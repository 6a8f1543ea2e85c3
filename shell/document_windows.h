#pragma once

#include <QList>
#include <QObject>

class QWidget;

// What the document windows tell the rest of the program, whoever opened them.
class DocumentWindowEvents : public QObject {
    Q_OBJECT
signals:
    // A document window on the document key of OPER.TYP type closed for good, whether it saved,
    // deleted or dropped the document.
    void documentClosed(int type, int key);
};

// The open document windows: top-level windows without a parent beside the main window, each
// with its own task-bar button, several open at once. Dialogs over one of them are modal for
// that window only, so the others and the main window stay usable.
class DocumentWindows {
public:
    // Makes window a parentless top-level window and keeps it in the list while it lives.
    static void add(QWidget* window);
    // The listed windows still alive, in the order they were added.
    static QList<QWidget*> windows();
    // Asks each shown document window to close, with its own question; false as soon as one
    // refuses (it and the ones after it stay open).
    static bool closeAll();

    // Makes dialog modal for the window of owner only (window modality), owned by that window.
    static void makeWindowModal(QWidget* dialog, QWidget* owner);

    // Where the browsers hear that a document window closed.
    static DocumentWindowEvents& events();
    // A document window tells that it closed on the document key of type.
    static void tellClosed(int type, int key);
};
