#pragma once

#include <ibase.h>

namespace fb {

class Attachment;

enum class TransactionKind {
    // read_committed, rec_version, nowait, read-write: for every change.
    Write,
    // read_committed, rec_version, nowait, read-only: for browsing.
    ReadOnly,
};

// A transaction on one attachment.
//
// Ownership rule, the same everywhere in the program: destroying a Transaction that is
// still active ROLLS IT BACK. An owner that did not commit did not finish its work;
// callers commit explicitly (commit() or commitRetaining()). Detaching the attachment
// rolls back its active transactions the same way.
class Transaction {
public:
    explicit Transaction(Attachment& attachment, TransactionKind kind = TransactionKind::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Starts the transaction; throws fb::Error when it is already active or the start fails.
    void start();
    // Starts it unless it is active already.
    void ensureStarted();

    void commit();
    void commitRetaining(); // commits and stays active with the same handle
    void rollback();
    void rollbackRetaining(); // undoes and stays active with the same handle

    bool isActive() const { return m_handle != 0; }
    TransactionKind kind() const { return m_kind; }
    Attachment& attachment() { return *m_attachment; }

    // The client handle, for the other classes of this layer.
    isc_tr_handle* handle() { return &m_handle; }

private:
    friend class Attachment;
    void requireActive(const char* operation) const;
    void rollbackQuietly(); // rollback that never throws, for destructors and detach
    void forgetAttachment();

    Attachment* m_attachment;
    TransactionKind m_kind;
    isc_tr_handle m_handle = 0;
};

} // namespace fb
