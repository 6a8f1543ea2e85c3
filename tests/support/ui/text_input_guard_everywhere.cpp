// Every test program of the windows has the program's rule on text fields: a character the book
// cannot hold is refused at the field.
#include "ui/text_input_guard.h"

#include <QApplication>

namespace {

void guardTheTestsTextInput() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        guardTextInput(*app);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(guardTheTestsTextInput)
