#include "record/AudioPlayback.h"

#include <QMediaPlayer>
#include <QUrl>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QAudioOutput>
#endif

AudioPlayback::AudioPlayback(QObject *parent)
    : QObject(parent)
    , m_player(new QMediaPlayer(this))
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    m_player->setAudioOutput(new QAudioOutput(m_player));
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
#else
    connect(m_player, &QMediaPlayer::stateChanged, this, [this](QMediaPlayer::State state) {
#endif
        if (state == QMediaPlayer::StoppedState)
            emit stopped();
    });
}

AudioPlayback::~AudioPlayback()
{
    // Its signals must not reach an owner that is half destroyed.
    m_player->disconnect(this);
}

void AudioPlayback::setFile(const QString &path)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 ignores the source it already has: an edited file at the same path is read again.
    m_player->setSource(QUrl());
    m_player->setSource(QUrl::fromLocalFile(path));
#else
    m_player->setMedia(QUrl::fromLocalFile(path));
#endif
}

void AudioPlayback::play()
{
    m_player->play();
}

void AudioPlayback::pause()
{
    m_player->pause();
}

void AudioPlayback::stop()
{
    m_player->stop();
}

bool AudioPlayback::isPlaying() const
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return m_player->playbackState() == QMediaPlayer::PlayingState;
#else
    return m_player->state() == QMediaPlayer::PlayingState;
#endif
}

bool AudioPlayback::isStopped() const
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return m_player->playbackState() == QMediaPlayer::StoppedState;
#else
    return m_player->state() == QMediaPlayer::StoppedState;
#endif
}

qint64 AudioPlayback::position() const
{
    return m_player->position();
}

void AudioPlayback::setPosition(qint64 ms)
{
    m_player->setPosition(ms);
}
