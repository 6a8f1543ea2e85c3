#pragma once

#include "core/exceptions.h"

#include <ibase.h>

namespace fb {

// An error of the database engine or of this layer.
//
// message() is what the user sees:
//  - for a user-defined database exception raised by a trigger (E_PARTINUSE and the like),
//    the exception's own text alone, e.g. "Фирма используется в документах!";
//  - otherwise the engine's text: the interpreted status lines joined with "\n".
// sqlCode() is the SQL code (isc_sqlcode), gdsCode() the first engine error code
// (isc_except for a user exception), sqlState() the five-character SQLSTATE ("23000"; empty
// for an error of this layer), serverText() always the full engine text.
// Errors are exceptions and stay copyable.
class Error final : public Exception {
public:
    Error(QString message, int sqlCode = 0, qint64 gdsCode = 0, QString sqlState = {},
          QString serverText = {}, QString exceptionName = {});

    int sqlCode() const { return m_sqlCode; }
    qint64 gdsCode() const { return m_gdsCode; }
    const QString& sqlState() const { return m_sqlState; }
    const QString& serverText() const { return m_serverText; }

    // The change collided with another transaction's: an update conflict, a lock conflict or a
    // deadlock (SQLSTATE 40001). Trying again after the other transaction ends may succeed.
    bool isLockConflict() const;
    // A value that a primary key or unique index already holds.
    bool isUniqueViolation() const;
    // The connection to the database is gone: the engine's codes of a lost connection (the
    // server stopped, the network failed) and of a shutdown of the attachment or the database.
    // Nothing more can be done on it. Other errors of SQLSTATE class 08, an I/O error of the
    // database file (a full disk) among them, leave the connection usable.
    bool isConnectionLost() const;

    // True for an exception raised by a trigger or procedure with EXCEPTION name.
    bool isUserException() const { return !m_exceptionName.isEmpty(); }
    // The name of that exception (E_PARTINUSE), empty otherwise.
    const QString& exceptionName() const { return m_exceptionName; }

private:
    int m_sqlCode;
    qint64 m_gdsCode;
    QString m_sqlState;
    QString m_serverText;
    QString m_exceptionName;
};

// The status vector of one client call.
using Status = ISC_STATUS_ARRAY;

// True when the status vector holds an error.
bool failed(const ISC_STATUS* status);

// Throws Error built from the status vector when it holds an error.
void check(const ISC_STATUS* status);

// Builds the Error of a failed status vector (does not throw).
Error errorFromStatus(const ISC_STATUS* status);

} // namespace fb
