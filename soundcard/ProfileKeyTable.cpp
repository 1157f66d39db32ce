#include "soundcard/ProfileKeyTable.h"

#include "soundcard/SoundCardBase.h"

namespace {

using Kind = ProfileKey::Kind;

ProfileKey volume(const char *key, int type)
{
    return {key, 0, 16, Kind::Setter, [type](SoundCardBase &card, int value) { card.setVolume(type, value); }};
}

ProfileKey toggle(const char *key, int type)
{
    return {key, 1, 2, Kind::Setter, [type](SoundCardBase &card, int value) { card.setSwitch(type, value); }};
}

ProfileKey reportedOnly(const char *key)
{
    return {key, 0, 255, Kind::ReportedOnly, {}};
}

const ProfileKey kDodgeThreshold{"dodgeThreshold", 1, 16, Kind::Setter,
                                 [](SoundCardBase &card, int value) { card.setDodgeThreshold(value); }};
const ProfileKey kDodgeLevel{"dodgeLevel", 1, 16, Kind::Setter,
                             [](SoundCardBase &card, int value) { card.setDodgeGrade(value); }};
const ProfileKey kDodgeSpeed{"dodgeSpeed", 1, 16, Kind::Setter,
                             [](SoundCardBase &card, int value) { card.setDodgeSpeed(value); }};

const QVector<ProfileKey> &vx01()
{
    static const QVector<ProfileKey> table{
        {"model", 1, 7, Kind::Vx01Model, {}},
        volume("volumeMonitor", 1),
        volume("volumeRecording", 2),
        volume("volumeMusicVolume", 3),
        volume("volumeMic", 4),
        {"reverbDepth", 0, 16, Kind::Setter,
         [](SoundCardBase &card, int value) { card.setMicReverberation(value, 1); }},
        {"reverbVolume", 0, 16, Kind::Setter,
         [](SoundCardBase &card, int value) { card.setMicReverberation(value, 2); }},
        kDodgeThreshold,
        kDodgeLevel,
        kDodgeSpeed,
        reportedOnly("toneColourHigh"),
        reportedOnly("toneColourLow"),
        {"toneColour", 0, 16, Kind::Setter, [](SoundCardBase &card, int value) { card.setMicToneColour(value); }},
        toggle("btnBluetooth", 1),
        toggle("btnDenoise", 2),
        toggle("btnInPower", 3),
        toggle("btnDisVoice", 4),
        reportedOnly("btnMute"),
        toggle("btnDodge", 7),
    };
    return table;
}

const QVector<ProfileKey> &vx02()
{
    static const QVector<ProfileKey> table{
        {"soundMode", 1, 3, Kind::Vx02Group, {}},
        {"modelDetail", 1, 12, Kind::Vx02Detail, {}},
        volume("volumeMonitor", 1),
        volume("volumeRecording", 2),
        volume("volumeBluetooth", 3),
        volume("volumeBroadcast", 4),
        volume("volumeBGM", 5),
        {"reverbVolume", 0, 16, Kind::Setter, [](SoundCardBase &card, int value) { card.setMicReverberation(value); }},
        kDodgeSpeed,
        kDodgeThreshold,
        kDodgeLevel,
        {"disVoiceLevel", 1, 2, Kind::Setter, [](SoundCardBase &card, int value) { card.setEliminateVoice(value); }},
        {"denoiseLevel", 0, 3, Kind::Setter, [](SoundCardBase &card, int value) { card.setDenoise(value); }},
        toggle("btnInPower", 1),
        toggle("btnDodge", 2),
        toggle("btnMixDry", 3),
    };
    return table;
}

} // namespace

QStringList ProfileKeyTable::models()
{
    return {QStringLiteral("vx01"), QStringLiteral("vx02")};
}

const QVector<ProfileKey> &ProfileKeyTable::keys(const QString &devType)
{
    static const QVector<ProfileKey> none;
    if (devType == QLatin1String("vx01"))
        return vx01();
    if (devType == QLatin1String("vx02"))
        return vx02();
    return none;
}

const ProfileKey *ProfileKeyTable::find(const QString &devType, const QString &key)
{
    for (const ProfileKey &entry : keys(devType)) {
        if (key == QLatin1String(entry.key))
            return &entry;
    }
    return nullptr;
}

int ProfileKeyTable::vx02DetailCount(int group)
{
    static const int counts[] = {5, 6, 12}; // reverberation effects, voice changes, keys
    return group >= 1 && group <= 3 ? counts[group - 1] : 0;
}
