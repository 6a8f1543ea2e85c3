#pragma once

#include "store/book_kind.h"

#include <QString>

class IniFile;

// New books: a database file with the schema, the owner row and the default templates, listed
// in the INI file.

// The folder the new-book command offers first: "Databases" beside the executable, or in the
// user's data folder when the executable's folder cannot be written.
QString defaultDatabasesFolder();

// The path of the next book file in folder: "Kaltro" + N + ".fdb", N one above the greatest
// number of the files "Kaltro*.fdb" there (a name whose middle is no number counts as 0).
QString nextDatabaseFileName(const QString& folder);

// Creates a new book in folder, in this order: the database file, the creation script, the
// owner row (kind, "StoreCapt" = name, "DBVersion"), the default templates, one commit; then
// the three backups of the new file (failures are shown and the command goes on) and last its
// entry at the end of the INI list. The file is made under a name of its own and gets its name
// (nextDatabaseFileName) only once the commit is done. Any failure on the way removes the new
// file (and backups made for it) and lists nothing; the error passes on. Returns the new file's
// path.
// An empty templatesFolder means defaultTemplatesFolder(). Needs the data store.
QString createNewBook(BookKind kind, const QString& name, const QString& folder,
                      const QString& templatesFolder = QString());

// Removes what creations of books killed before they ended left (the unfinished file of
// createNewBook) in the folders of the local books of the INI list and in the default folder;
// the files of creations still running stay.
void removeLeftoverNewBooks(IniFile& ini);
