#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QWidget;
class UpgradeSteps;

// The upgrade window, shown at start when the program version has changed: the versions, the
// list of changes and "Начать обновление...", which upgrades every book of the INI list
// (BookUpgrade) and stores the new version; the program ends after it, whether the run was made
// or not. Needs the data store (its INI and its connection).
class UpgradeWindow : public QDialog {
    Q_OBJECT
public:
    // The list of changes of this version: "Changes.txt" beside the executable, empty when missing.
    // The window shows it where the help file has no topic of the upgrade.
    static QString changeList();

    explicit UpgradeWindow(UpgradeSteps& steps, QWidget* owner = nullptr);
    ~UpgradeWindow() override;

    QLabel* targetVersionLabel() const { return m_targetVersionLabel; }
    QLabel* sourceVersionLabel() const { return m_sourceVersionLabel; }
    // The change list, or, in its place, the help file's topic of the upgrade.
    QPlainTextEdit* versionInfoView() const { return m_versionInfoView; }
    QTextBrowser* updateTopicBrowser() const { return m_updateTopicBrowser; }
    QPushButton* beginButton() const { return m_beginButton; }

private slots:
    // "Начать обновление...": every listed book, from the INI's version for books without one
    // (BookUpgrade::upgradeEveryBook); the window closes when the run went through, and stays
    // with the error shown when not.
    void onBeginClicked();

private:
    void buildLayout();
    void loadChanges();

    UpgradeSteps& m_steps;
    QLabel* m_targetVersionLabel = nullptr;
    QLabel* m_sourceVersionLabel = nullptr;
    QPlainTextEdit* m_versionInfoView = nullptr;
    QTextBrowser* m_updateTopicBrowser = nullptr;
    QPushButton* m_beginButton = nullptr;
};
