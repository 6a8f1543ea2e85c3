#pragma once

#include <QApplication>
#include <functional>

// Exceptions never cross Qt's event loop: handlers run through runGuarded, which shows
// the exception's message (a silent abort shows nothing); KaltroApplication catches the rest.

// Runs action; returns false when it raised (the message has been shown).
bool runGuarded(const std::function<void()>& action);

// Shows the message of the exception being handled; call from inside a catch block.
void showCurrentException();

class KaltroApplication : public QApplication {
public:
    KaltroApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
