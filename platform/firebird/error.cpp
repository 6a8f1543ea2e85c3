#include "platform/firebird/error.h"

#include "core/cp1251.h"

#include <QStringDecoder>
#include <QStringList>

namespace fb {

namespace {

// Engine texts are Windows-1251 (the attachment's character set) except file paths, which the
// operating system gives as UTF-8. Russian Windows-1251 text is practically never valid UTF-8.
QString decodeServerText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return cp1251::decode(bytes);
}

QString interpret(const ISC_STATUS* status) {
    QStringList lines;
    const ISC_STATUS* cursor = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        lines << decodeServerText(QByteArray(buffer));
    return lines.join(QLatin1Char('\n'));
}

QString sqlStateOf(const ISC_STATUS* status) {
    FB_SQLSTATE_STRING state = {};
    fb_sqlstate(state, status);
    return QString::fromLatin1(state);
}

// Skips one argument of a status vector; returns the position of the next cluster.
const ISC_STATUS* nextArgument(const ISC_STATUS* p) {
    switch (p[0]) {
    case isc_arg_cstring:
        return p + 3;
    case isc_arg_end:
        return p;
    default:
        return p + 2;
    }
}

QString argumentText(const ISC_STATUS* p) {
    if (p[0] == isc_arg_string || p[0] == isc_arg_interpreted || p[0] == isc_arg_sql_state)
        return decodeServerText(QByteArray(reinterpret_cast<const char*>(p[1])));
    if (p[0] == isc_arg_cstring)
        return decodeServerText(
            QByteArray(reinterpret_cast<const char*>(p[2]), static_cast<int>(p[1])));
    return {};
}

// A user exception leaves isc_except, the exception's number, then two isc_random clusters:
// the exception's name and its text (the text of the EXCEPTION statement or the stored one).
void findUserException(const ISC_STATUS* status, QString& name, QString& text) {
    const ISC_STATUS* p = status;
    while (p[0] != isc_arg_end && !(p[0] == isc_arg_gds && p[1] == isc_except))
        p = nextArgument(p);
    if (p[0] == isc_arg_end)
        return;
    QStringList strings;
    for (p = nextArgument(p); p[0] != isc_arg_end && strings.size() < 2; p = nextArgument(p)) {
        if (p[0] == isc_arg_gds && p[1] == isc_random) {
            p = nextArgument(p);
            if (p[0] == isc_arg_end)
                break;
            strings << argumentText(p);
        }
    }
    if (strings.size() == 2) {
        name = strings[0];
        text = strings[1];
    }
}

} // namespace

Error::Error(QString message, int sqlCode, qint64 gdsCode, QString sqlState, QString serverText,
             QString exceptionName)
    : Exception(std::move(message)), m_sqlCode(sqlCode), m_gdsCode(gdsCode),
      m_sqlState(std::move(sqlState)), m_serverText(std::move(serverText)),
      m_exceptionName(std::move(exceptionName)) {}

bool Error::isLockConflict() const {
    return m_sqlState == QLatin1String("40001");
}

bool Error::isUniqueViolation() const {
    return m_gdsCode == isc_unique_key_violation || m_gdsCode == isc_no_dup;
}

bool Error::isConnectionLost() const {
    switch (m_gdsCode) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_bad_db_handle:
    case isc_att_shutdown:
    case isc_shutdown:
    case isc_shutinprog:
        return true;
    default:
        return false;
    }
}

bool failed(const ISC_STATUS* status) {
    return status[0] == 1 && status[1] != 0;
}

Error errorFromStatus(const ISC_STATUS* status) {
    const QString serverText = interpret(status);
    const int sqlCode = static_cast<int>(isc_sqlcode(status));
    const qint64 gdsCode = status[1];
    const QString sqlState = sqlStateOf(status);
    QString name, text;
    findUserException(status, name, text);
    if (!name.isEmpty())
        return Error(text, sqlCode, gdsCode, sqlState, serverText, name);
    return Error(serverText, sqlCode, gdsCode, sqlState, serverText);
}

void check(const ISC_STATUS* status) {
    if (failed(status))
        throw errorFromStatus(status);
}

} // namespace fb
