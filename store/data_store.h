#pragma once

#include "core/date_time.h"
#include "store/book_options.h"
#include "store/chosen_book.h"

#include <QObject>
#include <QString>
#include <memory>

class IniFile;
class StoreFeedback;

namespace fb {
class Attachment;
class DataSet;
class Statement;
class Transaction;
} // namespace fb

// Backup kinds; each has its folder beside the database file ("Reserv", "Yesterday", "Week").
enum class BackupKind { Reserv = 0, Yesterday = 1, Week = 2 };
inline constexpr BackupKind kBackupKinds[] = {BackupKind::Reserv, BackupKind::Yesterday,
                                              BackupKind::Week};

// The one data store of the process: the connection to the open cash book, a general
// statement with its transaction, the INI file, the help file's path, the program name and
// the logged-on user's key and data. The program has one (made by its session); a test makes
// its own. It shows no window: errors pass on as exceptions, and what it has to tell the user
// goes through the feedback of the process (StoreFeedback).
class DataStore : public QObject {
    Q_OBJECT
public:
    // iniPath: the INI file; empty means the program's own (beside the executable).
    // Becomes DataStore::instance() while it lives.
    explicit DataStore(const QString& iniPath = QString(), QObject* parent = nullptr);
    ~DataStore() override;

    // The data store of the process; Exception when there is none.
    static DataStore& instance();

    // The program's version (core/version.h), compared with the INI's "CurrVersion", and the
    // database version the program needs, compared with each book's "DBVersion" (a new book is
    // stamped with the program's version, an upgraded one with the required one). The required
    // version is the program's; a test may ask for another.
    static QString programVersion();
    static QString requiredDatabaseVersion();
    static void setRequiredDatabaseVersion(const QString& version);

    static QString backupFolder(BackupKind kind);

    // ---- The book ----
    // The book chosen at start (or by the upgrade of every listed book); none until then.
    void chooseBook(const ChosenBook& book) { m_book = book; }
    const ChosenBook& book() const { return m_book; }
    // Makes the backups of the chosen book that do not exist yet, silently; first removes what
    // copies of the program killed while they made one of its backups left in its folders.
    void makeFirstBackups();
    // Opens the chosen book; fb::Error when it cannot be opened.
    void openBook();
    // Closes the connection, chooses book and opens it.
    void reopenBook(const ChosenBook& book);

    fb::Attachment& database() { return *m_database; }
    // The database file to open, or the open one.
    QString databaseName() const;
    IniFile& ini() { return *m_ini; }
    // The options of the open book.
    BookOptions options() { return BookOptions(*this); }

    // The general statement and its transaction, for the data store's own operations and
    // callers that need one quick statement. Each use prepares it anew.
    fb::Statement& query() { return *m_query; }
    fb::Transaction& transaction() { return *m_transaction; }

    // Closes the database and makes the backups chosen in the options. A book on a server gets
    // none: when any is chosen, that is said once. When the book's file was removed or replaced
    // while open, the "Reserv" backup is made whatever the options say, from the open book
    // before it is closed, and the user is told where it is (see makeBackup).
    virtual void closeAndBackup();
    // The next primary key of a table, from its generator.
    virtual int newKey(const QString& table);
    // One field of one row by PRKEY, as text; empty when there is no row or the value is null.
    // Table and field are the program's constants, never user text.
    virtual QString fieldValue(const QString& table, const QString& field, int key);

    // A new dataset on the open database with a transaction of its own; the caller owns it.
    std::unique_ptr<fb::DataSet> createQuery();
    // Posts an edit, applies the cached updates and commits retaining; on failure rolls back
    // retaining, says "Не могу сохранить введенные данные!" and raises again.
    void postAndCommit(fb::DataSet& dataSet);
    void editIfBrowsing(fb::DataSet& dataSet);

    // ---- The program and the user ----
    QString programName() const { return m_programName; }
    void setProgramName(const QString& name) { m_programName = name; }
    QString helpFile() const { return m_helpFile; }
    // The logged-on user (USERS.PRKEY); 0 before the logon.
    int userKey() const { return m_userKey; }
    void setUserKey(int key) { m_userKey = key; }
    QString userData1() const { return m_userData1; }
    void setUserData1(const QString& data) { m_userData1 = data; }
    void loadUserData();
    // Stores the user's data into USERS.DATA1 in a short transaction of its own that waits for a
    // row another copy of the program holds (and tries again after a conflict). Only what
    // changed here since the data was loaded is written over the stored text: another copy of
    // the same user keeps what it saved meanwhile.
    void saveUserData();

    // Nobody is there to answer (the program ends on a signal): the data store's messages go to
    // the log, the standard error output, whatever feedback the process has.
    void setUnattended(bool unattended) { m_unattended = unattended; }

    // ---- Backups ----
    // Backs the database file path (the open one when empty) up into its kind's folder when the
    // kind's rule says so. The backup is written to a file of this process's own beside the old
    // one and renamed over it only when the service has finished, so a failure keeps the last
    // good copy and two copies of the program never meet; the files that copies killed while
    // they made this backup left beside it go first. The backup gets the book's permissions
    // or fewer; an older backup kept by the rule loses permissions the book does not give.
    // When path is the open book and its file was removed or replaced meanwhile, the backup is
    // made from the open book itself, through the engine's open descriptor, and (unless silent)
    // the user is told that the file is gone and where the backup is.
    // Failures are shown unless silent; the caller goes on either way. A book on a server
    // (ChosenBook::onServer) is not backed up: its file is on the server's machine; unless
    // silent, that is said.
    void makeBackup(BackupKind kind, const QString& path, bool silent);
    // The backup file of a database for a kind folder; empty for a book on a server.
    static QString backupPath(const QString& databasePath, const QString& folder);
    // The kind's rule: true when a backup is due for an existing file of that date.
    static bool backupDue(BackupKind kind, DateTime fileDate, DateTime now);

private:
    // False when the INI's [DB] Backup=0 switches every backup off.
    bool backupsSwitchedOn() const;
    // makeBackup without the word about a removed book file: returns the backup made from the
    // open book whose file is gone, empty otherwise.
    QString makeBackupFile(BackupKind kind, const QString& path, bool silent);
    // The file a backup of database reads: database itself, or the open book's file through the
    // engine's descriptor when database is the open book and its file is gone; empty when
    // there is nothing to back up.
    QString backupSource(const QString& database) const;
    void sayBookFileGone(const QString& path, const QStringList& backups);
    void sayNoServerBackups(const QString& path);
    // The feedback of the process, or the log when unattended.
    StoreFeedback& feedback() const;
    void report(const QString& text, const QString& caption, bool error);
    void writeUserData();

    ChosenBook m_book;
    int m_userKey = 0;
    QString m_userData1;
    QString m_loadedUserData1; // as read from (or last written to) the book
    bool m_unattended = false;
    QString m_programName;
    QString m_helpFile;
    std::unique_ptr<IniFile> m_ini;
    std::unique_ptr<fb::Attachment> m_database;
    std::unique_ptr<fb::Transaction> m_transaction;
    std::unique_ptr<fb::Statement> m_query;
};
