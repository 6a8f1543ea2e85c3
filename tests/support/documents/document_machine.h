#pragma once

#include "core/date_time.h"
#include "documents/document_window.h"
#include "tests/support/shell/book_rows.h"
#include "tests/support/shell/pane_machine.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <functional>

class LookupPopup;
class QDialog;

// PARTS.TYP and OPER.TYP of the documents' tests.
inline constexpr int kPayer = 1;
inline constexpr int kRecipient = 2;
inline constexpr int kIncome = 1;
inline constexpr int kIssue = 2;

// A document stored in the book before a window opens it.
struct StoredDocument {
    int type = kIncome;
    int partner = 0;
    QString reason;
    double amount = 0;
    QString number;
    DateTime date = 0;
    QStringList purposes; // up to three
    QString extra;        // OPER.ETC
};

// A real book of one kind with the main window started on it, for the document windows; the
// lookups filter at every keystroke. Every dialog is answered and noted: one whose text is in
// `answers` with that button, any other Yes/No question with Yes, everything else with OK.
struct DocumentMachine {
    PaneMachine machine;
    QMap<QString, Answer> answers;
    Dialogs dialogs{[this](const DialogRequest& r) {
        if (answers.contains(r.text))
            return DialogAnswer{answers.value(r.text), {}};
        return DialogAnswer{r.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok, {}};
    }};

    explicit DocumentMachine(BookKind kind);
    // Closes the document windows and the main window while the dialogs are still answered.
    ~DocumentMachine();

    // Rows put into the book and committed; their keys.
    int addPartner(int type, const QString& name);
    int addPaymentType(int type, const QString& name);
    int addDocument(const StoredDocument& document);
    // One statement on the book, committed.
    void execute(const QString& sql);
    // The first column of the first row of a select, as text; empty when there is none.
    QString value(const QString& sql);
    int count(const QString& sql);
    void setOption(const QString& key, const QString& value);
};

// Runs what the event loop has waiting, the deferred deletions too.
void settle();
// The lookup drop-down shown over a field of window now; nullptr when none is.
LookupPopup* shownLookup(QWidget* window);
// Types text over the shown lookup's filter and chooses with Enter.
void chooseInLookup(QWidget* window, const QString& text);
// Runs answer on the next modal dialog that shows, however many events come before it (the
// lookups report from the event loop).
void whenNextDialogShows(const std::function<void(QDialog&)>& answer);
// Shows window's document window and waits until it is active, so that the focus moves.
void activate(QWidget* window);
