#pragma once

#include "core/numbers.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QWidget;
class IniFile;
class UpgradeSteps;

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
class UpgradeWindow : public QDialog {
    Q_OBJECT
public:
    // The list of changes of this version: "Changes.txt" beside the executable, empty when missing.
    // The window shows it where the help file has no topic of the upgrade.
    static QString changeList();

    explicit UpgradeWindow(UpgradeSteps& steps, QWidget* owner = nullptr);
    ~UpgradeWindow() override;

    // True when the INI's "CurrVersion" differs from the program version, except on a fresh
    // machine (no "CurrVersion", no listed book): the version is stored and false returned.
    static bool hasVersionChanged(IniFile& ini);
    // Shows the window modally; the program ends after it, whether the run was made or not.
    static void showModalUpgrade(UpgradeSteps& steps, QWidget* owner);
    // For the book opened at start: a missing "DBVersion" is stamped with the required one;
    // an older book asks whether to upgrade it and, on OK, upgrades it. True when the start goes
    // on (the book is not older); false when the program ends: the user said Cancel, or the
    // book was upgraded (the message asks to start the program again). Errors pass on.
    static bool upgradeOpenDatabase(UpgradeSteps& steps, QWidget* owner);

    QLabel* targetVersionLabel() const { return m_targetVersionLabel; }
    QLabel* sourceVersionLabel() const { return m_sourceVersionLabel; }
    // The change list, or, in its place, the help file's topic of the upgrade.
    QPlainTextEdit* versionInfoView() const { return m_versionInfoView; }
    QTextBrowser* updateTopicBrowser() const { return m_updateTopicBrowser; }
    QPushButton* beginButton() const { return m_beginButton; }

private slots:
    // "Начать обновление...": every listed book, from the INI's version for books without one.
    // A "CurrVersion" that is no number raises ConvertError and nothing is done.
    void onBeginClicked();

private:
    void buildLayout();
    void loadChanges();
    // INI "Version"/"CurrVersion" := the program version, "Startup"/"NoStartupDialog" := 0.
    void saveProgramVersion();
    // Every listed book when allDatabases, else the open one.
    void upgradeDatabases(bool allDatabases, Currency fromVersion);
    // upgradeDatabases, saveProgramVersion, the message "Обновление завершено.", then the window
    // closes; an error passes on and nothing after it runs.
    void upgrade(bool allDatabases, Currency fromVersion);
    // The open book only; fromVersion stands for a missing "DBVersion".
    void upgradeBook(Currency fromVersion);
    void refuseBook(const QString& text);

    UpgradeSteps& m_steps;
    QLabel* m_targetVersionLabel = nullptr;
    QLabel* m_sourceVersionLabel = nullptr;
    QPlainTextEdit* m_versionInfoView = nullptr;
    QTextBrowser* m_updateTopicBrowser = nullptr;
    QPushButton* m_beginButton = nullptr;
};
