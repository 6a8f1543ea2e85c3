#pragma once

#include "store/book_list.h"
#include "store/data_store.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QWidget;

// The choice of the database at start, and, with the parameter "-dbcontrol", the manager of the
// database list: add and remove entries, restore a database from one of its three backups.
class BookChooser : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Choice, Manager };

    explicit BookChooser(Mode mode, QWidget* owner = nullptr);

    // Chooses the book to open from the first program argument (firstParam), the INI list of the
    // data store and, when needed, the user: an entry of the list, or none when the program
    // ends. With an empty list it offers to create the first book. A "B" parameter that holds no
    // number raises ConvertError.
    static ChosenBook choose(const QString& firstParam);

    // The entry index (from 0) named by a "B" + n parameter; none when the parameter is no
    // "B" parameter. Raises ConvertError when the rest is no integer.
    static std::optional<int> parseBParameter(const QString& firstParam);

    // Restores the database file path from its backup of the kind after asking the user. The backup
    // goes into a temporary file beside the database, which replaces the database only when the
    // restore has succeeded; the result is reported either way. True when the database file was
    // replaced.
    static bool restoreBackup(const QString& path, BackupKind kind, QWidget* owner = nullptr);

    // Fills the list view; the first entry becomes the current one.
    void loadBookList(const QList<BookEntry>& entries);
    // The entries as the list view shows them.
    QList<BookEntry> bookEntries() const;

    QTreeWidget* bookList() const { return m_bookList; }

private slots:
    // OK and a double click: accepts the selected entry; says so when none is selected.
    void onOkClicked();
    // Removes the selected entry from the INI list after asking; the only entry stays.
    void onDeleteClicked();
    // Appends a database file chosen by the user to the INI list; a listed file is selected
    // instead.
    void onAddClicked();
    void onRestoreReservClicked();
    void onRestoreYesterdayClicked();
    void onRestoreWeekClicked();
    // Each restore button is enabled while the selected entry has that backup.
    void onBookSelectionChanged();

private:
    void buildLayout();
    void setHelpContexts();
    void applyMode();
    // Shows the INI list as it is now, other copies' changes included; the entry at current
    // (or the last one) becomes the current one.
    void reloadBookList(int current);
    void restoreSelected(BackupKind kind);
    int selectedIndex() const;

    Mode m_mode;
    QLabel* m_titleLabel = nullptr;
    QWidget* m_okPanel = nullptr;
    QPushButton* m_okButton = nullptr;
    QWidget* m_cancelPanel = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTreeWidget* m_bookList = nullptr;
    QWidget* m_deletePanel = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QGroupBox* m_restoreGroup = nullptr;
    QPushButton* m_restoreReservButton = nullptr;
    QPushButton* m_restoreYesterdayButton = nullptr;
    QPushButton* m_restoreWeekButton = nullptr;
    QWidget* m_addPanel = nullptr;
    QPushButton* m_addButton = nullptr;
};
