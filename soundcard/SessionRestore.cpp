#include "soundcard/SessionRestore.h"

#include <QTimer>

SessionRestore::SessionRestore(DeviceSession *session, const QVector<SetterCall> &setters, const QVariantMap &wanted,
                               QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_setters(setters)
    , m_wanted(wanted)
{
}

void SessionRestore::start()
{
    m_waiting.start();
    poll();
}

void SessionRestore::poll()
{
    if (!m_session) {
        finish(false);
        return;
    }
    QPointer<SessionRestore> self = this;
    m_session->requestPoll([self](const DeviceSession::Reply &reply) {
        if (self)
            self->onPolled(reply);
    });
}

void SessionRestore::onPolled(const DeviceSession::Reply &reply)
{
    if (m_finished)
        return;
    if (reply.status == DeviceSession::Reply::Closed) {
        finish(false);
        return;
    }
    if (!reply.answered()) {
        if (m_waiting.hasExpired(kWaitForAnswerMs))
            finish(false);
        else
            QTimer::singleShot(kRetryMs, this, &SessionRestore::poll);
        return;
    }
    bool holds = true;
    for (auto it = m_wanted.cbegin(); it != m_wanted.cend() && holds; ++it)
        holds = reply.parameters.value(it.key()) == it.value();
    if (holds || m_sendings == kSendings) {
        finish(holds);
        return;
    }
    ++m_sendings;
    for (const SetterCall &setter : m_setters)
        m_session->apply(setter);
    poll();
}

void SessionRestore::finish(bool restored)
{
    if (m_finished)
        return;
    m_finished = true;
    emit finished(restored);
}
