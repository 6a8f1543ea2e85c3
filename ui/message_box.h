#pragma once

#include <QString>
#include <functional>

class QFont;
class QWidget;

// Every message box, question and input dialog of the program goes through here,
// so that a test can install an answerer and never wait on a modal window.

// The buttons of a message box.
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
// The icon of a message box.
enum class MessageIcon { None, Error, Question, Warning, Information };
// Which of a box's buttons Enter presses.
enum class DefaultButton { First, Second, Third };
// The button pressed.
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// What a request asks: a message box, an input dialog, a folder or a file to open or save, a
// font.
enum class DialogKind { Message, Input, Folder, OpenFile, SaveFile, Font };

struct DialogRequest {
    DialogKind kind = DialogKind::Message;
    QString caption;
    QString text;                  // the message, or the prompt of an input dialog
    Buttons buttons = Buttons::Ok; // input and file dialogs: OkCancel
    MessageIcon icon = MessageIcon::None;
    DefaultButton defaultButton = DefaultButton::First;
    QString value;  // the input dialog's initial value; the starting folder or file; the font
                    // as QFont::toString() writes it
    QString filter; // file dialogs: "Name (*.ext *.EXT);;All (*)"
};

struct DialogAnswer {
    Answer button = Answer::Ok; // for an input or file dialog: Ok or Cancel
    QString value; // for an input dialog: the text entered; for a font: QFont::toString() of the
                   // font chosen; for the others: the path chosen
};

using DialogAnswerer = std::function<DialogAnswer(const DialogRequest&)>;

namespace dialogs {

// Installs the answerer that stands in for the user; an empty one restores real dialogs.
void setAnswerer(DialogAnswerer answerer);
bool hasAnswerer();

// Where nobody can answer (the offscreen platform) and no answerer is installed, a dialog takes
// its default answer and says so through report: a warning unless another report is set (the
// tests make it a failure).
void setUnansweredReport(std::function<void(const QString& what)> report);

// From now on (nobody true) no dialog of here waits for a user, whatever the platform: unless an
// answerer is installed, each takes its default answer and says so through the report above, as
// where nobody can answer. The program ends so on a signal, with nobody there.
void setNobodyToAnswer(bool nobody);

// A message box: returns the button pressed.
Answer messageBox(QWidget* owner, const QString& text, const QString& caption,
                  Buttons buttons = Buttons::Ok, MessageIcon icon = MessageIcon::None,
                  DefaultButton defaultButton = DefaultButton::First);

// A plain message with the application's title and an OK button.
void showMessage(const QString& text);

// An input dialog: show is the real dialog, run when no answerer is installed.
bool inputQuery(const QString& caption, const QString& prompt, QString& value,
                const std::function<bool(QString&)>& show);

// Folder and file choices: true and path := the choice, false when cancelled.
// start is the folder (or file) the dialog starts in.
bool selectDirectory(QWidget* owner, const QString& caption, const QString& start, QString& path);
bool openFileName(QWidget* owner, const QString& caption, const QString& start,
                  const QString& filter, QString& path);
bool saveFileName(QWidget* owner, const QString& caption, const QString& start,
                  const QString& filter, const QString& defaultSuffix, QString& path);

// The font dialog, starting from font: true and font := the choice, false when cancelled.
bool selectFont(QWidget* owner, const QString& caption, QFont& font);

// The application's title, used as the caption of plain messages: the one set, or the
// application's name while none is. It is not Qt's application display name, which Qt would
// append to the title of every window.
void setApplicationTitle(const QString& title);
QString applicationTitle();

} // namespace dialogs

// A warning box with the application's title and an OK button.
void showWarning(QWidget* owner, const QString& text);

// Asks the same box up to count times while each answer equals expected; true when all count
// answers did (also for count 0, when nothing is asked).
bool messageBoxRepeat(QWidget* owner, const QString& caption, const QString& text, Buttons buttons,
                      Answer expected, int count);

// Installs an answerer for the life of the object (tests).
class ScopedDialogAnswerer {
public:
    explicit ScopedDialogAnswerer(DialogAnswerer answerer) {
        dialogs::setAnswerer(std::move(answerer));
    }
    ~ScopedDialogAnswerer() { dialogs::setAnswerer({}); }
    ScopedDialogAnswerer(const ScopedDialogAnswerer&) = delete;
    ScopedDialogAnswerer& operator=(const ScopedDialogAnswerer&) = delete;
};
