#pragma once

#include "platform/work_folder.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

// LibreOffice opened for the user on a file of a work folder, to view or edit it: a process of
// its own, with a profile of its own inside the folder, that the program's end does not end.
// The folder is handed to that process; the session watches it and says when it has ended.
// Destroyed after that end, the session removes the folder; destroyed before it, it leaves the
// folder to the process (removeStaleWorkFolders cleans it up at a later start). LibreOffice is
// given the file as a file URL, under a locale that reads this program's file names
// (officeEnvironment). What LibreOffice writes goes to the program's standard error.
class OfficeSession : public QObject {
    Q_OBJECT
public:
    // How LibreOffice takes the file: as the document to view or edit, or as the template of a
    // new untitled document (its option "-n"), which the user saves wherever they like.
    enum class Opening { Document, NewDocument };

    // Opens filePath, a file that the caller has written into folder. Throws Exception when
    // LibreOffice is missing or cannot show windows; one that cannot run is told by failure()
    // once the session has ended.
    OfficeSession(std::unique_ptr<WorkFolder> folder, const QString& filePath,
                  QObject* parent = nullptr, Opening opening = Opening::Document);

    // Opens filePath of folder for the user to view: the session lives on by itself (a child of
    // the application object) and goes, with the folder, once LibreOffice has ended and ended()
    // has been told. Throws Exception as the constructor does.
    static OfficeSession* open(std::unique_ptr<WorkFolder> folder, const QString& filePath,
                               Opening opening = Opening::Document);

    const WorkFolder& folder() const { return *m_folder; }
    qint64 processId() const { return m_processId; }
    bool hasEnded() const { return m_ended; }
    // Once ended: empty when LibreOffice ended well, else one sentence for the user that says
    // how it failed and with which file.
    QString failure() const { return m_failure; }

signals:
    // LibreOffice has ended (the user closed its window); emitted once.
    void ended();

private:
    void checkProcess();
    QString readFailure() const;

    std::unique_ptr<WorkFolder> m_folder;
    QString m_fileName;
    QString m_program;
    qint64 m_processId = 0;
    bool m_ended = false;
    QString m_failure;
    QTimer m_watch;
};
