#pragma once

#include <QList>
#include <QString>
#include <ibase.h>
#include <memory>

namespace fb {

namespace detail {

class TransactionState;

// What an attachment shares with its transactions and their statements, so that they find out
// when it is gone instead of using a dead handle: the handle is 0 while detached and for good
// once the attachment is destroyed. The generation counts the attaches, so that a statement
// prepared on an earlier connection knows its handle died with it.
struct Connection {
    isc_db_handle handle = 0;
    int generation = 0;
    QString path;
    // The file attached, for a local path: its device and inode, read at the attach.
    bool fileKnown = false;
    quint64 fileDevice = 0;
    quint64 fileInode = 0;
    QList<TransactionState*> transactions; // those of the living Transaction objects
};

} // namespace detail

// One connection to a database file, as "SYSDBA" with client character set WIN1251.
//
// A path without a host ("/data/book.fdb") opens the file in this process (embedded engine);
// "host:/data/book.fdb" reaches the Firebird server on that host (see DatabaseLocation).
// Several transactions may be open on one attachment at the same time.
//
// Destroying or detaching an attachment first rolls back every transaction still active on it
// (see Transaction) and then detaches. A transaction or statement used while its attachment is
// detached or gone throws fb::Error. Moving an attachment takes its transactions along; the
// moved-from object is detached.
class Attachment final {
public:
    static const char* const kUser;     // "SYSDBA"
    static const char* const kPassword; // the administrator's password
    static const char* const kCharset;  // "WIN1251"

    Attachment() = default;
    ~Attachment();
    Attachment(Attachment&& other) noexcept = default;
    Attachment& operator=(Attachment&& other) noexcept;
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

    bool isAttached() const { return m_connection && m_connection->handle != 0; }
    QString path() const { return m_connection ? m_connection->path : QString(); }

    // For a database file of this machine: true when the path no longer names the file attached
    // (it was removed, renamed away or replaced by another file while attached). The engine keeps
    // working on the file it opened, which nothing reaches by its name any more.
    bool fileReplaced() const;
    // A path that opens the file attached, while attached: the path itself while it still names
    // the file, else the engine's own open descriptor of it (/proc/self/fd/N), which reaches the
    // file also after it was removed. Empty for a book on a server and when not attached.
    QString openFilePath() const;

    // The client handle, for the other classes of this layer.
    isc_db_handle* handle() { return &connection().handle; }

private:
    friend class Transaction;
    std::shared_ptr<detail::Connection> sharedConnection();
    detail::Connection& connection() { return *sharedConnection(); }
    void requireDetached() const;
    void connected(isc_db_handle handle, const QString& path);
    void close() noexcept;

    std::shared_ptr<detail::Connection> m_connection;
};

// The bytes the client library expects for a database or file path.
QByteArray encodePath(const QString& path);

} // namespace fb
