#pragma once

#include "shell/run_window.h"

class QWidget;

// The four kinds of cash document, each with its own window.
enum class DocumentKind {
    IncomingPayment,  // OPER.TYP 1 of a bank-account book
    PaymentOrder,     // OPER.TYP 2 of a bank-account book
    CashReceipt,      // OPER.TYP 1 of a cash-desk book
    CashDisbursement, // OPER.TYP 2 of a cash-desk book
};

// OPER.TYP of a kind: 1 income, 2 issue.
int documentType(DocumentKind kind);
// The kind of a document of OPER.TYP type (1 or 2) in a bank-account book (ownerType 0) or a
// cash-desk book (any other owner type).
DocumentKind documentKindOf(int type, int ownerType);

// A document window: a modeless, parentless top-level window with its own task-bar button over
// one row of OPER, read and written in a transaction of its own. Several may be open at once
// beside the main window; their dialogs are modal for their own window only. A window frees
// itself when it closes and emits closed() just before, with the key of its document.
//
// Opening one from a browser:
//
//   DocumentWindow* window = DocumentWindow::openNew(DocumentKind::IncomingPayment);
//   connect(window, &DocumentWindow::closed, this, [this](int key) { refreshRows(key); });
//
// openNew and openExisting raise an Exception with the message for the user when the window
// cannot be shown ("Документ не существует!" for a key without a document of that kind); the
// window is then gone and its transaction rolled back.
class DocumentWindow : public RunWindow {
    Q_OBJECT
public:
    // A window on a new document, its key drawn at once; shown and active.
    static DocumentWindow* openNew(DocumentKind kind);
    // A window on the existing document key (OPER.PRKEY), read-only until "Коррекция".
    static DocumentWindow* openExisting(DocumentKind kind, int key);

    DocumentKind kind() const { return m_kind; }
    // OPER.PRKEY of the document; for a new one the key drawn for it, saved or not.
    int documentKey() const { return m_documentKey; }

signals:
    // The window is closing for good; key is documentKey(). A browser reloads and stands on it.
    void closed(int key);

protected:
    explicit DocumentWindow(DocumentKind kind);

private:
    DocumentKind m_kind;
    int m_documentKey = 0;
};
