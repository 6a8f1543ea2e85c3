#pragma once

#include "shell/pane.h"

#include <QString>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

// The options pane: a tree of the option pages on the left, the page chosen on the right. The
// options are loaded when the pane is embedded and saved when it closes. Descendants add their
// pages to optionPages() in their constructor (a page may hold a page control of its own,
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
    void embed(std::unique_ptr<PaneInfo> paneInfo) override;

    // The help topic of the page shown.
    QAction* helpAction() const { return m_helpAction; }
    QAction* selectFolderAction() const { return m_selectFolderAction; }
    QTreeWidget* pageTree() const { return m_pageTree; }
    // The caption of the page shown, above it.
    QLabel* pageTitleLabel() const { return m_pageTitleLabel; }
    // The pages; the tree chooses among them.
    QTabWidget* optionPages() const { return m_optionPages; }
    QWidget* generalPage() const { return m_generalPage; }
    QCheckBox* weeklyBackupCheck() const { return m_weeklyBackupCheck; }
    QCheckBox* yesterdayBackupCheck() const { return m_yesterdayBackupCheck; }
    QCheckBox* reservBackupCheck() const { return m_reservBackupCheck; }
    QLineEdit* extraBackupFolderEdit() const { return m_extraBackupFolderEdit; }
    QGroupBox* storeCaptionGroup() const { return m_storeCaptionGroup; }
    QLineEdit* storeCaptionEdit() const { return m_storeCaptionEdit; }
    QLineEdit* storeCurrencyEdit() const { return m_storeCurrencyEdit; }
    QLineEdit* lookupDelayEdit() const { return m_lookupDelayEdit; }

protected:
    // Adds a descendant's options to the general page, below those before them.
    void addGeneralOptions(QWidget* options);
    virtual void loadSettings();
    // Stores every option of the pane. The caption of the book goes to its own entry of the
    // INI list (found by the book's file) and to the main window's titles. An extra backup
    // folder must be a full path (else it is refused and the old one kept); a missing one is
    // created. Errors raise Exception with the message for the user; what was stored before
    // stays stored.
    virtual void saveSettings();
    void saveOnClose() override;

private slots:
    // "Выбрать": the folder dialog for the extra backup folder.
    void onSelectFolderTriggered();
    void onHelpTriggered();
    void onOptionsPageChanged(QTreeWidgetItem* node);

private:
    QWidget* buildGeneralPage();
    void addPages(QTreeWidgetItem* parent, QTabWidget* pages);
    void renameBookEntry(const QString& caption);
    void storeExtraBackupFolder(const QString& folder);

    QAction* m_helpAction = nullptr;
    QAction* m_selectFolderAction = nullptr;
    QTreeWidget* m_pageTree = nullptr;
    QLabel* m_pageTitleLabel = nullptr;
    QTabWidget* m_optionPages = nullptr;
    QWidget* m_generalPage = nullptr;
    QCheckBox* m_weeklyBackupCheck = nullptr;
    QCheckBox* m_yesterdayBackupCheck = nullptr;
    QCheckBox* m_reservBackupCheck = nullptr;
    QLineEdit* m_extraBackupFolderEdit = nullptr;
    QVBoxLayout* m_generalOptionsLayout = nullptr;
    QGroupBox* m_storeCaptionGroup = nullptr;
    QLineEdit* m_storeCaptionEdit = nullptr;
    QLineEdit* m_storeCurrencyEdit = nullptr;
    QLineEdit* m_lookupDelayEdit = nullptr;

    int m_helpContext = 0;
};
