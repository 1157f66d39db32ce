#include "soundcard/SoundCardVx01Profile.h"

#include "soundcard/SoundCardProfile.h"

namespace {

const SoundCardProfile kProfile{
    "vx01",
    "\xE9\xBA\xA6\xE5\x85\x8B\xE9\xA3\x8E(Vorlet Cantor 10)", // 麦克风(Vorlet Cantor 10)
    "Vorlet Cantor 10 MK2",
    0x1234,
    0x4321,
    0x000C,
    0x0001,
    "DeviceHID = ",
    {
        {SetterOp::SoundMode, SetterCommand::group(0x01), DataByte::first(), DataByte::second()},
        {SetterOp::Volume, SetterCommand::group(0x02), DataByte::first(), DataByte::second()},
        // (value, type): type goes first on the wire
        {SetterOp::MicReverberation, SetterCommand::group(0x03), DataByte::second(), DataByte::first()},
        {SetterOp::DodgeThreshold, SetterCommand::group(0x04), DataByte::fixed(0x01), DataByte::first()},
        {SetterOp::DodgeGrade, SetterCommand::group(0x04), DataByte::fixed(0x02), DataByte::first()},
        {SetterOp::DodgeSpeed, SetterCommand::group(0x04), DataByte::fixed(0x03), DataByte::first()},
        {SetterOp::MicToneColour, SetterCommand::group(0x05), DataByte::fixed(0x03), DataByte::first()},
        {SetterOp::Switch, SetterCommand::group(0x06), DataByte::first(), DataByte::second()},
    },
    {
        {"model", 16},       {"volumeMonitor", 17}, {"volumeRecording", 18}, {"volumeMusicVolume", 19},
        {"volumeMic", 20},   {"reverbDepth", 21},   {"reverbVolume", 22},    {"dodgeThreshold", 23},
        {"dodgeLevel", 24},  {"dodgeSpeed", 25},    {"toneColourHigh", 26},  {"toneColourLow", 27},
        {"toneColour", 28},  {"btnBluetooth", 29},  {"btnDenoise", 30},      {"btnInPower", 31},
        {"btnDisVoice", 32}, {"btnMute", 33},       {"btnDodge", 34},
    },
    SoundCardCommand{{0x01, 0x01, 0x02, 0x01}, false, {}},
    SoundCardCommand{{0x01, 0x02, 0x02, 0x01}, false, {}},
};

} // namespace

const SoundCardProfile &SoundCardVx01Profile::profile()
{
    return kProfile;
}
