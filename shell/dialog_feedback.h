#pragma once

#include "store/store_feedback.h"

// The store's feedback in the program's windows: a notice is a message box over the active
// window (a plain one with the application's title), and the store's work runs under the wait
// cursor of database work. While it lives it is the feedback of the process; the one before
// comes back when it goes.
class DialogFeedback final : public StoreFeedback {
public:
    DialogFeedback();
    ~DialogFeedback() override;
    DialogFeedback(const DialogFeedback&) = delete;
    DialogFeedback& operator=(const DialogFeedback&) = delete;

    void tell(const QString& text, const QString& caption, Notice notice) override;
    void wait(const std::function<void()>& work) override;

private:
    StoreFeedback* m_previous;
};
