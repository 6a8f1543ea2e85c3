#pragma once

#include <QString>
#include <QtGlobal>

// A folder of its own for the files of one print, view or edit, under
// <temp>/kaltro-<uid>/. The folder records in a file of its own the process that uses it: this
// process at first, a LibreOffice window started for the user once it is handed over. The
// destructor removes the folder with everything in it, unless the process it was handed to
// still runs; such a folder is left to removeStaleWorkFolders at a later start.
class WorkFolder {
public:
    // Throws Exception when the folder cannot be created.
    WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder();

    QString path() const { return m_path; }
    // The path of the file name inside the folder.
    QString filePath(const QString& name) const;

    // Hands the folder to the process pid from now on. Throws Exception when the record of the
    // owner cannot be written.
    void setOwner(qint64 pid);
    qint64 owner() const { return m_owner; }

private:
    QString m_path;
    qint64 m_owner;
};

// Removes the work folders of this user whose owner process has ended (left by a copy of the
// program that crashed, or by a LibreOffice window closed after the program). A folder without
// an owner record counts only when older than a minute: a copy may be creating it right now.
void removeStaleWorkFolders();
