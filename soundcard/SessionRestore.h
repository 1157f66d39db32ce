#pragma once

#include "soundcard/DeviceSession.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QVariantMap>
#include <QVector>

// Brings a device back to a state it had: waits until the device answers (after the machine
// wakes it may take a moment), sends the setters, and polls until the device reports the state,
// sending them again a few times if it does not. Told once, with whether the device holds it.
class SessionRestore : public QObject
{
    Q_OBJECT
public:
    // `wanted`: the values the setters bring the device to (a subset of its parameters).
    SessionRestore(DeviceSession *session, const QVector<SetterCall> &setters, const QVariantMap &wanted,
                   QObject *parent = nullptr);

    void start();

    static constexpr int kRetryMs = 500;
    static constexpr int kWaitForAnswerMs = 30000;
    static constexpr int kSendings = 3;

signals:
    void finished(bool restored);

private:
    void poll();
    void onPolled(const DeviceSession::Reply &reply);
    void finish(bool restored);

    QPointer<DeviceSession> m_session;
    const QVector<SetterCall> m_setters;
    const QVariantMap m_wanted;
    QElapsedTimer m_waiting;
    int m_sendings = 0;
    bool m_finished = false;
};
