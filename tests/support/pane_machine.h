#pragma once

#include "app/main_window.h"
#include "ui/message_box.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A computer of its own with one real book listed in its INI, and the main window started on
// it. Every message is noted and answered OK.
struct PaneMachine {
    QTemporaryDir dir;
    QString ini;
    QString book;
    QStringList messages;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        messages << r.text;
        return DialogAnswer{IDOK, {}};
    }};
    std::unique_ptr<MainWindow> main;

    // firstStart: whether the INI lets the first-start pane show.
    explicit PaneMachine(int ownerType, const QString& name, bool firstStart = false);
    ~PaneMachine();
    // Another book in the same folder, listed after the first.
    QString addBook(int ownerType, const QString& name);
    // Creates the main window on the book and shows it.
    MainWindow& start();
};
