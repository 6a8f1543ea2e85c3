#include "platform/firebird/attachment.h"

#include "platform/firebird/database_location.h"
#include "platform/firebird/error.h"
#include "platform/firebird/param_block.h"
#include "platform/firebird/transaction.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace fb {

const char* const Attachment::kUser = "SYSDBA";
const char* const Attachment::kPassword = "kestrowan";
const char* const Attachment::kCharset = "WIN1251";

namespace {

ParamBlock connectionBlock() {
    ParamBlock dpb(isc_dpb_version1);
    dpb.addString(isc_dpb_user_name, Attachment::kUser);
    dpb.addString(isc_dpb_password, Attachment::kPassword);
    dpb.addString(isc_dpb_lc_ctype, Attachment::kCharset);
    return dpb;
}

bool statFile(const QString& path, struct stat& info) {
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

bool isFile(const struct stat& info, const detail::Connection& c) {
    return quint64(info.st_dev) == c.fileDevice && quint64(info.st_ino) == c.fileInode;
}

// The descriptor of this process open on the connection's file, as a path; empty when none is.
QString descriptorOf(const detail::Connection& c) {
    const QString folder = QStringLiteral("/proc/self/fd");
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::System);
    for (const QString& entry : entries) {
        const QString path = folder + QLatin1Char('/') + entry;
        struct stat info {};
        if (statFile(path, info) && S_ISREG(info.st_mode) && isFile(info, c))
            return path;
    }
    return {};
}

} // namespace

QByteArray encodePath(const QString& path) {
    return QFile::encodeName(path);
}

Attachment::~Attachment() {
    close();
}

Attachment& Attachment::operator=(Attachment&& other) noexcept {
    if (this != &other) {
        close();
        m_connection = std::move(other.m_connection);
    }
    return *this;
}

// Detaches for good: the transactions and statements left on the connection find it gone.
void Attachment::close() noexcept {
    if (!m_connection)
        return;
    try {
        detach();
    } catch (const Exception&) {
        // A second refusal cannot be reported from here; the handle goes with the object.
    }
    m_connection->handle = 0;
    m_connection->path.clear();
    m_connection.reset();
}

std::shared_ptr<detail::Connection> Attachment::sharedConnection() {
    if (!m_connection)
        m_connection = std::make_shared<detail::Connection>();
    return m_connection;
}

void Attachment::requireDetached() const {
    if (isAttached())
        throw Error(QStringLiteral("Подключение к базе данных уже открыто: %1").arg(path()));
}

void Attachment::connected(isc_db_handle handle, const QString& path) {
    detail::Connection& c = connection();
    c.handle = handle;
    c.path = path;
    ++c.generation;
    struct stat info {};
    c.fileKnown = !DatabaseLocation(path).onServer() && statFile(path, info);
    c.fileDevice = c.fileKnown ? quint64(info.st_dev) : 0;
    c.fileInode = c.fileKnown ? quint64(info.st_ino) : 0;
}

bool Attachment::fileReplaced() const {
    if (!isAttached() || !m_connection->fileKnown)
        return false;
    struct stat info {};
    return !statFile(m_connection->path, info) || !isFile(info, *m_connection);
}

QString Attachment::openFilePath() const {
    if (!isAttached() || !m_connection->fileKnown)
        return {};
    return fileReplaced() ? descriptorOf(*m_connection) : m_connection->path;
}

void Attachment::attach(const QString& path) {
    requireDetached();
    const QByteArray name = encodePath(path);
    const ParamBlock dpb = connectionBlock();
    isc_db_handle handle = 0;
    Status status;
    isc_attach_database(status, static_cast<short>(name.size()), name.constData(), &handle,
                        dpb.size(), dpb.data());
    check(status);
    connected(handle, path);
}

void Attachment::create(const QString& path) {
    requireDetached();
    const QByteArray name = encodePath(path);
    ParamBlock dpb = connectionBlock();
    dpb.addInteger(isc_dpb_sql_dialect, 1);
    dpb.addString(isc_dpb_set_db_charset, kCharset);
    isc_db_handle handle = 0;
    Status status;
    isc_create_database(status, static_cast<short>(name.size()), name.constData(), &handle,
                        dpb.size(), dpb.data(), 0);
    check(status);
    connected(handle, path);
}

void Attachment::detach() {
    if (!isAttached())
        return;
    for (detail::TransactionState* transaction : std::as_const(m_connection->transactions))
        transaction->rollbackQuietly();
    Status status;
    isc_detach_database(status, &m_connection->handle);
    // A refused detach leaves the connection open: it is reported, and may be tried again.
    check(status);
    m_connection->handle = 0;
    m_connection->path.clear();
}

} // namespace fb
