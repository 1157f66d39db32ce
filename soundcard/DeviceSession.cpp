#include "soundcard/DeviceSession.h"

#include <QDebug>
#include <QTimer>

DeviceSession::DeviceSession(std::unique_ptr<SoundCardBase> card, QObject *parent)
    : SoundCardBase(nullptr, card->profile(), parent)
    , m_card(card.release())
    , m_pollTimer(new QTimer(m_card))
{
    m_thread.setObjectName(QStringLiteral("device session %1").arg(m_card->getDevType()));
    connect(m_pollTimer, &QTimer::timeout, m_card, [this] { poll(*m_card, false); });
    m_card->moveToThread(&m_thread);
    // The card, its device and its timer end on their own thread, after the last call.
    connect(
        &m_thread, &QThread::finished, m_card, [card = m_card] { delete card; }, Qt::DirectConnection);
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
    m_polling = false;
    connect(&m_thread, &QThread::finished, this, &QObject::deleteLater);
    m_thread.quit();
}

void DeviceSession::run(std::function<void(SoundCardBase &card)> job)
{
    if (m_closing)
        return;
    ++m_issued;
    // Queued events to one object run in the order they were posted.
    QMetaObject::invokeMethod(
        m_card,
        [this, job = std::move(job)] {
            if (!m_closing)
                job(*m_card);
            ++m_done;
        },
        Qt::QueuedConnection);
}

void DeviceSession::whenDone(std::function<void()> step)
{
    if (m_closing)
        return;
    // No job of the card: a poll before it is not taken for one that missed a later command.
    QMetaObject::invokeMethod(
        m_card, [this, step = std::move(step)]() mutable { toOwner(std::move(step)); }, Qt::QueuedConnection);
}

void DeviceSession::toOwner(std::function<void()> step)
{
    // The session outlives its thread, so it is there when this arrives.
    QMetaObject::invokeMethod(
        this,
        [this, step = std::move(step)] {
            if (!m_closing)
                step();
        },
        Qt::QueuedConnection);
}

bool DeviceSession::openDevice()
{
    run([this](SoundCardBase &card) {
        const bool ok = card.openDevice();
        if (!ok)
            qDebug() << "open dev error";
        toOwner([this, ok] { emit opened(ok); });
    });
    return true;
}

void DeviceSession::startPolling(int intervalMs)
{
    m_polling = true;
    m_pollInterval = intervalMs;
    run([this, intervalMs](SoundCardBase &) {
        m_silentPolls = 0;
        setPollTimer(intervalMs);
    });
}

void DeviceSession::stopPolling()
{
    m_polling = false;
    run([this](SoundCardBase &) { setPollTimer(0); });
}

void DeviceSession::setPollTimer(int intervalMs)
{
    m_workerInterval = intervalMs;
    if (intervalMs <= 0)
        m_pollTimer->stop();
    else if (m_silentPolls >= kSilentPollsBeforeBackoff)
        m_pollTimer->start(qMax(intervalMs, kBackoffIntervalMs));
    else
        m_pollTimer->start(intervalMs);
}

void DeviceSession::poll(SoundCardBase &card, bool asJob)
{
    if (m_closing)
        return;
    const bool changed = card.getParaIsChange();
    const bool answered = card.lastPollAnswered();
    const bool wasSilent = m_silentPolls >= kSilentPollsBeforeBackoff;
    m_silentPolls = answered ? 0 : m_silentPolls + 1;
    const bool silent = m_silentPolls >= kSilentPollsBeforeBackoff;
    if (silent != wasSilent && m_workerInterval > 0) {
        // Less often while nobody answers; back to the normal pace with the first answer.
        setPollTimer(m_workerInterval);
    }
    // A report read before the window's latest setters reached the device would put the
    // controls back where they were: such a report is held back, and the next poll brings the
    // device's state whether or not it changed again.
    // A poll asked for brings the map whether or not it changed: a timer poll just before may
    // have taken the change over and been held back.
    const quint64 reflected = m_done + (asJob ? 1 : 0);
    const bool deliver = m_redeliver.exchange(false) || changed || asJob;
    const QVariantMap parameters = deliver ? card.getAllPara() : QVariantMap();
    toOwner([this, deliver, parameters, silent, wasSilent, reflected] {
        if (silent != wasSilent)
            setResponding(!silent);
        const bool stale = reflected < m_issued;
        if (deliver && stale)
            m_redeliver = true;
        const bool taken = deliver && !stale && parameters != m_parameters;
        if (taken) {
            m_parameters = parameters;
            emit allParaChanged();
        }
        emit polled(taken);
    });
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
    emit respondingChanged(responding);
}

bool DeviceSession::getParaIsChange()
{
    run([this](SoundCardBase &card) { poll(card, true); });
    return false;
}

QVariantMap DeviceSession::getAllPara()
{
    return m_parameters;
}

QString DeviceSession::getSNCode()
{
    run([this](SoundCardBase &card) {
        const QString text = card.getSNCode();
        toOwner([this, text] {
            keepSNCode(text);
            emit snNumChanged(text);
        });
    });
    return knownSNCode();
}

QString DeviceSession::getFirmwareVer()
{
    run([this](SoundCardBase &card) {
        const QString text = card.getFirmwareVer();
        toOwner([this, text] {
            m_firmwareVer = text;
            emit firmwareVerChanged(text);
        });
    });
    return m_firmwareVer;
}

void DeviceSession::setSoundMode(int modeType, int modeDetailed)
{
    run([=](SoundCardBase &card) { card.setSoundMode(modeType, modeDetailed); });
}

void DeviceSession::setVolume(int voluemType, int value)
{
    run([=](SoundCardBase &card) { card.setVolume(voluemType, value); });
}

void DeviceSession::setMicReverberation(int value, int type)
{
    run([=](SoundCardBase &card) { card.setMicReverberation(value, type); });
}

void DeviceSession::setDodgeSpeed(int value)
{
    run([=](SoundCardBase &card) { card.setDodgeSpeed(value); });
}

void DeviceSession::setDodgeThreshold(int value)
{
    run([=](SoundCardBase &card) { card.setDodgeThreshold(value); });
}

void DeviceSession::setDodgeGrade(int value)
{
    run([=](SoundCardBase &card) { card.setDodgeGrade(value); });
}

void DeviceSession::setEliminateVoice(int value)
{
    run([=](SoundCardBase &card) { card.setEliminateVoice(value); });
}

void DeviceSession::setDenoise(int value)
{
    run([=](SoundCardBase &card) { card.setDenoise(value); });
}

void DeviceSession::setMicToneColour(int value)
{
    run([=](SoundCardBase &card) { card.setMicToneColour(value); });
}

void DeviceSession::setSwitch(int type, int value)
{
    run([=](SoundCardBase &card) { card.setSwitch(type, value); });
}

void DeviceSession::setSpecialEffectSound(int value)
{
    run([=](SoundCardBase &card) { card.setSpecialEffectSound(value); });
}

bool DeviceSession::sendReport(const QByteArray &, int)
{
    return false;
}
