#include "soundcard/DeviceSession.h"

#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardModel.h"
#include "soundcard/SoundCardProtocol.h"

#include <QDebug>

DeviceSession::DeviceSession(std::unique_ptr<SoundCardProtocol> protocol, QObject *parent)
    : SoundCardBase(protocol->model(), parent)
    , m_protocol(protocol.release())
    , m_worker(new QObject)
{
    m_thread.setObjectName(QStringLiteral("device session %1").arg(getDevType()));
    m_worker->moveToThread(&m_thread);
    // The protocol and its device end on their own thread, after the last job.
    connect(
        &m_thread, &QThread::finished, m_worker,
        [protocol = m_protocol, worker = m_worker] {
            delete protocol;
            delete worker;
        },
        Qt::DirectConnection);
    connect(&m_pollTimer, &QTimer::timeout, this, &DeviceSession::onPollTimer);
    m_thread.start();
}

DeviceSession::~DeviceSession()
{
    m_closing = true;
    m_thread.quit();
    m_thread.wait();
}

void DeviceSession::close()
{
    if (m_closing.exchange(true))
        return;
    m_pollTimer.stop();
    std::deque<Job> dropped;
    dropped.swap(m_queue);
    if (m_inFlight)
        dropped.push_front(std::move(m_current));
    Reply closed;
    closed.status = Reply::Closed;
    for (const Job &job : dropped)
        answer(job, closed);
    connect(&m_thread, &QThread::finished, this, &QObject::deleteLater);
    m_thread.quit();
}

void DeviceSession::open()
{
    Job job;
    job.work = Work::Open;
    enqueue(std::move(job));
}

void DeviceSession::startPolling(int intervalMs)
{
    m_pollInterval = intervalMs;
    m_silentPolls = 0;
    updatePollTimer();
}

void DeviceSession::stopPolling()
{
    m_pollInterval = 0;
    m_pollTimer.stop();
}

void DeviceSession::updatePollTimer()
{
    if (m_pollInterval <= 0 || m_closing)
        return;
    m_pollTimer.start(m_responding ? m_pollInterval : qMax(m_pollInterval, kBackoffIntervalMs));
}

void DeviceSession::apply(const SetterCall &call)
{
    queue(call);
}

bool DeviceSession::queue(const SetterCall &call)
{
    if (m_closing)
        return false;
    ++m_settersQueued;
    if (!m_queue.empty() && m_queue.back().work == Work::Setter
        && SetterSlot::of(call.op).sameRow(m_queue.back().setter, call)) {
        m_queue.back().setter = call;
        return true;
    }
    Job job;
    job.work = Work::Setter;
    job.setter = call;
    if (enqueue(std::move(job)))
        return true;
    qWarning("the %s is not keeping up: %s dropped", model().devType, SetterSlot::of(call.op).name);
    return false;
}

void DeviceSession::requestPoll(ReplyHandler done)
{
    request(Work::Poll, std::move(done));
}

void DeviceSession::requestFirmwareVersion(ReplyHandler done)
{
    request(Work::FirmwareVersion, std::move(done));
}

void DeviceSession::requestSerialNumber(ReplyHandler done)
{
    request(Work::SerialNumber, std::move(done));
}

void DeviceSession::request(Work work, ReplyHandler done, bool probe)
{
    Job job;
    job.work = work;
    if (done)
        job.handlers.append(std::move(done));
    // A device known to be silent is asked by the timer's polls only: a caller learns it at
    // once, and the queue stays short.
    if (!m_responding && !probe && !m_closing) {
        answer(job, Reply{});
        return;
    }
    // Asked while the same request waits behind everything before it: its answer serves both.
    Job *waiting = !m_queue.empty() ? &m_queue.back() : m_inFlight ? &m_current : nullptr;
    if (waiting && waiting->work == work && !m_closing) {
        waiting->handlers += job.handlers;
        return;
    }
    enqueue(std::move(job));
}

void DeviceSession::whenDone(std::function<void()> step)
{
    Job job;
    job.work = Work::Done;
    job.step = std::move(step);
    enqueue(std::move(job));
}

bool DeviceSession::enqueue(Job job)
{
    Reply refused;
    refused.status = m_closing ? Reply::Closed : Reply::Busy;
    // A step that asks nothing of the device is always taken.
    if (m_closing || (m_queue.size() >= size_t(kMaxQueued) && job.work != Work::Done)) {
        answer(job, refused);
        return false;
    }
    job.settersBefore = m_settersQueued;
    m_queue.push_back(std::move(job));
    dispatch();
    return true;
}

