#pragma once

#include <QString>

class QWidget;

// The database scripts the program carries: the creation script "SQL_NEWDB" and the upgrade
// scripts "UPDATE_TO_208" ... "UPDATE_TO_217".

// The text of a carried script; Exception for a name the program does not carry.
QString carriedScript(const QString& name);

// Runs a carried script on the data store's open database through the SQL console
// (without showing it; on failure the console shows the script and the error passes on).
void runCarriedScript(const QString& name, QWidget* owner = nullptr);

// Runs a script text the same way.
void runScript(const QString& text, QWidget* owner = nullptr);
