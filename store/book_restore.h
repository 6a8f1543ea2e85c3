#pragma once

#include <QString>

// Restores the database file path from the backup file: the backup goes into a temporary file
// beside the database, which takes the database's place only when the restore has succeeded
// and no other connection is attached to the database. Raises Exception (fb::Error from the
// service) on failure; the database is then as it was.
void restoreBook(const QString& backup, const QString& path);
