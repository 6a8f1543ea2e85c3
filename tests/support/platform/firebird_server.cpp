#include "tests/support/platform/firebird_server.h"

#include "core/exceptions.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace testsupport {

namespace {

const QString kServerProgram = QStringLiteral("/usr/sbin/firebird");
const QString kIsqlProgram = QStringLiteral("/usr/bin/isql-fb");

// Generous bounds for a slow machine; a healthy server needs a fraction of a second.
constexpr int kStartMs = 30000;
constexpr int kSetupMs = 60000;

// The parts of the system's Firebird root that the server's root links to; the character-set
// library is copied, since the engine does not load it through a link.
const char* const kLinkedParts[] = {"plugins", "firebird.msg", "plugins.conf", "intl/fbintl.conf"};
const char kIntlLibrary[] = "intl/libfbintl.so";

int freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        throw Exception(
            QStringLiteral("No free port for the Firebird server: %1").arg(probe.errorString()));
    return probe.serverPort();
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

QString outputOf(QProcess& process) {
    return QString::fromLocal8Bit(process.readAll()).trimmed();
}

} // namespace

QString FirebirdServer::unavailable() {
    if (!QFileInfo(kServerProgram).isExecutable())
        return QStringLiteral("The Firebird server %1 (Debian package firebird3.0-server) is not "
                              "installed; tools/install-deps.sh installs it")
            .arg(kServerProgram);
    if (!QFileInfo(kIsqlProgram).isExecutable())
        return QStringLiteral("%1 (Debian package firebird3.0-utils) is not installed; "
                              "tools/install-deps.sh installs it")
            .arg(kIsqlProgram);
    if (fb::systemFirebirdRoot().isEmpty())
        return QStringLiteral("The Firebird 3 engine (Debian package firebird3.0-server-core) "
                              "is not installed; tools/install-deps.sh installs it");
    return {};
}

FirebirdServer::FirebirdServer() {
    if (const QString why = unavailable(); !why.isEmpty())
        throw Exception(why);
    if (!m_root.isValid())
        throw Exception(
            QStringLiteral("Cannot make the server's folder: %1").arg(m_root.errorString()));
    // This process reaches the server through the client library as the program does.
    fb::prepareEmbeddedEngine();
    m_port = freePort();
    writeRoot();
    createSecurityDatabase();
    start();
}

FirebirdServer::~FirebirdServer() {
    kill();
}

QString FirebirdServer::remotePath(const QString& path) const {
    return QStringLiteral("localhost/%1:%2").arg(m_port).arg(path);
}

void FirebirdServer::kill() {
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.kill();
    m_server.waitForFinished(kStartMs);
}

void FirebirdServer::writeRoot() {
    const QString system = fb::systemFirebirdRoot();
    for (const char* folder : {"intl", "lock", "tmp"})
        if (!QDir().mkpath(rootPath(QString::fromLatin1(folder))))
            throw Exception(QStringLiteral("Cannot make %1").arg(rootPath(folder)));
    for (const char* part : kLinkedParts) {
        const QString target = system + QLatin1Char('/') + QLatin1String(part);
        if (QFileInfo::exists(target) && !QFile::link(target, rootPath(part)))
            throw Exception(QStringLiteral("Cannot link %1").arg(rootPath(part)));
    }
    if (!QFile::copy(system + QLatin1Char('/') + QLatin1String(kIntlLibrary),
                     rootPath(kIntlLibrary)))
        throw Exception(QStringLiteral("Cannot copy %1").arg(rootPath(kIntlLibrary)));
    writeFile(rootPath("databases.conf"), QByteArray());
    writeFile(rootPath("firebird.conf"), QStringLiteral("ServerMode = Super\n"
                                                        "RemoteServicePort = %1\n"
                                                        "RemoteBindAddress = 127.0.0.1\n"
                                                        "SecurityDatabase = %2\n")
                                             .arg(m_port)
                                             .arg(rootPath("security3.fdb"))
                                             .toLocal8Bit());
}

// The server's own security database, made by the embedded engine of isql on the server's root,
// with the one user the program signs in as.
void FirebirdServer::createSecurityDatabase() {
    QProcess isql;
    QProcessEnvironment environment = serverEnvironment();
    environment.insert(QStringLiteral("ISC_USER"), QString::fromLatin1(fb::Attachment::kUser));
    isql.setProcessEnvironment(environment);
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(kIsqlProgram, {QStringLiteral("-q"), QStringLiteral("-b")});
    isql.write(QStringLiteral("CREATE DATABASE '%1';\n"
                              "CREATE USER %2 PASSWORD '%3';\n"
                              "COMMIT;\n")
                   .arg(rootPath("security3.fdb"), QString::fromLatin1(fb::Attachment::kUser),
                        QString::fromLatin1(fb::Attachment::kPassword))
                   .toLocal8Bit());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(kSetupMs) || isql.exitStatus() != QProcess::NormalExit ||
        isql.exitCode() != 0) {
        isql.kill();
        isql.waitForFinished();
        throw Exception(
            QStringLiteral("Cannot make the server's security database: %1").arg(outputOf(isql)));
    }
}

void FirebirdServer::start() {
    m_server.setProcessEnvironment(serverEnvironment());
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    // A test that crashes takes its server with it.
    m_server.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_server.start(kServerProgram, {});
    if (!m_server.waitForStarted(kStartMs))
        throw Exception(
            QStringLiteral("Cannot start %1: %2").arg(kServerProgram, m_server.errorString()));
    waitUntilListening();
}

void FirebirdServer::waitUntilListening() {
    const QDeadlineTimer deadline(kStartMs);
    while (!deadline.hasExpired()) {
        if (m_server.state() == QProcess::NotRunning)
            throw Exception(
                QStringLiteral("The Firebird server ended at start: %1").arg(outputOf(m_server)));
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (probe.waitForConnected(1000))
            return;
        QThread::msleep(20);
    }
    kill();
    throw Exception(QStringLiteral("The Firebird server does not listen on port %1: %2")
                        .arg(m_port)
                        .arg(outputOf(m_server)));
}

// The server and its tools see only the private root: configuration, security database, lock
// and temporary files. No user name or password of the caller's environment reaches them.
QProcessEnvironment FirebirdServer::serverEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"ISC_USER", "ISC_PASSWORD", "FIREBIRD_MSG"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("FIREBIRD"), m_root.path());
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), rootPath("lock"));
    environment.insert(QStringLiteral("FIREBIRD_TMP"), rootPath("tmp"));
    return environment;
}

} // namespace testsupport
