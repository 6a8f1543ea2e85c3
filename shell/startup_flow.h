#pragma once

#include <QString>

class DataStore;
class UpgradeSteps;

// How the start-up ended: go on to the main window, end the program at once, or end it because
// the user declined (an upgrade, the logon). Only GoOn shows the main window; the other two run
// no later dialog and none of the exit steps.
enum class StartupEnd { GoOn, EndNow, Terminate };

// The start-up of the program on its data store, in this order: the program version check (a
// changed version runs the upgrade window instead and ends), the choice of the book (firstParam:
// the first program argument), the missing first backups, the open, the book's version check,
// the logon and the user's data. An error on the way is shown and ends the program.
class StartupFlow {
public:
    StartupFlow(DataStore& store, UpgradeSteps& steps) : m_store(store), m_steps(steps) {}

    // With the program's own first argument.
    StartupEnd run();
    StartupEnd run(const QString& firstParam);

private:
    StartupEnd runSteps(const QString& firstParam);
    bool openBook();

    DataStore& m_store;
    UpgradeSteps& m_steps;
};
