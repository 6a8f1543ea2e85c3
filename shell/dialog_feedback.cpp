#include "shell/dialog_feedback.h"

#include "ui/message_box.h"
#include "ui/wait_cursor.h"

#include <QApplication>

DialogFeedback::DialogFeedback() : m_previous(StoreFeedback::install(this)) {}

DialogFeedback::~DialogFeedback() {
    if (&StoreFeedback::current() == this)
        StoreFeedback::install(m_previous);
}

void DialogFeedback::tell(const QString& text, const QString& caption, Notice notice) {
    const MessageIcon icon = notice == Notice::Error     ? MessageIcon::Error
                             : notice == Notice::Warning ? MessageIcon::Warning
                                                         : MessageIcon::None;
    dialogs::messageBox(QApplication::activeWindow(), text,
                        caption.isEmpty() ? dialogs::applicationTitle() : caption, Buttons::Ok,
                        icon);
}

void DialogFeedback::wait(const std::function<void()>& work) {
    execWithSQLWaitCursor(work);
}
