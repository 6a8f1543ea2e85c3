#pragma once

#include "shell/main_window_base.h"
#include "store/book_kind.h"
#include "ui/message_box.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The main window of the shell's tests: the base with the program's name, the title of the
// book and the first-start pane, as a product gives them, and no product menus.
class ShellWindow : public MainWindowBase {
    Q_OBJECT
public:
    explicit ShellWindow(const QString& iniPath);
    QString title() override;
    StartupEnd startSession() override;
    bool wantsFirstStart() override { return true; }
};

// A computer of its own with one real book listed in its INI, and the main window started on
// it. Every message is noted and answered OK.
struct PaneMachine {
    QTemporaryDir dir;
    QString ini;
    QString book;
    QStringList messages;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        messages << r.text;
        return DialogAnswer{Answer::Ok, {}};
    }};
    std::unique_ptr<ShellWindow> main;

    // firstStart: whether the INI lets the first-start pane show.
    explicit PaneMachine(BookKind kind, const QString& name, bool firstStart = false);
    ~PaneMachine();
    // Another book in the same folder, listed after the first.
    QString addBook(BookKind kind, const QString& name);
    // Creates the main window on the book and shows it.
    ShellWindow& start();
};
