#pragma once

#include <QString>

// The program block: creates the main window, whose creation runs the start-up, and runs the
// message loop while the window lives. A start-up that ends shows no window and runs no exit
// step. Once the window is up, SIGTERM, SIGINT and SIGHUP close it unattended
// (MainWindowBase::closeUnattended) and the program ends with 0; before that they end the
// process at once. Before the start-up, what copies of the program that crashed or were killed
// left behind goes: their work folders, and the unfinished files of new books in the books'
// folders (removeLeftoverNewBooks). iniPath: the INI file; empty means the program's own. Returns
// the exit code.
int runProgram(const QString& iniPath = QString());

// The INI file named by the environment variable KALTRO_INI; empty when it is not set.
QString iniPathFromEnvironment();

// The program's own locale, Russian (Russia), whatever the user's LANG: the dates, month names
// and figures that the program shows and prints read the same on every machine. Call it once at
// start, before the first window.
void useRussianLocale();

// Qt's own texts (standard buttons, the file and folder dialogs) in Russian whatever the user's
// locale, from Qt's translations of its base module; false when they are not installed. Call it
// once the application exists, before the first window.
bool loadQtTranslations();
