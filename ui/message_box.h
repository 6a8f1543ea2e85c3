#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message box, question and input dialog of the program goes through here,
// so that a test can install an answerer and never wait on a modal window.

// Buttons, icons and answers keep the classic message-box values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct DialogRequest {
    enum Kind { Message, Input, Folder, OpenFile, SaveFile };
    Kind kind = Message;
    QString caption;
    QString text; // the message, or the prompt of an input dialog
    unsigned flags = MB_OK;
    QString value;  // the input dialog's initial value; the starting folder or file
    QString filter; // file dialogs: "Name (*.ext *.EXT);;All (*)"
};

struct DialogAnswer {
    int button = IDOK; // for an input dialog: IDOK or IDCANCEL
    QString value;     // for an input dialog: the text entered; for the others: the path chosen
};

using DialogAnswerer = std::function<DialogAnswer(const DialogRequest&)>;

namespace dialogs {

// Installs the answerer that stands in for the user; an empty one restores real dialogs.
void setAnswerer(DialogAnswerer answerer);
bool hasAnswerer();

// A message box: returns the button pressed (IDOK, IDYES, ...).
int messageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags);

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

// The application's title, used as the caption of plain messages.
QString applicationTitle();

} // namespace dialogs

// A warning box with the application's title and an OK button.
void showWarning(QWidget* owner, const QString& text);

// Asks the same box up to count times while each answer equals expected; true when all count
// answers did (also for count 0, when nothing is asked).
bool messageBoxRepeat(QWidget* wnd, const QString& caption, const QString& text, unsigned flags,
                      int expected, int count);

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
