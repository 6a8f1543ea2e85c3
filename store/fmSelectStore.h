#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QWidget;
class TIniFile;

// One entry of the database list, section "DB" of the INI file.
struct TStoreEntry {
    QString caption; // as shown: the INI caption, or the file name when that is blank
    QString path;
};

// The choice of the database at start, and, with the parameter "-dbcontrol", the manager of the
// database list: add and remove entries, restore a database from one of its three backups.
class TfrmSelectStore : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Choice, Manager };

    explicit TfrmSelectStore(Mode mode, QWidget* owner = nullptr);

    // Chooses the database to open from the first program argument, the INI list of the data
    // store and, when needed, the user. True: open path, entry storeIndex (from 0) of the list.
    // False: the program ends. With an empty list it offers to create the first book.
    // A "B" parameter that holds no number raises EConvertError.
    static bool Execute(QString& path, int& storeIndex);
    static bool Execute(const QString& firstParam, QString& path, int& storeIndex);

    // The entry index (from 0) named by a "B" + n parameter; none when the parameter is no
    // "B" parameter. Raises EConvertError when the rest is no integer.
    static std::optional<int> ParseBParameter(const QString& firstParam);

    // The list as the INI file holds it.
    static QList<TStoreEntry> ReadStoreList(const TIniFile& ini);

    // Restores the database file path from its backup of the kind folder kind ("Reserv",
    // "Yesterday" or "Week") after asking the user. The backup goes into a temporary file beside
    // the database, which replaces the database only when the restore has succeeded; the result
    // is reported either way. True when the database file was replaced.
    static bool RestoreBackup(const QString& path, const QString& kind, QWidget* owner = nullptr);

    // Fills the list view; the first entry becomes the current one.
    void LoadStoreList(const QList<TStoreEntry>& entries);
    // Rewrites the INI list from the list view, dense, in display order.
    void SaveStoreList();
    // The entries as the list view shows them.
    QList<TStoreEntry> StoreList() const;

    void btnOKClick();
    void btnDeleteClick();
    void btnAddClick();
    void btnRestoreReservClick();
    void btnRestoreYesterdayClick();
    void btnRestoreWeekClick();
    void liviStoresChange();

    QTreeWidget* liviStores() const { return m_liviStores; }

private:
    void buildLayout();
    void FormCreate();
    void restoreSelected(const QString& kind);
    int selectedIndex() const;

    Mode m_mode;
    QLabel* m_lblTitle = nullptr;
    QWidget* m_pnlOK = nullptr;
    QPushButton* m_btnOK = nullptr;
    QWidget* m_pnlCancel = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QTreeWidget* m_liviStores = nullptr;
    QWidget* m_pnlDelete = nullptr;
    QPushButton* m_btnDelete = nullptr;
    QGroupBox* m_grbxRestore = nullptr;
    QPushButton* m_btnRestoreReserv = nullptr;
    QPushButton* m_btnRestoreYesterday = nullptr;
    QPushButton* m_btnRestoreWeek = nullptr;
    QWidget* m_pnlAdd = nullptr;
    QPushButton* m_btnAdd = nullptr;
};
