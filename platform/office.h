#pragma once

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
