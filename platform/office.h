#pragma once

#include <QProcessEnvironment>
#include <QString>

// LibreOffice serves both word-processor choices of the program (the Word and the Writer
// templates). Whether it is there is whether its program "soffice" can be started from a folder
// of PATH: looked up once per run, cheaply, and nothing is started or ended to find out.
bool officeAvailable();

// The full path of the "soffice" program that officeAvailable found; empty when there is none.
QString officeProgram();

// The same path; throws Exception telling the user that LibreOffice is missing when there is none.
QString requiredOfficeProgram();

// Whether the LibreOffice found can open windows. A window-less build (Debian's "-nogui"
// packages: the program "soffice.bin" with no window plugin "libvclplug_*" beside it) converts
// documents but would run unseen until killed when asked to show one. Any other program counts
// as able.
bool officeShowsWindows();
// Throws Exception telling the user why, when LibreOffice is missing or cannot open windows.
void requireOfficeWindows();

// The next look-up searches the folders of searchPath (written as PATH is) in place of PATH; an
// empty searchPath means PATH again.
void setOfficeSearchPath(const QString& searchPath);

// A file or folder as LibreOffice is given it on its command line: the percent-encoded URL of
// its absolute path ("file:///tmp/%D0%90%D0%BA%D1%82.odt"), all in ASCII, its letters in UTF-8
// as this program names its files; LibreOffice takes it under the locale of officeEnvironment.
QString officeFileUrl(const QString& path);

// The environment LibreOffice runs in: base, with "C.UTF-8" in place of every locale that this
// machine does not have (LANG, LC_ALL or a category's LC_...), and as the character type
// (LC_CTYPE) where that of base has another encoding than UTF-8; a locale of LC_ALL that is not
// UTF-8 passes to LANG first, since LC_ALL would override the character type. This program
// writes its file names in UTF-8, LibreOffice reads them (and the file URLs it is given) in the
// encoding of its locale: under a locale that is not installed, or not UTF-8, it could neither
// open nor write a file whose name has letters outside ASCII ("??????.xlsx" does not exist).
QProcessEnvironment
officeEnvironment(const QProcessEnvironment& base = QProcessEnvironment::systemEnvironment());
