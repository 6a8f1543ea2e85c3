#pragma once

#include "util/SysUtPlus.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class TIniFile;
class TUpdateSteps;

// The upgrade window: a new program version upgrades every book of the INI list, then stores
// the new version; the program ends after it. Also runs the upgrade of the one book opened at
// start when it is older than the program needs.
//
// Each book is upgraded from its own "DBVersion" (the version passed in only where a book has
// none), backed up before it changes, stamped after every step so that a rerun resumes, and
// stamped with the required version at the end. A book already at the required version is left
// alone; a newer one is never lowered, and one whose version is no number is not guessed at:
// either is named in a message and skipped.
// Needs the data store (its INI and its connection).
class TfrmUpdate : public QDialog {
    Q_OBJECT
public:
    // The list of changes of this version: "Changes.txt" beside the executable, empty when missing.
    static QString ChangeList();

    explicit TfrmUpdate(TUpdateSteps& steps, QWidget* owner = nullptr);
    ~TfrmUpdate() override;

    // INI "Version"/"CurrVersion" := the program version, "Startup"/"NoStartupDialog" := 0.
    virtual void SaveVersion();
    // Every listed book when allDatabases, else the open one.
    virtual void UpgradeDatabases(bool allDatabases, Currency fromVersion);
    // UpgradeDatabases, SaveVersion, the message "Обновление завершено.", then the window closes;
    // an error passes on and nothing after it runs.
    void Upgrade(bool allDatabases, Currency fromVersion);
    // The open book only; fromVersion stands for a missing "DBVersion".
    void UpgradeBook(Currency fromVersion);

    // "Начать обновление...": every listed book, from the INI's version for books without one.
    // A "CurrVersion" that is no number raises EConvertError and nothing is done.
    void btnBeginClick();

    // True when the INI's "CurrVersion" differs from the program version, except on a fresh
    // machine (no "CurrVersion", no listed book): the version is stored and false returned.
    static bool VersionChanged(TIniFile& ini);
    // Shows the window modally; the program ends after it, whether the run was made or not.
    static void ShowModalUpgrade(TUpdateSteps& steps, QWidget* owner);
    // For the book opened at start: a missing "DBVersion" is stamped with the required one;
    // an older book asks whether to upgrade it and, on OK, upgrades it. True when the start goes
    // on (the book is not older); false when the program ends: the user said Cancel, or the
    // book was upgraded (the message asks to start the program again). Errors pass on.
    static bool UpgradeOpenDatabase(TUpdateSteps& steps, QWidget* owner);

    QLabel* lblDestVersion() const { return m_destVersion; }
    QLabel* lblSourceVersion() const { return m_sourceVersion; }
    QPlainTextEdit* mmVersionInfo() const { return m_versionInfo; }
    QPushButton* btnBegin() const { return m_begin; }

private:
    void buildLayout();
    void loadChanges();
    void refuseBook(const QString& text);

    TUpdateSteps& m_steps;
    QLabel* m_destVersion = nullptr;
    QLabel* m_sourceVersion = nullptr;
    QPlainTextEdit* m_versionInfo = nullptr;
    QPushButton* m_begin = nullptr;
};
