#pragma once

#include "soundcard/SoundCardBase.h"

#include <QThread>
#include <QTimer>
#include <QVariantMap>
#include <QVector>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class SoundCardProtocol;

// The attached sound card as the scene and the rest of the program see it, while its protocol
// runs on a thread of its own: a device that is slow or silent never holds up the window.
//
// The session owns the conversation with the device. What is asked of it waits in one queue and
// goes to the device one job at a time, in the order asked, so every answer belongs to the
// request that asked for it: a poll or query requested with a handler is answered with its own
// result, taken after everything queued before it. The queue is kept on the creator's thread:
// a setter of the same setting as the one queued last replaces it (a slider dragged over a slow
// device ends at its last value), requests of the same kind asked while one is waiting share
// its answer, and a full queue refuses more. While the device is known to be silent requests
// fail at once.
//
// Everything public is called on the thread that created the session (the GUI thread), and
// every signal and handler arrives there. getAllPara() is the map of the last poll that showed
// the device as the window's setters left it.
//
// A device that stops answering: after kSilentPollsBeforeBackoff polls in a row without an
// answer the session polls every kBackoffIntervalMs only and `responding` turns false; the first
// answer brings both back.
class DeviceSession : public SoundCardBase
{
    Q_OBJECT
    Q_PROPERTY(bool responding READ isResponding NOTIFY respondingChanged)
public:
    // The outcome of a request.
    struct Reply
    {
        enum Status {
            Answered,
            NoAnswer, // the device gave none, or is known to be silent
            Busy,     // the queue is full
            Closed,   // the session ended first (the device went)
        };
        Status status = NoAnswer;
        QString text;           // a query's answer
        QVariantMap parameters; // a poll's map

        bool answered() const { return status == Answered; }
    };
    using ReplyHandler = std::function<void(const Reply &reply)>;

    explicit DeviceSession(std::unique_ptr<SoundCardProtocol> protocol, QObject *parent = nullptr);
    // Drops what is still queued and waits for the job in flight (at most one read time-out).
    ~DeviceSession() override;

    // Queues opening the device; the result comes with opened().
    void open();
    // Polls every `intervalMs` from now on (backing off while the device is silent); stop ends it.
    void startPolling(int intervalMs = kPollIntervalMs);
    void stopPolling();
    bool isPolling() const { return m_pollTimer.isActive(); }
    int pollInterval() const { return m_pollInterval; }
    bool isResponding() const { return m_responding; }

    // Ends the session: nothing still queued reaches the device, waiting requests are answered
    // Closed and no signal follows; the session deletes itself once the job in flight has
    // returned. The window never waits.
    void close();

    // Queues the setter; a full queue drops it with a warning.
    void apply(const SetterCall &call) override;
    // The same; false when the queue is full or the session closed.
    bool queue(const SetterCall &call);
    // Requests with their own answer, taken after everything queued before.
    void requestPoll(ReplyHandler done);
    void requestFirmwareVersion(ReplyHandler done);
    void requestSerialNumber(ReplyHandler done);
    // Runs `step` once everything asked for so far was done and answered; asks nothing of the
    // device; not at all when the session is closed first.
    void whenDone(std::function<void()> step);

    static constexpr int kPollIntervalMs = 500;
    static constexpr int kBackoffIntervalMs = 2000;
    static constexpr int kSilentPollsBeforeBackoff = 3;
    static constexpr int kMaxQueued = 64;

signals:
    void opened(bool ok);
    // After every poll, whether or not it brought a new map (after allParaChanged when it did).
    void polled(bool changed);
    void respondingChanged(bool responding);

public slots:
    // The last answer known; the device is asked again, its answer comes with the signals.
    QString getFirmwareVer() override;
    QString getSNCode() override;
    // Queues a poll; false here, a change arrives with allParaChanged.
    bool getParaIsChange() override;
    QVariantMap getAllPara() override;

private:
    enum class Work { Open, Setter, Poll, FirmwareVersion, SerialNumber, Done };
    struct Job
    {
        Work work = Work::Done;
        SetterCall setter;
        QVector<ReplyHandler> handlers;
        std::function<void()> step;
        // Setters queued before it: a poll that more setters followed shows the device before them.
        quint64 settersBefore = 0;
    };
    // What the session's thread brings back of a job.
    struct Outcome
    {
        bool answered = false;
        QString text;
        QVariantMap parameters;
        QString knownFirmwareVersion;
    };

    // `probe`: asked even while the device is known to be silent (the timer's polls).
    void request(Work work, ReplyHandler done, bool probe = false);
    bool enqueue(Job job);
    void dispatch();
    // On the session's thread.
    Outcome perform(Work work, const SetterCall &setter);
    void finish(const Outcome &outcome);
    void finishPoll(const Job &job, const Outcome &outcome);
    void onPollTimer();
    void setResponding(bool responding);
    void updatePollTimer();
    static void answer(const Job &job, const Reply &reply);

    // Owned; used and deleted on the session's thread only.
    SoundCardProtocol *m_protocol;
    QObject *m_worker;
    QThread m_thread;
    std::atomic<bool> m_closing{false};

    // The creator thread's.
    std::deque<Job> m_queue;
    Job m_current;
    bool m_inFlight = false;
    quint64 m_settersQueued = 0;
    QTimer m_pollTimer;
    int m_pollInterval = 0;
    int m_silentPolls = 0;
    bool m_responding = true;
    QVariantMap m_parameters;
};
