#pragma once

#include <QByteArray>
#include <QObject>

class QLocalServer;

// How a second start asks the running instance to come forward. The first instance listens on
// a local socket in the session's private folder (SessionFiles), named after the instance key;
// a second start sends its activation code there and waits until the first has handled it.
class ActivationChannel : public QObject
{
    Q_OBJECT
public:
    static constexpr quint32 kActivationCode = 10086;

    explicit ActivationChannel(const QString &key, QObject *parent = nullptr);
    ~ActivationChannel() override;

    // First instance: start listening. A stale socket of a dead instance is removed first.
    bool listen();

    // Second start: deliver `code` and the start's activation token to the listening instance. False when nobody
    // answers within `timeoutMs`; connecting, sending and waiting for the answer all count against it, so a listener
    // that is stopped or flooded cannot hold the caller longer.
    bool send(quint32 code, const QByteArray &token = {}, int timeoutMs = 1000) const;

    // Full path of the socket; empty when the session has no private folder.
    QString serverName() const;

signals:
    // A message arrived; the receiver decides what its code means. `token` lets the window take
    // the focus where the compositor asks for one (Wayland's xdg-activation); empty without one.
    void activationRequested(quint32 code, const QByteArray &token);

private:
    void onNewConnection();

    const QString m_key;
    QLocalServer *m_server = nullptr;
};
