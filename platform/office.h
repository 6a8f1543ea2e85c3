#pragma once

#include <QString>

// LibreOffice serves both word-processor choices of the program (the Word and the Writer
// templates). Whether it is there is whether its program "soffice" can be started from a folder
// of PATH: looked up once per run, cheaply, and nothing is started or ended to find out.
bool officeAvailable();

// The next officeAvailable looks again, in the folders of searchPath (written as PATH is) in
// place of PATH; an empty searchPath means PATH again.
void setOfficeSearchPath(const QString& searchPath);
