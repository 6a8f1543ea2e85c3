#pragma once

#include "core/date_time.h"

#include <QIcon>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

class IniFile;
class UpgradeSteps;

namespace fb {
class Attachment;
class DataSet;
class Statement;
class Transaction;
} // namespace fb

// How the start-up of the data store ended: go on to the main window, end the program at once,
// or end it because the user declined (an upgrade, the logon). Only GoOn shows the main window;
// the other two run no later dialog and none of the exit steps.
enum class StartupEnd { GoOn, EndNow, Terminate };

// The program's version, compared with the INI's "CurrVersion"; the product sets it. (The
// database version the program needs is kRequiredDBVersion of the upgrade steps.)
extern QString programVersionText;

// The one data store of the process: the connection to the open cash book, a general
// statement with its transaction, the INI file, the help file's path, the program name and
// the logged-on user's key and data. Reached through the global dtmdlDataStoreProto.
class DataStore : public QObject {
    Q_OBJECT
public:
    // Backup kinds and their folders beside the database file.
    enum BackupKind { Reserv = 0, Yesterday = 1, Week = 2 };
    static QString backupFolder(int kind); // "Reserv", "Yesterday", "Week"

    // iniPath: the INI file; empty means the program's own (beside the executable).
    // Becomes the global dtmdlDataStoreProto while it lives.
    explicit DataStore(const QString& iniPath = QString(), QObject* parent = nullptr);
    ~DataStore() override;

    // The start-up, in this order: the program version check (a changed version runs the
    // upgrade window instead and ends), the choice of the database (firstParam: the first
    // program argument), the missing first backups, the open, the database version check,
    // the logon and the user's data. An error on the way is shown and ends the program.
    StartupEnd runStartup(UpgradeSteps& steps);
    StartupEnd runStartup(UpgradeSteps& steps, const QString& firstParam);

    // The shared 32x32 images of every tool bar, by index; an empty icon for an unknown one.
    static QIcon toolImage(int index);

    fb::Attachment& database() { return *m_database; }
    // The database file to open, or the open one.
    QString databaseName() const;
    IniFile& ini() { return *m_ini; }

    // The general statement and its transaction, for the data store's own operations and
    // callers that need one quick statement. Each use prepares it anew.
    fb::Statement& query() { return *m_query; }
    fb::Transaction& transaction() { return *m_transaction; }

    // Closes the database and makes the backups chosen in the options.
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
    // Display text of a date field: "dd.mm.yyyy", empty for null.
    static QString dateFieldText(const QVariant& value);

    QString programVersion() const;
    QString userData1() const { return m_userData1; }
    void setUserData1(const QString& data) { m_userData1 = data; }
    void loadUserData();
    void saveUserData();

    // Backs the database file path (the open one when empty) up into its kind's folder when the
    // kind's rule says so. The backup is written to a temporary file beside the old one and
    // renamed over it only when the service has finished, so a failure keeps the last good copy.
    // Failures are shown unless silent; the caller goes on either way.
    void makeBackup(const QString& folder, int kind, const QString& path, bool silent);
    // The backup file of a database for a kind folder.
    static QString backupPath(const QString& databasePath, const QString& folder);
    // The kind's rule: true when a backup is due for an existing file of that date.
    static bool backupDue(int kind, DateTime fileDate, DateTime now);

    // Closes the connection and opens another database file.
    void reopenDatabase(const QString& path);

    int m_userKey = 0;
    QString m_programName;
    int m_storeIndex = 0;
    QString m_helpFile;

private:
    StartupEnd runStartupSteps(UpgradeSteps& steps, const QString& firstParam);
    void makeFirstBackups();
    bool openDatabase();

    QString m_databaseName;
    QString m_userData1;
    std::unique_ptr<IniFile> m_ini;
    std::unique_ptr<fb::Attachment> m_database;
    std::unique_ptr<fb::Transaction> m_transaction;
    std::unique_ptr<fb::Statement> m_query;
};

extern DataStore* dtmdlDataStoreProto;
