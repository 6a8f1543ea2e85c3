#pragma once

#include "tests/support/shell/pane_machine.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

class DictionaryPane;
class QDialog;
class QLineEdit;

// A real cash-desk book with the main window started on it, for the dictionary panes; rows put
// into the book show in the panes shown after. Every dialog is answered and noted: a Yes/No
// question with `question`, any other with OK.
struct DictionaryMachine {
    PaneMachine machine{BookKind::CashDesk, QStringLiteral("Касса")};
    Answer question = Answer::Yes;
    Dialogs dialogs{[this](const DialogRequest& r) {
        return DialogAnswer{r.buttons == Buttons::YesNo ? question : Answer::Ok, {}};
    }};

    DictionaryMachine();
    // Closes the window while the dialogs are still answered.
    ~DictionaryMachine();

    // One statement on the book, through a connection of its own, committed.
    void execute(const QString& sql);
    // The first column of the first row of a select, as text and as bytes.
    QString value(const QString& sql);
    QByteArray bytes(const QString& sql);

    ShellWindow& main() { return *machine.main; }
    template <class PaneType> PaneType* show() { return main().showPane<PaneType>(); }
};

// The texts that the pane's grid shows in the column of field, row by row.
QStringList columnTexts(DictionaryPane& pane, const QString& field);
// Types text, any letters, into widget key by key, as a user does.
void type(QWidget* widget, const QString& text);
// Types text over the whole content of the edit, as a user does.
void retype(QLineEdit* edit, const QString& text);
// Runs answer on the modal dialog that the caller is about to show, once it shows.
void whenModalShows(const std::function<void(QDialog&)>& answer);
