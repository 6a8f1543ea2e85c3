#include "platform/firebird/attachment.h"

#include "platform/firebird/error.h"
#include "platform/firebird/param_block.h"
#include "platform/firebird/transaction.h"

#include <QFile>

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

} // namespace

QByteArray encodePath(const QString& path) {
    return QFile::encodeName(path);
}

void splitServerPath(const QString& full, QString& host, QString& path) {
    const qsizetype colon = full.indexOf(QLatin1Char(':'));
    // "C:\..." names a drive, not a host; "/..." and "./..." never hold a host.
    if (colon <= 1 || full.startsWith(QLatin1Char('/')) || full.startsWith(QLatin1Char('.'))) {
        host.clear();
        path = full;
        return;
    }
    host = full.left(colon);
    path = full.mid(colon + 1);
}

Attachment::~Attachment() {
    try {
        detach();
    } catch (const Exception&) {
        // A second refusal cannot be reported from here; the handle goes with the object.
    }
    for (Transaction* transaction : std::as_const(m_transactions))
        transaction->forgetAttachment();
}

void Attachment::attach(const QString& path) {
    if (isAttached())
        throw Error(QStringLiteral("Подключение к базе данных уже открыто: %1").arg(m_path));
    const QByteArray name = encodePath(path);
    const ParamBlock dpb = connectionBlock();
    Status status;
    isc_attach_database(status, static_cast<short>(name.size()), name.constData(), &m_handle,
                        dpb.size(), dpb.data());
    if (failed(status)) {
        m_handle = 0;
        throw errorFromStatus(status);
    }
    m_path = path;
}

void Attachment::create(const QString& path) {
    if (isAttached())
        throw Error(QStringLiteral("Подключение к базе данных уже открыто: %1").arg(m_path));
    const QByteArray name = encodePath(path);
    ParamBlock dpb = connectionBlock();
    dpb.addInteger(isc_dpb_sql_dialect, 1);
    dpb.addString(isc_dpb_set_db_charset, kCharset);
    Status status;
    isc_create_database(status, static_cast<short>(name.size()), name.constData(), &m_handle,
                        dpb.size(), dpb.data(), 0);
    if (failed(status)) {
        m_handle = 0;
        throw errorFromStatus(status);
    }
    m_path = path;
}

void Attachment::detach() {
    if (!isAttached())
        return;
    for (Transaction* transaction : std::as_const(m_transactions))
        transaction->rollbackQuietly();
    Status status;
    isc_detach_database(status, &m_handle);
    // A refused detach leaves the connection open: it is reported, and may be tried again.
    check(status);
    m_handle = 0;
    m_path.clear();
}

void Attachment::addTransaction(Transaction* transaction) {
    m_transactions.append(transaction);
}

void Attachment::removeTransaction(Transaction* transaction) {
    m_transactions.removeOne(transaction);
}

} // namespace fb
