#pragma once

#include "core/exceptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Copying, replacing and running files.

// A failed file operation: the message names the file and the reason; reason() is the reason
// alone, in the user's words ("Недостаточно места на диске").
class FileError : public Exception {
public:
    FileError(const QString& message, QString reason)
        : Exception(message + QStringLiteral(": ") + reason), m_reason(std::move(reason)) {}
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// The reason of a failed system call on a file, in the user's words, from its error number.
QString fileErrorText(int errorNumber);

// Copies the contents of folder source into the existing folder dest, recursively, replacing
// files of the same name. The paths may end in "/" or not. Each file is written beside the old
// one and takes its place only when whole, with the source's permissions or fewer (see
// ReplacementFile). Stops at the first error (Exception); what was copied stays, and the file
// that failed is as it was.
void copyFolder(const QString& source, const QString& dest);
// Renames source over target in one step: the old target stays until the new one is in place.
// Raises FileError when the rename fails.
void replaceFile(const QString& source, const QString& target);
// Renames source to target unless a file is there already; false then, and nothing moved.
// Raises FileError for any other failure.
bool renameWithoutReplacing(const QString& source, const QString& target);

// A path beside target that no file has yet, for a file this process makes before it takes
// target's place: target, this process's number, random letters, then suffix.
QString freshSiblingPath(const QString& target, const QString& suffix);

// Takes from the file at path every permission that the file at model does not give, and the
// group's permissions where the two belong to different groups. Nothing when either cannot be
// read.
void restrictPermissions(const QString& path, const QString& model);

// A file written beside target under a name of its own, for this user alone (mode 0600), that
// takes target's place only when whole: until commit, target stays as it was, and when the object
// goes without a commit, so does the file. Two writers of one target, in one process or two,
// never touch each other's file. Raises FileError when the file cannot be made or written.
class ReplacementFile {
public:
    explicit ReplacementFile(const QString& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // The file being written; another writer (the backup service) may fill it by this name.
    const QString& path() const { return m_path; }
    void write(const char* data, qint64 size);
    // Writes the whole file at source into it.
    void writeFrom(const QString& source);
    // Gives the file the permissions of the file at model, or fewer: the group's permissions only
    // where the file can be given model's group. Where model cannot be read, the file stays
    // private.
    void takeModeOf(const QString& model);
    // Writes the file through to the disk and renames it over target.
    void commit();

private:
    [[noreturn]] void fail(const QString& action, int errorNumber) const;

    QString m_target;
    QString m_path;
    int m_fd = -1;
    bool m_committed = false;
};

// Whether the process pid still runs. A process that has ended but that its parent has not
// collected yet (a zombie) counts as ended.
bool processRuns(qint64 pid);

// Removes the files that writers of target that no longer run left beside it, those named as
// ReplacementFile and freshSiblingPath name theirs: target, ".", the writer's process number,
// "-", six letters or digits, ".part", and whatever such a file's own writer added after it.
// A writer no longer runs when no process has its number, or when the process that has it now
// started more than a minute after the file was last written (the number has been given to
// another program; the minute allows for a clock set meanwhile). The files of running writers
// are never touched. Returns the paths of the files removed.
QStringList removeLeftoverParts(const QString& target);

// The bytes of the whole file at path. Raises Exception when it cannot be read.
QByteArray readWholeFile(const QString& path);
// Writes data as the whole file at path. Raises Exception when it cannot be written whole.
void writeWholeFile(const QString& path, const QByteArray& data);

// True when both paths name one existing file (their canonical paths are equal).
bool sameFile(const QString& a, const QString& b);

// Runs program with arguments (no shell) and waits for it to end; its exit code, or -1 when it
// could not be started or did not end normally.
int runAndWait(const QString& program, const QStringList& arguments);
