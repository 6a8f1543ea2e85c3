#pragma once

#include <QString>
#include <functional>

// The database scripts the program carries: the creation script "SQL_NEWDB" and the upgrade
// scripts "UPDATE_TO_208" ... "UPDATE_TO_217".

// The text of a carried script; Exception for a name the program does not carry.
QString carriedScript(const QString& name);

// Runs a script text on the data store's open database; on failure the error passes on. The
// program's runner goes through the SQL console, which shows the script when it fails.
using ScriptRunner = std::function<void(const QString& scriptText)>;
