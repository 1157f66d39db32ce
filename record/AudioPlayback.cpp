#include "record/AudioPlayback.h"

#include <QMediaPlayer>
#include <QUrl>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QAudioOutput>
#endif

namespace {
// The player's state, which Qt 6 calls its playback state.
auto stateOf(const QMediaPlayer *player)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return player->playbackState();
#else
    return player->state();
#endif
}
} // namespace

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
    return stateOf(m_player) == QMediaPlayer::PlayingState;
}

bool AudioPlayback::isStopped() const
{
    return stateOf(m_player) == QMediaPlayer::StoppedState;
}

qint64 AudioPlayback::position() const
{
    return m_player->position();
}

void AudioPlayback::setPosition(qint64 ms)
{
    m_player->setPosition(ms);
}
