#pragma once

#include <QString>
#include <chrono>

// Backup and restore through the Firebird service manager, as "SYSDBA".
// A database path without a host uses the embedded service manager of this process;
// "host:/path/file.fdb" uses "host:service_mgr", and the backup file is then a path on that host.
// Both wait until the service has really finished and throw fb::Error on any failure
// (missing database, impossible backup path, damaged backup, database in use), and when the
// service has not finished within the time limit (it may then still be running).
namespace fb::services {

// How long backup and restore wait for the service to finish.
inline constexpr std::chrono::milliseconds kTimeLimit = std::chrono::minutes(10);

// Backs the database up into backupFile (no options, not verbose).
void backup(const QString& databasePath, const QString& backupFile,
            std::chrono::milliseconds timeLimit = kTimeLimit);

// Restores backupFile into databasePath, creating the file or replacing an existing one.
void restore(const QString& backupFile, const QString& databasePath,
             std::chrono::milliseconds timeLimit = kTimeLimit);

// Reads one answer of the service manager to a query for the next line of its output: true when
// the service has finished (an empty line and nothing more), false when there is more to ask
// for (a line, an answer cut short, no output yet). Throws fb::Error for an answer of any
// other kind.
bool serviceFinished(const char* answer, int size);

} // namespace fb::services
