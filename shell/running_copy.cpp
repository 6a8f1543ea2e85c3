#include "shell/running_copy.h"

#include "platform/firebird/database_location.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {

const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kDone = QByteArrayLiteral("ok\n");
constexpr int kWaitMs = 2000;

// A book on a server has no local file: its path's text names it, whatever folder the copy
// runs in.
QString canonicalBook(const QString& bookPath) {
    if (fb::DatabaseLocation(bookPath).onServer())
        return bookPath;
    const QFileInfo info(bookPath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool someoneAnswers(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    return socket.waitForConnected(kWaitMs);
}

} // namespace

RunningCopy::RunningCopy(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &RunningCopy::onNewConnection);
}

RunningCopy::~RunningCopy() = default;

QString RunningCopy::serverName(const QString& bookPath) {
    const QByteArray key =
        QByteArray::number(qulonglong(getuid())) + '\0' + canonicalBook(bookPath).toUtf8();
    return QStringLiteral("kaltro-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
}

bool RunningCopy::listen(const QString& bookPath) {
    m_server->close();
    const QString name = serverName(bookPath);
    if (someoneAnswers(name))
        return false;
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

bool RunningCopy::isListening() const {
    return m_server->isListening();
}

void RunningCopy::onNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kRaise) {
                    socket->write(kDone);
                    emit raiseRequested();
                }
            }
        });
    }
}

bool RunningCopy::askToRaise(const QString& bookPath) {
    QLocalSocket socket;
    socket.connectToServer(serverName(bookPath));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(kWaitMs))
            return false;
    return socket.readLine() == kDone;
}
