#include "soundcard/SoundCardVx02Profile.h"

#include "soundcard/SoundCardProfile.h"

namespace {

const SoundCardProfile kProfile{
    "vx02",
    "\xE9\xBA\xA6\xE5\x85\x8B\xE9\xA3\x8E (Vorlet Stage 20)", // 麦克风 (Vorlet Stage 20)
    "Vorlet Stage 20 MK2",
    0x1234,
    0x4321,
    0xFF00,
    0x55AA,
    "a DeviceHID = ",
    {
        {SetterOp::SoundMode, SetterCommand::group(0x01), DataByte::first(), DataByte::second()},
        {SetterOp::Volume, SetterCommand::group(0x02), DataByte::first(), DataByte::second()},
        // one reverberation value: the type is not sent
        {SetterOp::MicReverberation, SetterCommand::group(0x03), DataByte::fixed(0x01), DataByte::first()},
        {SetterOp::DodgeSpeed, SetterCommand::group(0x04), DataByte::fixed(0x01), DataByte::first()},
        {SetterOp::DodgeThreshold, SetterCommand::group(0x04), DataByte::fixed(0x02), DataByte::first()},
        {SetterOp::DodgeGrade, SetterCommand::group(0x04), DataByte::fixed(0x03), DataByte::first()},
        {SetterOp::EliminateVoice, SetterCommand::group(0x05), DataByte::fixed(0x01), DataByte::first()},
        {SetterOp::Denoise, SetterCommand::group(0x05), DataByte::fixed(0x02), DataByte::first()},
        {SetterOp::Switch, SetterCommand::group(0x06), DataByte::first(), DataByte::second()},
        {SetterOp::SpecialEffectSound, SetterCommand::group(0x07), DataByte::first(), DataByte::fixed(0x00)},
    },
    {
        {"soundMode", 16},
        {"modelDetail", 17},
        {"volumeMonitor", 18},
        {"volumeRecording", 19},
        {"volumeBluetooth", 20},
        {"volumeBroadcast", 21},
        {"volumeBGM", 22},
        {"reverbVolume", 23},
        {"dodgeSpeed", 24},
        {"dodgeThreshold", 25},
        {"dodgeLevel", 26},
        {"disVoiceLevel", 27},
        {"denoiseLevel", 28},
        {"btnInPower", 29},
        {"btnDodge", 30},
        {"btnMixDry", 31},
    },
    SoundCardCommand{{0x00, 0x00, 0x00, 0x01}, false, {}},
    SoundCardCommand{{0x01, 0x02, 0x02, 0x01}, false, {}},
};

const SoundCardCommand kParameterQuery{{0x03, 0x01, 0x02, 0x08}, false, {}};

} // namespace

const SoundCardProfile &SoundCardVx02Profile::profile()
{
    return kProfile;
}

const SoundCardCommand &SoundCardVx02Profile::parameterQuery()
{
    return kParameterQuery;
}
