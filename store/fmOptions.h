#pragma once

#include "shell/fmPane.h"

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

// The options of the open book: key=value text in ETC of the owner row of PARTS (PRKEY 0).
// The class-level accessors read and write single keys through the data store; nothing is
// cached, so two running copies see each other's options at the next read.
//
// The pane itself: a tree of the option pages on the left, the page chosen on the right. The
// options are loaded when the pane is embedded and saved when it closes. Descendants add their
// pages to pgctrlOptions in their constructor (a page may hold a page control of its own,
// whose pages become child nodes) and their keys in LoadSettings and SaveSettings.
class TfrmOptions : public TfrmPane {
    Q_OBJECT
public:
    explicit TfrmOptions(QWidget* owner = nullptr);

    static QString GetOption(const QString& key);
    static void SetOption(const QString& key, const QString& value);

    // Flags are stored as "-1" and "0"; any text that is no Boolean reads as true.
    static bool GetReservBackupFlag();
    static bool GetYesterdayBackupFlag();
    static bool GetWeekBackupFlag();
    static QString GetStoreCapt();
    static QString GetStoreCurrency(); // "грн." when empty
    static int GetKibitzDelay();       // 500 when not an integer
    static QString GetRezFolder();

    // The Boolean reading of a stored text: a number (0 false, else true), or the words
    // True/False in any case; everything else gives true.
    static bool TextToFlag(const QString& text);

    // Builds the tree of pages anew, one node per page.
    void Prepare() override;
    // Loads the options, then embeds the pane.
    void Embed(TPaneInfo* paneInfo) override;
    virtual void LoadSettings();
    // Stores every option of the pane. The caption of the book goes to its own entry of the
    // INI list (found by the book's file) and to the main window's titles. An extra backup
    // folder must be a full path (else it is refused and the old one kept); a missing one is
    // created. Errors raise Exception with the message for the user; what was stored before
    // stays stored.
    virtual void SaveSettings();

    void btnSelFolderClick();
    void btnHelpClick();
    void TreeView_OptionsChange(QTreeWidgetItem* node);

    QToolButton* btnHelp = nullptr;
    QTreeWidget* TreeView_Options = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* Panel_Options = nullptr;
    QLabel* Panel_OptionsHeader = nullptr;
    QTabWidget* pgctrlOptions = nullptr;
    QWidget* tbshtGeneral = nullptr;
    QWidget* pnlCommonOptions = nullptr;
    QGroupBox* grbxBackup = nullptr;
    QCheckBox* chbxAutoWeek = nullptr;
    QCheckBox* chbxAutoYesterday = nullptr;
    QCheckBox* chbxAutoBackup = nullptr;
    QGroupBox* grbxRezCopy = nullptr;
    QLineEdit* edtRezFolder = nullptr;
    QToolButton* btnSelFolder = nullptr;
    QGroupBox* grbxDBCapt = nullptr;
    QLineEdit* edtDBCapt = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* edtStoreCurrency = nullptr;
    QWidget* pnlTimers = nullptr;
    QLineEdit* edtKibitzDelay = nullptr;

protected:
    void FormClose() override;

private:
    QWidget* buildGeneralPage();
    void addPages(QTreeWidgetItem* parent, QTabWidget* pages);
    void renameBookEntry(const QString& caption);
    void storeRezFolder(const QString& folder);

    int m_helpContext = 0;
};
