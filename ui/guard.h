#pragma once

#include <QApplication>
#include <functional>

// Exceptions never cross Qt's event loop: handlers run through runGuarded, which shows
// the exception's message (a silent abort shows nothing); GuardedApplication catches the rest.

// Runs action; returns false when it raised (the message has been shown).
bool runGuarded(const std::function<void()>& action);

// Runs action where nobody may be there to read a message: when it raises, the message goes to
// the log (the standard error output) instead of a box; returns false then.
bool runLogged(const std::function<void()>& action);

// Shows the message of the exception being handled; call from inside a catch block.
void showCurrentException();

// The program's application: the exceptions above, and its text fields take only what the book
// can hold (ui/text_input_guard.h).
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
