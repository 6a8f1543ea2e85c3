#pragma once

#include <ibase.h>
#include <memory>

namespace fb {

class Attachment;

enum class TransactionKind {
    // read_committed, rec_version, nowait, read-write: for every change.
    Write,
    // read_committed, rec_version, nowait, read-only: for browsing.
    ReadOnly,
    // read_committed, rec_version, read-write, waiting up to kLockWaitSeconds for a row that
    // another transaction holds: for a short write that must not fail on a concurrent one.
    WriteWaiting,
};

inline constexpr int kLockWaitSeconds = 5;

namespace detail {

struct Connection;

// A transaction's handle and the connection it runs on, shared by the Transaction that owns it
// and the statements that run in it. Whichever goes first, the others find out: a transaction
// whose attachment is detached or destroyed, and a statement whose Transaction is destroyed,
// throw fb::Error instead of using a dead handle.
class TransactionState final {
public:
    TransactionState(std::shared_ptr<Connection> connection, TransactionKind kind);
    ~TransactionState();
    TransactionState(const TransactionState&) = delete;
    TransactionState& operator=(const TransactionState&) = delete;

    void start();
    void ensureStarted();
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();
    void rollbackQuietly(); // rollback that never throws, for destructors and detach
    // The owning Transaction is gone: rolls back, and every later start throws.
    void close();

    bool isActive() const { return m_handle != 0; }
    isc_tr_handle* handle() { return &m_handle; }
    // The connection's handle; throws fb::Error when the attachment is detached or gone.
    isc_db_handle* databaseHandle();
    // Which attach of the connection is current (see Connection).
    int generation() const;
    // True while the connection of that attach is open: a statement's handle lives as long.
    bool connectionOpen(int generation) const;

private:
    void requireActive(const char* operation) const;

    std::shared_ptr<Connection> m_connection;
    TransactionKind m_kind;
    isc_tr_handle m_handle = 0;
    bool m_closed = false;
};

} // namespace detail

// A transaction on one attachment.
//
// Ownership rule, the same everywhere in the program: destroying a Transaction that is
// still active ROLLS IT BACK. An owner that did not commit did not finish its work;
// callers commit explicitly (commit() or commitRetaining()). Detaching the attachment
// rolls back its active transactions the same way. Moving a transaction takes its statements
// along; the moved-from object is empty (inactive, and any start throws).
class Transaction final {
public:
    explicit Transaction(Attachment& attachment, TransactionKind kind = TransactionKind::Write);
    ~Transaction();
    Transaction(Transaction&& other) noexcept = default;
    Transaction& operator=(Transaction&& other) noexcept;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Starts the transaction; throws fb::Error when it is already active, when the attachment
    // is detached or gone, or when the start fails.
    void start();
    // Starts it unless it is active already.
    void ensureStarted();

    void commit();
    void commitRetaining(); // commits and stays active with the same handle
    void rollback();
    void rollbackRetaining(); // undoes and stays active with the same handle

    bool isActive() const { return m_state && m_state->isActive(); }

private:
    friend class Statement;
    detail::TransactionState& state();

    std::shared_ptr<detail::TransactionState> m_state;
};

} // namespace fb
