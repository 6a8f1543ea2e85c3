#pragma once

#include "tests/support/core/file_bytes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace testsupport {

// An executable "soffice" in folder that runs the shell commands of script ("$@" are the
// arguments it is given; "$(dirname "$0")" is folder).
inline void putOfficeScript(const QString& folder, const QByteArray& script) {
    const QString program = QDir(folder).filePath(QStringLiteral("soffice"));
    writeFile(program, "#!/bin/sh\n" + script + "\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
}

// An executable "soffice" in folder that, when anybody runs it, writes the file "started"
// beside itself: the office program as a look-up sees it, and a witness of every start.
inline void putFakeOffice(const QString& folder) {
    putOfficeScript(folder, "touch \"$(dirname \"$0\")/started\"");
}

// Whether the fake office program of folder was ever run.
inline bool fakeOfficeStarted(const QString& folder) {
    return QFile::exists(QDir(folder).filePath(QStringLiteral("started")));
}

} // namespace testsupport
