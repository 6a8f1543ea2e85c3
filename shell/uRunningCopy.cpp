#include "shell/uRunningCopy.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {

const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kDone = QByteArrayLiteral("ok\n");
constexpr int kWaitMs = 2000;

QString canonicalBook(const QString& bookPath) {
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

TRunningCopy::TRunningCopy(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &TRunningCopy::acceptConnection);
}

TRunningCopy::~TRunningCopy() = default;

QString TRunningCopy::ServerName(const QString& bookPath) {
    const QByteArray key =
        QByteArray::number(qulonglong(getuid())) + '\0' + canonicalBook(bookPath).toUtf8();
    return QStringLiteral("kaltro-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
}

bool TRunningCopy::Listen(const QString& bookPath) {
    m_server->close();
    const QString name = ServerName(bookPath);
    if (someoneAnswers(name))
        return false;
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

bool TRunningCopy::IsListening() const {
    return m_server->isListening();
}

void TRunningCopy::acceptConnection() {
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

bool TRunningCopy::AskToRaise(const QString& bookPath) {
    QLocalSocket socket;
    socket.connectToServer(ServerName(bookPath));
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
