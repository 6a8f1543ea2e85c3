#pragma once

#include <QString>
#include <functional>

// What the store has to tell the user, and how the user sees that the store works on the
// database: the store itself shows no window. The shell gives the program's (message boxes, the
// wait cursor, shell/dialog_feedback.h). Where none is set (a tool, a store test) and while the
// program ends with nobody there to answer, notices go to the log and the work simply runs.
class StoreFeedback {
public:
    enum class Notice { Plain, Warning, Error };

    virtual ~StoreFeedback() = default;

    // A notice for the user; an empty caption stands for the application's title.
    virtual void tell(const QString& text, const QString& caption, Notice notice) = 0;
    // Runs work while the user sees that the program waits for the database; an exception
    // passes on.
    virtual void wait(const std::function<void()>& work) = 0;

    // The feedback of the process: the one set, else the log's.
    static StoreFeedback& current();
    // Sets the feedback of the process (nullptr: the log's) and returns the one it replaces.
    static StoreFeedback* install(StoreFeedback* feedback);
    // Notices as lines of the log, "caption: text" (the text alone without a caption).
    static StoreFeedback& log();
};
