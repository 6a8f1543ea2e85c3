#pragma once

#include <QList>
#include <QString>
#include <ibase.h>

namespace fb {

class Transaction;

// One connection to a database file, as "SYSDBA" with client character set WIN1251.
//
// A path without a host ("/data/book.fdb") opens the file in this process (embedded engine);
// "host:/data/book.fdb" reaches the Firebird server on that host.
// Several transactions may be open on one attachment at the same time.
//
// Destroying or detaching an attachment first rolls back every transaction still active on it
// (see Transaction) and then detaches; statements of those transactions become unusable.
// Transactions and statements must not be used after their attachment is gone.
class Attachment {
public:
    static const char* const kUser;     // "SYSDBA"
    static const char* const kPassword; // the administrator's password
    static const char* const kCharset;  // "WIN1251"

    Attachment() = default;
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    // Attaches to an existing database; throws fb::Error.
    void attach(const QString& path);

    // Creates a new database file with SQL dialect 1 and default character set WIN1251 and stays
    // attached to it; throws fb::Error (for example when the file exists).
    void create(const QString& path);

    // Rolls back the active transactions and detaches; does nothing when not attached. When the
    // engine refuses, throws fb::Error and keeps the handle: a later detach, or the destructor,
    // tries again.
    void detach();

    bool isAttached() const { return m_handle != 0; }
    const QString& path() const { return m_path; }

    // The client handle, for the other classes of this layer.
    isc_db_handle* handle() { return &m_handle; }

private:
    friend class Transaction;
    void addTransaction(Transaction* transaction);
    void removeTransaction(Transaction* transaction);

    isc_db_handle m_handle = 0;
    QString m_path;
    QList<Transaction*> m_transactions;
};

// The bytes the client library expects for a database or file path.
QByteArray encodePath(const QString& path);

// Splits "host:/path" into host and path; host is empty for a local path
// (a single drive letter such as "C:\..." is not a host).
void splitServerPath(const QString& full, QString& host, QString& path);

} // namespace fb
