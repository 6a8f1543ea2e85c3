#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Copying, replacing and running files.

// Copies the contents of folder source into the existing folder dest, recursively, replacing
// files of the same name. The paths may end in "/" or not. Stops at the first error (Exception);
// what was copied stays.
void copyFolder(const QString& source, const QString& dest);
// Renames source over target in one step: the old target stays until the new one is in place.
// Raises Exception when the rename fails.
void replaceFile(const QString& source, const QString& target);

// The bytes of the whole file at path. Raises Exception when it cannot be read.
QByteArray readWholeFile(const QString& path);
// Writes data as the whole file at path. Raises Exception when it cannot be written whole.
void writeWholeFile(const QString& path, const QByteArray& data);

// True when both paths name one existing file (their canonical paths are equal).
bool sameFile(const QString& a, const QString& b);

// Runs program with arguments (no shell) and waits for it to end; its exit code, or -1 when it
// could not be started or did not end normally.
int runAndWait(const QString& program, const QStringList& arguments);
