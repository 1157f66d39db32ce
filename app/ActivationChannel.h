#pragma once

#include <QObject>

class QLocalServer;

// How a second start asks the running instance to come forward. The first instance listens on
// a local socket whose name is derived from the instance key and the user; a second start
// sends its activation code there and waits until the first has handled it.
class ActivationChannel : public QObject
{
    Q_OBJECT
public:
    static constexpr quint32 kActivationCode = 10086;

    explicit ActivationChannel(const QString &key, QObject *parent = nullptr);
    ~ActivationChannel() override;

    // First instance: start listening. A stale socket of a dead instance is removed first.
    bool listen();

    // Second start: deliver `code` to the listening instance. False when nobody answers
    // within `timeoutMs`.
    bool send(quint32 code, int timeoutMs = 1000) const;

    QString serverName() const;

signals:
    // A message arrived; the receiver decides what its code means.
    void activationRequested(quint32 code);

private:
    void onNewConnection();

    const QString m_key;
    QLocalServer *m_server = nullptr;
};
