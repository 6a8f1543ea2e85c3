#include "ui/guard.h"

#include "core/exceptions.h"
#include "ui/message_box.h"

void showCurrentException() {
    try {
        throw;
    } catch (const SilentAbort&) {
    } catch (const Exception& e) {
        dialogs::messageBox(QApplication::activeWindow(), e.message(), dialogs::applicationTitle(),
                            Buttons::Ok, MessageIcon::Error);
    } catch (const std::exception& e) {
        dialogs::messageBox(QApplication::activeWindow(), QString::fromUtf8(e.what()),
                            dialogs::applicationTitle(), Buttons::Ok, MessageIcon::Error);
    }
}

bool runGuarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (...) {
        showCurrentException();
        return false;
    }
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentException();
        return false;
    }
}
