#include "soundcard/emulator/FirmwareVx02.h"

#include "soundcard/SoundCardProfile.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/SoundCardVx02Profile.h"

namespace {

// (group, sub-code) → key; the value is the second data byte.
const QVector<FirmwareRule> kRules{
    {0x02, 1, "volumeMonitor"},
    {0x02, 2, "volumeRecording"},
    {0x02, 3, "volumeBluetooth"},
    {0x02, 4, "volumeBroadcast"},
    {0x02, 5, "volumeBGM"},
    {0x03, 1, "reverbVolume"},
    {0x04, 1, "dodgeSpeed"},
    {0x04, 2, "dodgeThreshold"},
    {0x04, 3, "dodgeLevel"},
    {0x05, 1, "disVoiceLevel"},
    {0x05, 2, "denoiseLevel"},
    {0x06, 1, "btnInPower"},
    {0x06, 2, "btnDodge"},
    {0x06, 3, "btnMixDry"},
};

// Choices per sound-mode group: reverberation effects, voice changes, electronic keys.
const int kModeDetails[] = {5, 6, 12};

const QVector<ParameterValue> kStartUp{
    {"soundMode", 1},       {"modelDetail", 1},     {"volumeMonitor", 8},  {"volumeRecording", 8},
    {"volumeBluetooth", 8}, {"volumeBroadcast", 8}, {"volumeBGM", 8},      {"reverbVolume", 6},
    {"dodgeSpeed", 8},      {"dodgeThreshold", 8},  {"dodgeLevel", 8},     {"disVoiceLevel", 2},
    {"denoiseLevel", 1},    {"btnInPower", 2},      {"btnDodge", 2},       {"btnMixDry", 2},
};

const QByteArray kSerialNumber("VS20261205007");
const QByteArray kVersionBytes("\x01\x04\x1c", 3);

} // namespace

FirmwareVx02::FirmwareVx02()
    : FirmwareBase("FirmwareVx02", SoundCardVx02Profile::profile(), AnswerPipe::Interrupt, kRules, kStartUp)
{
}

QByteArray FirmwareVx02::answerTo(const SoundCardCommand &command) const
{
    if (command == SoundCardVx02Profile::parameterQuery())
        return parameterReport();
    if (command == profile().firmwareQuery) {
        QByteArray report = emptyReport();
        report.replace(SoundCardVx02::kVersionOffset, kVersionBytes.size(), kVersionBytes);
        return report;
    }
    if (command == profile().serialQuery)
        return textReport(kSerialNumber, SoundCardVx02::kSerialWidth);
    return QByteArray();
}

bool FirmwareVx02::applySoundMode(quint8 modeType, quint8 modeDetailed)
{
    const int groups = int(sizeof(kModeDetails) / sizeof(kModeDetails[0]));
    if (modeType < 1 || modeType > groups || modeDetailed < 1 || modeDetailed > kModeDetails[modeType - 1])
        return false;
    setParameter(QStringLiteral("soundMode"), modeType);
    setParameter(QStringLiteral("modelDetail"), modeDetailed);
    return true;
}
