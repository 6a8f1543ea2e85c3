#pragma once

#include <QString>
#include <chrono>

// How long a conversion may take before LibreOffice is stopped.
inline constexpr std::chrono::milliseconds kConversionTimeLimit = std::chrono::minutes(2);

// Converts the document source with LibreOffice run without a window to format (a file
// extension such as "odt" or "pdf", optionally followed by ":" and a filter name) and returns
// the path of the file written, <targetFolder>/<source's base name>.<extension>; a file of that
// name already there is replaced (so targetFolder must not be the source's folder when the
// extension is the source's own). LibreOffice runs on a profile of its own, removed afterwards,
// so that a LibreOffice the user has open is neither reached nor ended; it is stopped when it
// does not finish within timeLimit. LibreOffice gets the files as file URLs, under a locale
// that reads this program's file names (officeEnvironment). Throws Exception when LibreOffice
// is missing, fails, cannot open the source, runs out of time or writes no file, its message
// one sentence that names the source's file; what
// LibreOffice wrote goes to standard error (the program's log), not into the message.
QString convertDocument(const QString& source, const QString& format, const QString& targetFolder,
                        std::chrono::milliseconds timeLimit = kConversionTimeLimit);
