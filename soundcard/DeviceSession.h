#pragma once

#include "soundcard/SoundCardBase.h"

#include <QThread>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>

class QTimer;

// The attached sound card as the scene and the rest of the program see it, while the card's
// protocol runs on a thread of its own: opening, the poll, every setter and query go there in
// the order they were asked for, so a device that is slow or silent never holds up the window.
// The frames on the wire are those the card itself sends.
//
// Everything public is called on the thread that created the session (the GUI thread), and
// every signal arrives there. Setters return at once; getAllPara() is the map of the last poll
// that found a change; getSNCode() and getFirmwareVer() return the last answer and ask the device
// again, the answer arriving with snNumChanged and firmwareVerChanged.
//
// A device that stops answering: after kSilentPollsBeforeBackoff polls in a row without an
// answer the session polls every kBackoffIntervalMs only and `responding` turns false; the first
// answer brings both back.
class DeviceSession : public SoundCardBase
{
    Q_OBJECT
    Q_PROPERTY(QString firmwareVer READ knownFirmwareVer NOTIFY firmwareVerChanged)
    Q_PROPERTY(bool responding READ isResponding NOTIFY respondingChanged)
public:
    // Takes the model's card (not yet opened) over; from now on it lives on the session's
    // thread.
    explicit DeviceSession(std::unique_ptr<SoundCardBase> card, QObject *parent = nullptr);
    // Drops what is still queued and waits for the call in flight (at most one read time-out).
    ~DeviceSession() override;

    // Queues opening the device; the result comes with opened(). Always true here.
    bool openDevice() override;
    // Polls every `intervalMs` from now on (backing off while the device is silent); stop ends it.
    void startPolling(int intervalMs = kPollIntervalMs);
    void stopPolling();
    bool isPolling() const { return m_polling; }
    int pollInterval() const { return m_pollInterval; }

    bool isResponding() const { return m_responding; }
    QString knownFirmwareVer() const { return m_firmwareVer; }

    // Ends the session: nothing still queued reaches the device and no signal follows; the
    // session deletes itself once the call in flight has returned. The window never waits.
    void close();

    // Runs `job` with the card on the session's thread, after everything asked for before. For
    // work that needs the protocol's answers in sequence (a profile's setters, say).
    void run(std::function<void(SoundCardBase &card)> job);
    // Runs `step` here once everything asked for so far was done and its answers (signals) are
    // delivered; not at all when the session is closed first. Asks nothing of the device.
    void whenDone(std::function<void()> step);

    static constexpr int kPollIntervalMs = 500;
    static constexpr int kBackoffIntervalMs = 2000;
    static constexpr int kSilentPollsBeforeBackoff = 3;

signals:
    void opened(bool ok);
    // After every poll, whether or not it brought a new map (after allParaChanged when it did).
    void polled(bool changed);
    void firmwareVerChanged(QString firmwareVer);
    void respondingChanged(bool responding);

public slots:
    void setSoundMode(int modeType, int modeDetailed) override;
    void setVolume(int voluemType, int value) override;
    void setMicReverberation(int value, int type = 1) override;
    void setDodgeSpeed(int value) override;
    void setDodgeThreshold(int value) override;
    void setDodgeGrade(int value) override;
    void setEliminateVoice(int value) override;
    void setDenoise(int value) override;
    void setMicToneColour(int value) override;
    void setSwitch(int type, int value) override;
    void setSpecialEffectSound(int value) override;
    QString getFirmwareVer() override;
    QString getSNCode() override;
    // Queues a poll now; false here, a change arrives with allParaChanged.
    bool getParaIsChange() override;
    QVariantMap getAllPara() override;

protected:
    // Never used: the card sends.
    bool sendReport(const QByteArray &buffer, int frameLength) override;

private:
    // On the session's thread; `asJob`: asked for with getParaIsChange(), not by the timer.
    void poll(SoundCardBase &card, bool asJob);
    void setPollTimer(int intervalMs);
    // Runs `step` on the session's creator thread unless the session was closed meanwhile.
    void toOwner(std::function<void()> step);
    void setResponding(bool responding);

    // Owned; deleted on the session's thread when it ends.
    SoundCardBase *m_card;
    QTimer *m_pollTimer;
    QThread m_thread;
    std::atomic<bool> m_closing{false};

    // The creator thread's view.
    QVariantMap m_parameters;
    QString m_firmwareVer;
    bool m_responding = true;
    bool m_polling = false;
    int m_pollInterval = 0;

    // Jobs queued (creator thread) and done (session thread): a poll that started before the
    // last queued job ended may show the device as it was before it.
    quint64 m_issued = 0;
    quint64 m_done = 0;
    std::atomic<bool> m_redeliver{false};

    // The session thread's own.
    int m_silentPolls = 0;
    int m_workerInterval = 0;
};
