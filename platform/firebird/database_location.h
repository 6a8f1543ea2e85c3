#pragma once

#include <QString>

namespace fb {

// Where a database is, made once from its text: a file of this machine, which this process opens
// with the embedded engine ("/data/book.fdb"), or a file that a Firebird server keeps,
// "host:/data/book.fdb" (the host may carry a port: "host/3051:/data/book.fdb"). A single drive
// letter ("C:\...") is no host, and "/..." or "./..." never holds one.
//
// This is the one place where such a text is taken apart.
class DatabaseLocation {
public:
    DatabaseLocation() = default;
    explicit DatabaseLocation(const QString& text);

    // The text it was made from, as the INI list and the messages show it.
    QString text() const { return m_text; }
    // The server's host, with its port; empty for a file of this machine.
    QString host() const { return m_host; }
    // The database file: its path on the server, or on this machine.
    QString file() const { return m_file; }
    bool onServer() const { return !m_host.isEmpty(); }
    bool isEmpty() const { return m_text.isEmpty(); }

private:
    QString m_text;
    QString m_host;
    QString m_file;
};

} // namespace fb
