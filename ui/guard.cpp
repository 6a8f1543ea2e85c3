#include "ui/guard.h"

#include "core/exceptions.h"
#include "ui/message_box.h"
#include "ui/text_input_guard.h"

namespace {

// The message of the exception being handled; empty for a silent abort.
QString currentExceptionMessage() {
    try {
        throw;
    } catch (const SilentAbort&) {
        return QString();
    } catch (const Exception& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

} // namespace

void showCurrentException() {
    const QString message = currentExceptionMessage();
    if (!message.isEmpty())
        dialogs::messageBox(QApplication::activeWindow(), message, dialogs::applicationTitle(),
                            Buttons::Ok, MessageIcon::Error);
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

bool runLogged(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (...) {
        const QString message = currentExceptionMessage();
        if (!message.isEmpty())
            qWarning("%s", qUtf8Printable(message));
        return false;
    }
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    guardTextInput(*this);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentException();
        return false;
    }
}
