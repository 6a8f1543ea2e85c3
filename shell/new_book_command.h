#pragma once

#include "store/book_kind.h"

#include <QString>

class QWidget;

// The new-book command of the main window ("Добавить кассу...", "Добавить Р/С...") and of the
// chooser's first start.
// The whole command: asks the name (caption prompt, initial text defaultName) and the folder,
// creates the book and says so. Cancel in either dialog is a silent abort (SilentAbort); errors
// pass on to the caller's error display. Returns true when a book was made; createdPath receives
// its path. The first book of a fresh machine opens at once: openedNow leaves out the advice to
// start the program again.
bool addBook(QWidget* owner, BookKind kind, const QString& prompt, const QString& defaultName,
             QString* createdPath = nullptr, bool openedNow = false);
