#pragma once

#include "store/book_kind.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// A computer of its own for the program's tests: a folder with the program's INI and the books
// made in it.
struct Machine {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("kaltro.ini"));

    // A book made as the new-book command makes it, listed in the INI, without backups. The INI
    // names the program's version and keeps the first-start pane away.
    QString addBook(BookKind kind, const QString& name);
    // Whether the next start shows the first-start pane.
    void setFirstStart(bool shows);
    // Backup files that are no real backups, a byte each: a start leaves them as they are.
    void fakeBackups(const QString& book);
    void setOption(const QString& book, const QString& key, const QString& value);
    // The extra backup folder "extra" beside the book, so that an exit would leave copies there.
    void setExtraFolder(const QString& book);
    // The rights text of the administrator, the user a new book logs on.
    void setRights(const QString& book, const QString& rights);
};

// The user data (DATA1) or the rights (DATA2) of the administrator, the user a new book logs on,
// written into the book through a connection of its own.
void setAdministratorText(const QString& book, const QString& column, const QString& text);

// One value of a one-row query on a book, read through a connection of its own.
QString readValue(const QString& book, const QString& sql);
// One statement on a book, through a connection of its own, committed.
void execute(const QString& book, const QString& sql);
