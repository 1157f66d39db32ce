#include "app/ActivationChannel.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QtEndian>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// Message layout: the code, the payload size (4) and a 32-bit payload of 1, little-endian,
// as the copy-data record of the activation message carries them. One byte comes back once
// the message is handled.
constexpr int kMessageSize = 12;
}

ActivationChannel::ActivationChannel(const QString &key, QObject *parent)
    : QObject(parent), m_key(key)
{
}

ActivationChannel::~ActivationChannel() = default;

QString ActivationChannel::serverName() const
{
    // A full path, so the server and a sender without an application object agree on it.
    return QStringLiteral("%1/%2-%3").arg(QDir::tempPath(), m_key).arg(uint(::getuid()));
}

bool ActivationChannel::listen()
{
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &ActivationChannel::onNewConnection);
    }
    QLocalServer::removeServer(serverName());
    return m_server->listen(serverName());
}

void ActivationChannel::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < kMessageSize)
                return;
            QDataStream in(socket);
            in.setByteOrder(QDataStream::LittleEndian);
            quint32 code = 0, size = 0, payload = 0;
            in >> code >> size >> payload;
            QPointer<QLocalSocket> guard(socket);
            emit activationRequested(code);
            if (guard) {
                guard->write("\1", 1);
                guard->flush();
            }
        });
    }
}

bool ActivationChannel::send(quint32 code, int timeoutMs) const
{
    // Plain POSIX calls: a second start sends before any application object exists, so no Qt
    // event machinery is available yet.
    const QByteArray path = QFile::encodeName(serverName());
    sockaddr_un address{};
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool answered = false;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0) {
        const quint32 message[3] = {qToLittleEndian(code), qToLittleEndian(quint32(4)), qToLittleEndian(quint32(1))};
        if (::send(fd, message, sizeof(message), MSG_NOSIGNAL) == ssize_t(sizeof(message))) {
            // Like a synchronous window message: return once the receiver has handled it.
            pollfd waiter{fd, POLLIN, 0};
            char ack = 0;
            answered = ::poll(&waiter, 1, timeoutMs) == 1 && ::recv(fd, &ack, 1, 0) == 1;
        }
    }
    ::close(fd);
    return answered;
}
