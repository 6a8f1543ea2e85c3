#pragma once

#include "shell/pane.h"

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The options pane: a tree of the option pages on the left, the page chosen on the right. The
// options are loaded when the pane is embedded and saved when it closes. Descendants add their
// pages to m_optionPages in their constructor (a page may hold a page control of its own,
// whose pages become child nodes) and their keys in loadSettings and saveSettings.
class OptionsPane : public Pane {
    Q_OBJECT
public:
    explicit OptionsPane(QWidget* owner = nullptr);

    static constexpr const char* kLayoutKey = "TfrmOptions";
    QString layoutKey() const override { return QString::fromLatin1(kLayoutKey); }

    // Builds the tree of pages anew, one node per page.
    void prepare() override;
    // Loads the options, then embeds the pane.
    void embed(PaneInfo* paneInfo) override;
    virtual void loadSettings();
    // Stores every option of the pane. The caption of the book goes to its own entry of the
    // INI list (found by the book's file) and to the main window's titles. An extra backup
    // folder must be a full path (else it is refused and the old one kept); a missing one is
    // created. Errors raise Exception with the message for the user; what was stored before
    // stays stored.
    virtual void saveSettings();

    void onSelectFolderClicked();
    void onHelpTriggered();
    void onOptionsPageChanged(QTreeWidgetItem* node);

    QToolButton* m_helpButton = nullptr;
    QTreeWidget* m_pageTree = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_pagePanel = nullptr;
    QLabel* m_pageTitleLabel = nullptr;
    QTabWidget* m_optionPages = nullptr;
    QWidget* m_generalPage = nullptr;
    QWidget* m_commonOptionsPanel = nullptr;
    QGroupBox* m_backupGroup = nullptr;
    QCheckBox* m_weeklyBackupCheck = nullptr;
    QCheckBox* m_yesterdayBackupCheck = nullptr;
    QCheckBox* m_reservBackupCheck = nullptr;
    QGroupBox* m_extraBackupGroup = nullptr;
    QLineEdit* m_extraBackupFolderEdit = nullptr;
    QToolButton* m_selectFolderButton = nullptr;
    QGroupBox* m_storeCaptionGroup = nullptr;
    QLineEdit* m_storeCaptionEdit = nullptr;
    QGroupBox* m_currencyGroup = nullptr;
    QLineEdit* m_storeCurrencyEdit = nullptr;
    QWidget* m_timersPanel = nullptr;
    QLineEdit* m_lookupDelayEdit = nullptr;

protected:
    void saveOnClose() override;

private:
    QWidget* buildGeneralPage();
    void addPages(QTreeWidgetItem* parent, QTabWidget* pages);
    void renameBookEntry(const QString& caption);
    void storeExtraBackupFolder(const QString& folder);

    int m_helpContext = 0;
};
