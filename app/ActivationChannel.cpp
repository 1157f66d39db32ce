#include "app/ActivationChannel.h"

#include "app/SessionFiles.h"

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
// Message layout: the code and the payload's size, 32-bit little-endian each, then the payload:
// the activation token of the second start (XDG_ACTIVATION_TOKEN, given to it by the desktop
// that launched it), empty when it has none. One byte comes back once the message is handled.
constexpr int kHeaderSize = 8;
// Tokens are short; a longer payload is not a message of ours and the connection is dropped.
constexpr quint32 kMaxPayload = 4096;
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
            if (socket->bytesAvailable() < kHeaderSize)
                return;
            quint32 header[2] = {0, 0};
            socket->peek(reinterpret_cast<char *>(header), kHeaderSize);
            const quint32 code = qFromLittleEndian(header[0]);
            const quint32 size = qFromLittleEndian(header[1]);
            if (size > kMaxPayload) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < kHeaderSize + qint64(size))
                return;
            socket->skip(kHeaderSize);
            const QByteArray token = socket->read(size);
            QPointer<QLocalSocket> guard(socket);
            emit activationRequested(code, token);
            if (guard) {
                guard->write("\1", 1);
                guard->flush();
            }
        });
    }
}

bool ActivationChannel::send(quint32 code, const QByteArray &token, int timeoutMs) const
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
        const QByteArray payload = token.left(int(kMaxPayload));
        const quint32 header[2] = {qToLittleEndian(code), qToLittleEndian(quint32(payload.size()))};
        QByteArray message(reinterpret_cast<const char *>(header), kHeaderSize);
        message += payload;
        if (::send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) == ssize_t(message.size())) {
            // Like a synchronous window message: return once the receiver has handled it.
            pollfd waiter{fd, POLLIN, 0};
            char ack = 0;
            answered = ::poll(&waiter, 1, int(deadline.remainingTime())) == 1 && ::recv(fd, &ack, 1, 0) == 1;
        }
    }
    ::close(fd);
    return answered;
}
