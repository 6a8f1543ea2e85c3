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
    if (kind == TransactionKind::WriteWaiting) {
        tpb.addTag(isc_tpb_wait);
        tpb.addInteger(isc_tpb_lock_timeout, kLockWaitSeconds);
    } else {
        tpb.addTag(isc_tpb_nowait);
    }
    return tpb;
}

} // namespace

namespace detail {

TransactionState::TransactionState(std::shared_ptr<Connection> connection, TransactionKind kind)
    : m_connection(std::move(connection)), m_kind(kind) {
    m_connection->transactions.append(this);
}

TransactionState::~TransactionState() {
    close();
}

void TransactionState::close() {
    rollbackQuietly();
    if (m_closed)
        return;
    m_closed = true;
    m_connection->transactions.removeOne(this);
}

isc_db_handle* TransactionState::databaseHandle() {
    if (m_closed)
        throw Error(QStringLiteral("Транзакция запроса уже уничтожена"));
    if (m_connection->handle == 0)
        throw Error(QStringLiteral("Нет подключения к базе данных"));
    return &m_connection->handle;
}

int TransactionState::generation() const {
    return m_connection->generation;
}

bool TransactionState::connectionOpen(int generation) const {
    return m_connection->handle != 0 && m_connection->generation == generation;
}

void TransactionState::start() {
    isc_db_handle* database = databaseHandle();
    if (isActive())
        throw Error(QStringLiteral("Транзакция уже запущена"));
    const ParamBlock tpb = transactionBlock(m_kind);
    TransactionBlock block{database, tpb.size(), tpb.data()};
    Status status;
    isc_start_multiple(status, &m_handle, 1, &block);
    if (failed(status)) {
        m_handle = 0;
        throw errorFromStatus(status);
    }
}

void TransactionState::ensureStarted() {
    if (!isActive())
        start();
}

void TransactionState::requireActive(const char* operation) const {
    if (!isActive())
        throw Error(QStringLiteral("Транзакция не запущена (%1)").arg(QLatin1String(operation)));
}

void TransactionState::commit() {
    requireActive("commit");
    Status status;
    isc_commit_transaction(status, &m_handle);
    check(status);
    m_handle = 0;
}

void TransactionState::commitRetaining() {
    requireActive("commit retaining");
    Status status;
    isc_commit_retaining(status, &m_handle);
    check(status);
}

void TransactionState::rollback() {
    requireActive("rollback");
    Status status;
    isc_rollback_transaction(status, &m_handle);
    check(status);
    m_handle = 0;
}

void TransactionState::rollbackRetaining() {
    requireActive("rollback retaining");
    Status status;
    isc_rollback_retaining(status, &m_handle);
    check(status);
}

void TransactionState::rollbackQuietly() {
    if (!isActive())
        return;
    Status status;
    isc_rollback_transaction(status, &m_handle);
    // When the rollback fails (connection lost) the handle is dead either way.
    m_handle = 0;
}

} // namespace detail

Transaction::Transaction(Attachment& attachment, TransactionKind kind)
    : m_state(std::make_shared<detail::TransactionState>(attachment.sharedConnection(), kind)) {}

Transaction::~Transaction() {
    if (m_state)
        m_state->close();
}

Transaction& Transaction::operator=(Transaction&& other) noexcept {
    if (this != &other) {
        if (m_state)
            m_state->close();
        m_state = std::move(other.m_state);
    }
    return *this;
}

detail::TransactionState& Transaction::state() {
    if (!m_state)
        throw Error(QStringLiteral("Транзакция пуста: её перенесли в другой объект"));
    return *m_state;
}

void Transaction::start() {
    state().start();
}

void Transaction::ensureStarted() {
    state().ensureStarted();
}

void Transaction::commit() {
    state().commit();
}

void Transaction::commitRetaining() {
    state().commitRetaining();
}

void Transaction::rollback() {
    state().rollback();
}

void Transaction::rollbackRetaining() {
    state().rollbackRetaining();
}

} // namespace fb
