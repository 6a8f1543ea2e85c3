#pragma once

#include "store/chosen_book.h"
#include "store/upgrade_steps.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class DataStore;
class RunningCopy;

// How the start-up ended: go on to the main window, end the program at once, or end it because
// the user declined (an upgrade, the logon). Only GoOn shows the main window; the other two run
// no later dialog and none of the exit steps.
enum class StartupEnd { GoOn, EndNow, Terminate };

// The program's session on its books, apart from any window. It owns the data store (which is
// DataStore::instance() while the session lives) and the upgrade steps, and runs:
// - the start-up, in this order: the program version check (a changed version runs the upgrade
//   window instead and ends), the choice of the book, its missing first backups, the open, the
//   book's version check, the logon and the user's data;
// - while the program runs, the switch to the other books of the INI list, and the answers to
//   other running copies that look for this book;
// - the exit steps: the user's data saved, the book closed with the backups its options choose,
//   the backup folders copied to the extra folder of the options.
// It asks the user through the dialogs of the start-up and shows its errors; a main window shows
// the rest of what it reports.
class Session : public QObject {
    Q_OBJECT
public:
    // iniPath: the INI file of the data store; empty means the program's own.
    explicit Session(const QString& iniPath = QString(), QObject* parent = nullptr);
    ~Session() override;

    DataStore& store() { return *m_store; }
    // Registered before the start-up: the program version check may run them.
    UpgradeSteps& upgradeSteps() { return m_upgradeSteps; }

    // The start-up with the program's own first argument, or with firstParam. An error on the
    // way is shown and ends the program.
    StartupEnd start();
    StartupEnd start(const QString& firstParam);
    // From a start-up that went on until the exit steps.
    bool isRunning() const { return m_running; }
    // The book the start-up chose; none before, and when the start-up ended without one.
    const ChosenBook& book() const;

    // From now on another running copy that looks for this book raises this one
    // (raiseRequested).
    void answerOtherCopies();

    // ---- The books of the INI list, for the switch ----
    // The captions as the start-up read them, each cut to 128 characters.
    QStringList bookCaptions() const { return m_bookCaptions; }
    // The book of entry index: this copy's own book raises this copy (raiseRequested), a book
    // open in another running copy raises that copy, any other starts a copy of the program with
    // the argument "B" + (index + 1); a copy that cannot be started is said.
    void switchToBook(int index);
    // The program that the switch starts; this executable unless a test says otherwise.
    QString copyProgram() const { return m_copyProgram; }
    void setCopyProgram(const QString& program) { m_copyProgram = program; }

    // ---- The end ----
    // The exit steps, once, after a start-up that went on. Their errors are shown; unattended
    // (the program ends on a signal, nobody is there to answer) they go to the log. Between the
    // user's data and the close, closingBook lets a window show that the program is ending.
    void finish(bool unattended);

signals:
    // Another running copy looked for this book, or the user switched to it.
    void raiseRequested();
    // The user's data is saved; the close of the book with its backups, which holds up the event
    // loop, comes next.
    void closingBook();

private:
    StartupEnd runStartup(const QString& firstParam);
    bool openBook();
    void loadBookCaptions();
    void copyBackupFolder(const QString& kindFolder, const QString& extraFolder,
                          const QString& bookFolder);
    // runGuarded, or runLogged while finishing unattended.
    bool runReporting(const std::function<void()>& action);

    std::unique_ptr<DataStore> m_store;
    UpgradeSteps m_upgradeSteps;
    RunningCopy* m_runningCopy = nullptr;
    QStringList m_bookCaptions;
    QString m_copyProgram;
    bool m_running = false;
    bool m_unattended = false;
};
