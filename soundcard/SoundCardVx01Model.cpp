#include "soundcard/SoundCardVx01Model.h"

#include "soundcard/SoundCardModel.h"

namespace {

using Kind = ModelParameter::Kind;
using Op = SetterOp;

const SoundCardModel kModel{
    "vx01",
    "\xE9\xBA\xA6\xE5\x85\x8B\xE9\xA3\x8E(Vorlet Cantor 10)", // 麦克风(Vorlet Cantor 10)
    "Vorlet Cantor 10 MK2",
    0x1235,
    0x0003,
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
        {"model", 16, 1, 7, Kind::Vx01Model, Op::SoundMode, 0, "sound mode"},
        {"volumeMonitor", 17, 0, 16, Kind::Setter, Op::Volume, 1, "monitor"},
        {"volumeRecording", 18, 0, 16, Kind::Setter, Op::Volume, 2, "record"},
        {"volumeMusicVolume", 19, 0, 16, Kind::Setter, Op::Volume, 3, "music"},
        {"volumeMic", 20, 0, 16, Kind::Setter, Op::Volume, 4, "mic"},
        {"reverbDepth", 21, 0, 16, Kind::Setter, Op::MicReverberation, 1, "depth"},
        {"reverbVolume", 22, 0, 16, Kind::Setter, Op::MicReverberation, 2, "volume"},
        {"dodgeThreshold", 23, 1, 16, Kind::Setter, Op::DodgeThreshold, 0, "ducking threshold"},
        {"dodgeLevel", 24, 1, 16, Kind::Setter, Op::DodgeGrade, 0, "ducking level"},
        {"dodgeSpeed", 25, 1, 16, Kind::Setter, Op::DodgeSpeed, 0, "ducking speed"},
        {"toneColourHigh", 26, 0, 255, Kind::ReportedOnly, Op::MicToneColour, 0, "high tone colour"},
        {"toneColourLow", 27, 0, 255, Kind::ReportedOnly, Op::MicToneColour, 0, "low tone colour"},
        {"toneColour", 28, 0, 16, Kind::Setter, Op::MicToneColour, 0, "microphone tone colour"},
        {"btnBluetooth", 29, 1, 2, Kind::Setter, Op::Switch, 1, "Bluetooth"},
        {"btnDenoise", 30, 1, 2, Kind::Setter, Op::Switch, 2, "noise reduction"},
        {"btnInPower", 31, 1, 2, Kind::Setter, Op::Switch, 3, "internal playback"},
        {"btnDisVoice", 32, 1, 2, Kind::Setter, Op::Switch, 4, "vocal cut"},
        {"btnMute", 33, 0, 255, Kind::ReportedOnly, Op::Switch, 0, "mute"},
        {"btnDodge", 34, 1, 2, Kind::Setter, Op::Switch, 7, "ducking"},
        // setSoundMode MODETYPE DETAIL: the DETAIL each group takes
        {"music", 0, 0, 0, Kind::SetterOnly, Op::SoundMode, 1, "music"},
        {"singing", 0, 1, 3, Kind::SetterOnly, Op::SoundMode, 2, "singing with large, medium, small reverberation"},
        {"chat", 0, 0, 0, Kind::SetterOnly, Op::SoundMode, 3, "chat"},
    },
    SoundCardCommand{{0x01, 0x01, 0x02, 0x01}, false, {}},
    SoundCardCommand{{0x01, 0x02, 0x02, 0x01}, false, {}},
    {ReportText::Field::Text, 16, 4},
    {ReportText::Field::Text, 16, 12},
    std::nullopt,
    0,
    false,
};

} // namespace

const SoundCardModel &SoundCardVx01Model::model()
{
    return kModel;
}
