#include "soundcard/emulator/FirmwareVx01.h"

#include "soundcard/SoundCardProfile.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx01Profile.h"


namespace {

// (group, sub-code) → key; the value is the second data byte.
const QVector<FirmwareRule> kRules{
    {0x02, 1, "volumeMonitor"},
    {0x02, 2, "volumeRecording"},
    {0x02, 3, "volumeMusicVolume"},
    {0x02, 4, "volumeMic"},
    {0x03, 1, "reverbDepth"},
    {0x03, 2, "reverbVolume"},
    {0x04, 1, "dodgeThreshold"},
    {0x04, 2, "dodgeLevel"},
    {0x04, 3, "dodgeSpeed"},
    {0x05, 3, "toneColour"},
    {0x06, 1, "btnBluetooth"},
    {0x06, 2, "btnDenoise"},
    {0x06, 3, "btnInPower"},
    {0x06, 4, "btnDisVoice"},
    {0x06, 7, "btnDodge"},
};

// Sound mode type → "model": music 1, singing 1 + reverberation size (1 to 3), chat 7.
struct ModeRule
{
    quint8 modeType;
    quint8 model;
    quint8 maxDetail;   // 0: the detail is not used; else model + detail, detail 1..maxDetail
};

const ModeRule kModes[] = {
    {1, 1, 0},
    {2, 1, 3},
    {3, 7, 0},
};

const QVector<ParameterValue> kStartUp{
    {"model", 1},          {"volumeMonitor", 8},   {"volumeRecording", 8}, {"volumeMusicVolume", 8},
    {"volumeMic", 8},      {"reverbDepth", 6},     {"reverbVolume", 6},    {"dodgeThreshold", 8},
    {"dodgeLevel", 8},     {"dodgeSpeed", 8},      {"toneColourHigh", 8},  {"toneColourLow", 8},
    {"toneColour", 8},     {"btnBluetooth", 2},    {"btnDenoise", 2},      {"btnInPower", 2},
    {"btnDisVoice", 2},    {"btnMute", 2},         {"btnDodge", 2},
};

const QByteArray kFirmwareVersion("2.13");
const QByteArray kSerialNumber("VC1026120501");

} // namespace

FirmwareVx01::FirmwareVx01()
    : FirmwareBase("FirmwareVx01", SoundCardVx01Profile::profile(), AnswerPipe::Control, kRules, kStartUp)
{
}

QByteArray FirmwareVx01::answerTo(const SoundCardCommand &command) const
{
    if (command == profile().firmwareQuery)
        return textReport(kFirmwareVersion, SoundCardVx01::kFirmwareWidth);
    if (command == profile().serialQuery)
        return textReport(kSerialNumber, SoundCardVx01::kSerialWidth);
    return QByteArray();
}

bool FirmwareVx01::applySoundMode(quint8 modeType, quint8 modeDetailed)
{
    for (const ModeRule &rule : kModes) {
        if (rule.modeType != modeType)
            continue;
        if (rule.maxDetail == 0)
            return setParameter(QStringLiteral("model"), rule.model);
        if (modeDetailed < 1 || modeDetailed > rule.maxDetail)
            return false;
        return setParameter(QStringLiteral("model"), rule.model + modeDetailed);
    }
    return false;
}
