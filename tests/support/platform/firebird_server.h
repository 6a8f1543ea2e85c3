#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A Firebird server of the test's own: Debian's /usr/sbin/firebird (package firebird3.0-server)
// started directly on a private root folder with its own firebird.conf (a free port on the
// loopback address), its own security database holding the program's user and password, and its
// own lock folder. The system's Firebird service is neither used nor touched; the server runs as
// the test's user, so the books it opens are files of the test.
//
//   if (const QString why = testsupport::FirebirdServer::unavailable(); !why.isEmpty())
//       QSKIP(qPrintable(why));
//   testsupport::FirebirdServer server;
//   attachment.attach(server.remotePath(folder.filePath("book.fdb")));
//
// The server ends with the object. Failures throw Exception.
class FirebirdServer {
public:
    // Starts the server and waits until it takes connections.
    FirebirdServer();
    ~FirebirdServer();
    FirebirdServer(const FirebirdServer&) = delete;
    FirebirdServer& operator=(const FirebirdServer&) = delete;

    // Why no server can be started on this machine (its package is missing); empty when one can.
    static QString unavailable();

    int port() const { return m_port; }
    // The path through this server of a local database file: "localhost/<port>:<path>".
    QString remotePath(const QString& path) const;

    // Ends the server at once, as a crash or a pulled cable would: its connections are cut.
    void kill();

private:
    void writeRoot();
    void createSecurityDatabase();
    void start();
    void waitUntilListening();
    QProcessEnvironment serverEnvironment() const;
    QString rootPath(const QString& name) const { return m_root.filePath(name); }

    QTemporaryDir m_root;
    QProcess m_server;
    int m_port = 0;
};

} // namespace testsupport