void DeviceSession::dispatch()
{
    if (m_inFlight || m_queue.empty() || m_closing)
        return;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    m_inFlight = true;
    QMetaObject::invokeMethod(
        m_worker,
        [this, work = m_current.work, setter = m_current.setter] {
            if (m_closing)
                return;
            const Outcome outcome = perform(work, setter);
            // The session outlives its thread, so it is there when this arrives.
            QMetaObject::invokeMethod(
                this,
                [this, outcome] {
                    if (!m_closing)
                        finish(outcome);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

DeviceSession::Outcome DeviceSession::perform(Work work, const SetterCall &setter)
{
    Outcome outcome;
    std::optional<QString> text;
    switch (work) {
    case Work::Open:
        outcome.answered = m_protocol->open();
        if (!outcome.answered)
            qDebug() << "open dev error";
        break;
    case Work::Setter: outcome.answered = m_protocol->send(setter); break;
    case Work::Poll:
        outcome.answered = m_protocol->poll().answered;
        outcome.parameters = m_protocol->parameters();
        break;
    case Work::FirmwareVersion: text = m_protocol->firmwareVersion(); break;
    case Work::SerialNumber: text = m_protocol->serialNumber(); break;
    case Work::Done: outcome.answered = true; break;
    }
    if (text) {
        outcome.answered = true;
        outcome.text = *text;
    }
    outcome.knownFirmwareVersion = m_protocol->knownFirmwareVersion();
    return outcome;
}

void DeviceSession::finish(const Outcome &outcome)
{
    const Job job = std::move(m_current);
    m_inFlight = false;
    if (!outcome.knownFirmwareVersion.isEmpty())
        setKnownFirmwareVer(outcome.knownFirmwareVersion);
    Reply reply;
    reply.status = outcome.answered ? Reply::Answered : Reply::NoAnswer;
    reply.text = outcome.text;
    switch (job.work) {
    case Work::Open: emit opened(outcome.answered); break;
    case Work::Poll:
        reply.parameters = outcome.parameters;
        finishPoll(job, outcome);
        break;
    case Work::SerialNumber:
        if (outcome.answered)
            setKnownSNCode(outcome.text);
        break;
    case Work::Setter:
    case Work::FirmwareVersion:
    case Work::Done: break;
    }
    if (!outcome.answered)
        noteFailure();
    answer(job, reply);
    if (job.step && !m_closing)
        job.step();
    dispatch();
}

void DeviceSession::finishPoll(const Job &job, const Outcome &outcome)
{
    m_silentPolls = outcome.answered ? 0 : m_silentPolls + 1;
    if (outcome.answered)
        setResponding(true);
    else if (m_silentPolls >= kSilentPollsBeforeBackoff)
        setResponding(false);
    // A report read while later setters were on their way shows the device before them: the
    // controls would jump back. The next poll brings the state they left.
    const bool stale = job.settersBefore != m_settersQueued;
    const bool taken = outcome.answered && !stale && outcome.parameters != m_parameters;
    if (taken) {
        m_parameters = outcome.parameters;
        emit allParaChanged();
    }
    emit polled(taken);
}

void DeviceSession::answer(const Job &job, const Reply &reply)
{
    for (const ReplyHandler &handler : job.handlers)
        handler(reply);
}

void DeviceSession::onPollTimer()
{
    // A poll that waits, or one on its way with nothing behind it, already answers this one.
    request(Work::Poll, nullptr, true);
}

void DeviceSession::setResponding(bool responding)
{
    if (m_responding == responding)
        return;
    m_responding = responding;
    if (responding)
        qInfo("the %s answers again", qPrintable(getDevType()));
    else
        qWarning("the %s is not responding: polled every %d ms until it answers", qPrintable(getDevType()),
                 kBackoffIntervalMs);
    updatePollTimer();
    emit respondingChanged(responding);
}

QString DeviceSession::getFirmwareVer()
{
    requestFirmwareVersion(nullptr);
    return knownFirmwareVer();
}

QString DeviceSession::getSNCode()
{
    requestSerialNumber(nullptr);
    return knownSNCode();
}

bool DeviceSession::getParaIsChange()
{
    requestPoll(nullptr);
    return false;
}

QVariantMap DeviceSession::getAllPara()
{
    return m_parameters;
}
