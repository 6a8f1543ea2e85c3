#include "platform/firebird/transaction.h"

#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "platform/firebird/param_block.h"

namespace fb {

namespace {

// The layout isc_start_multiple expects for each database of a transaction.
struct TransactionBlock {
    isc_db_handle* database;
    long length;
    const char* tpb;
};

ParamBlock transactionBlock(TransactionKind kind) {
    ParamBlock tpb(isc_tpb_version3);
    tpb.addTag(kind == TransactionKind::ReadOnly ? isc_tpb_read : isc_tpb_write);
    tpb.addTag(isc_tpb_read_committed);
    tpb.addTag(isc_tpb_rec_version);
    tpb.addTag(isc_tpb_nowait);
    return tpb;
}

} // namespace

Transaction::Transaction(Attachment& attachment, TransactionKind kind)
    : m_attachment(&attachment), m_kind(kind) {
    m_attachment->addTransaction(this);
}

Transaction::~Transaction() {
    rollbackQuietly();
    if (m_attachment)
        m_attachment->removeTransaction(this);
}

void Transaction::start() {
    if (!m_attachment || !m_attachment->isAttached())
        throw Error(QStringLiteral("Нет подключения к базе данных"));
    if (isActive())
        throw Error(QStringLiteral("Транзакция уже запущена"));
    const ParamBlock tpb = transactionBlock(m_kind);
    TransactionBlock block{m_attachment->handle(), tpb.size(), tpb.data()};
    Status status;
    isc_start_multiple(status, &m_handle, 1, &block);
    if (failed(status)) {
        m_handle = 0;
        throw errorFromStatus(status);
    }
}

void Transaction::ensureStarted() {
    if (!isActive())
        start();
}

void Transaction::requireActive(const char* operation) const {
    if (!isActive())
        throw Error(QStringLiteral("Транзакция не запущена (%1)").arg(QLatin1String(operation)));
}

void Transaction::commit() {
    requireActive("commit");
    Status status;
    isc_commit_transaction(status, &m_handle);
    check(status);
    m_handle = 0;
}

void Transaction::commitRetaining() {
    requireActive("commit retaining");
    Status status;
    isc_commit_retaining(status, &m_handle);
    check(status);
}

void Transaction::rollback() {
    requireActive("rollback");
    Status status;
    isc_rollback_transaction(status, &m_handle);
    check(status);
    m_handle = 0;
}

void Transaction::rollbackRetaining() {
    requireActive("rollback retaining");
    Status status;
    isc_rollback_retaining(status, &m_handle);
    check(status);
}

void Transaction::rollbackQuietly() {
    if (!isActive())
        return;
    Status status;
    isc_rollback_transaction(status, &m_handle);
    // When the rollback fails (connection lost) the handle is dead either way.
    m_handle = 0;
}

void Transaction::forgetAttachment() {
    m_handle = 0;
    m_attachment = nullptr;
}

} // namespace fb
