#pragma once

#include <QByteArray>
#include <QString>
#include <ibase.h>

// The counterpart of the program's own reading: the client library called directly, with no
// layer of the program between, on an attachment of its own.
class BareConnection {
public:
    explicit BareConnection(const QString& path);
    ~BareConnection();
    BareConnection(const BareConnection&) = delete;
    BareConnection& operator=(const BareConnection&) = delete;

    // Runs a select in a read-only transaction of its own and fetches up to limit rows (all of
    // them for a negative limit), reading every blob whole as the program does; the number of
    // rows fetched.
    int fetch(const QByteArray& sql, int limit = -1);

private:
    isc_db_handle m_database = 0;
};
