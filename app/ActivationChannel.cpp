#include "app/ActivationChannel.h"

#include "app/SessionFiles.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QtEndian>

#include <cerrno>
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
// A full backlog refuses at once instead of blocking; the connection is tried again after this.
constexpr int kConnectRetryMs = 10;

// Connects the non-blocking socket `fd` before the deadline.
bool connectBefore(int fd, const sockaddr_un &address, const QDeadlineTimer &deadline)
{
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno == EINPROGRESS) {
            pollfd waiter{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof(error);
            return ::poll(&waiter, 1, int(deadline.remainingTime())) == 1
                && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        if (errno != EAGAIN || deadline.hasExpired())
            return false;
        ::poll(nullptr, 0, int(qMin<qint64>(kConnectRetryMs, deadline.remainingTime())));
    }
}
} // namespace

ActivationChannel::ActivationChannel(const QString &key, QObject *parent)
    : QObject(parent)
    , m_key(key)
{
}

ActivationChannel::~ActivationChannel() = default;

QString ActivationChannel::serverName() const
{
    // A full path, so the server and a sender without an application object agree on it.
    return SessionFiles::file(m_key, QStringLiteral(".sock"));
}

bool ActivationChannel::listen()
{
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &ActivationChannel::onNewConnection);
    }
    const QString name = serverName();
    if (name.isEmpty())
        return false;
    QLocalServer::removeServer(name);
    return m_server->listen(name);
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
    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    const QByteArray path = QFile::encodeName(serverName());
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    bool answered = false;
    if (connectBefore(fd, address, deadline)) {
        const quint32 message[3] = {qToLittleEndian(code), qToLittleEndian(quint32(4)), qToLittleEndian(quint32(1))};
        if (::send(fd, message, sizeof(message), MSG_NOSIGNAL) == ssize_t(sizeof(message))) {
            // Like a synchronous window message: return once the receiver has handled it.
            pollfd waiter{fd, POLLIN, 0};
            char ack = 0;
            answered = ::poll(&waiter, 1, int(deadline.remainingTime())) == 1 && ::recv(fd, &ack, 1, 0) == 1;
        }
    }
    ::close(fd);
    return answered;
}
