#pragma once

#include <QString>

// Backup and restore through the Firebird service manager, as "SYSDBA".
// A database path without a host uses the embedded service manager of this process;
// "host:/path/file.fdb" uses "host:service_mgr", and the backup file is then a path on that host.
// Both wait until the service has really finished and throw fb::Error on any failure
// (missing database, impossible backup path, damaged backup, database in use).
namespace fb::services {

// Backs the database up into backupFile (no options, not verbose).
void backup(const QString& databasePath, const QString& backupFile);

// Restores backupFile into databasePath, creating the file or replacing an existing one.
void restore(const QString& backupFile, const QString& databasePath);

} // namespace fb::services
