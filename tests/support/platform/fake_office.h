#pragma once

#include "tests/support/core/file_bytes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace testsupport {

// The shell functions of every fake office program: LibreOffice is given its files and folders
// as file URLs (officeFileUrl), which they make paths again.
//   from_url URL     the path of URL
//   last_file ARG... the path of the last ARG, the file to open
inline const QByteArray kFromUrl =
    R"sh(from_url() { bash -c 'p=${1#file://}; printf "%b" "${p//%/\\x}"' sh "$1"; }
last_file() { for last in "$@"; do :; done; from_url "$last"; })sh";

// An executable "soffice" in folder that runs the shell commands of script ("$@" are the
// arguments it is given; "$(dirname "$0")" is folder), with the functions of kFromUrl.
inline void putOfficeScript(const QString& folder, const QByteArray& script) {
    const QString program = QDir(folder).filePath(QStringLiteral("soffice"));
    writeFile(program, "#!/bin/sh\n" + kFromUrl + "\n" + script + "\n");
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
