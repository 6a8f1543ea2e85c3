#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <unistd.h>

namespace testsupport {

// The folder of this user's work folders, as WorkFolder makes them.
inline QString workFoldersRoot() {
    return QDir::tempPath() + QStringLiteral("/kaltro-%1").arg(getuid());
}

// The work folders that are there now: those left behind after a test.
inline QStringList leftWorkFolders() {
    return QDir(workFoldersRoot()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace testsupport
