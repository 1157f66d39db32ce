#include "soundcard/SoundCardVx02Model.h"

#include "soundcard/SoundCardModel.h"

namespace {

using Kind = ModelParameter::Kind;
using Op = SetterOp;

const SoundCardModel kModel{
    "vx02",
    "\xE9\xBA\xA6\xE5\x85\x8B\xE9\xA3\x8E (Vorlet Stage 20)", // 麦克风 (Vorlet Stage 20)
    "Vorlet Stage 20 MK2",
    0x1234,
    0x4321,
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
        {"soundMode", 16, 1, 3, Kind::Vx02Group, Op::SoundMode, 0, "sound mode group"},
        {"modelDetail", 17, 1, 12, Kind::Vx02Detail, Op::SoundMode, 0, "sound mode choice"},
        {"volumeMonitor", 18, 0, 16, Kind::Setter, Op::Volume, 1, "monitor"},
        {"volumeRecording", 19, 0, 16, Kind::Setter, Op::Volume, 2, "record"},
        {"volumeBluetooth", 20, 0, 16, Kind::Setter, Op::Volume, 3, "music"},
        {"volumeBroadcast", 21, 0, 16, Kind::Setter, Op::Volume, 4, "live broadcast"},
        {"volumeBGM", 22, 0, 16, Kind::Setter, Op::Volume, 5, "background music"},
        // one reverberation value: TYPE 1, the setter's default
        {"reverbVolume", 23, 0, 16, Kind::Setter, Op::MicReverberation, 1, "volume"},
        {"dodgeSpeed", 24, 1, 16, Kind::Setter, Op::DodgeSpeed, 0, "ducking speed"},
        {"dodgeThreshold", 25, 1, 16, Kind::Setter, Op::DodgeThreshold, 0, "ducking threshold"},
        {"dodgeLevel", 26, 1, 16, Kind::Setter, Op::DodgeGrade, 0, "ducking level"},
        {"disVoiceLevel", 27, 1, 2, Kind::Setter, Op::EliminateVoice, 0, "voice elimination"},
        {"denoiseLevel", 28, 0, 3, Kind::Setter, Op::Denoise, 0, "noise reduction level"},
        {"btnInPower", 29, 1, 2, Kind::Setter, Op::Switch, 1, "internal playback"},
        {"btnDodge", 30, 1, 2, Kind::Setter, Op::Switch, 2, "ducking"},
        {"btnMixDry", 31, 1, 2, Kind::Setter, Op::Switch, 3, "monitor wet, record dry"},
        // setSoundMode MODETYPE DETAIL: the choices of each group
        {"reverberationEffect", 0, 1, 5, Kind::SetterOnly, Op::SoundMode, 1,
         "reverberation effect: live, shout, sing, chat, host"},
        {"voiceChange", 0, 1, 6, Kind::SetterOnly, Op::SoundMode, 2,
         "voice change: boy, girl, child, robot, telephone, monster"},
        {"electronicKey", 0, 1, 12, Kind::SetterOnly, Op::SoundMode, 3,
         "electronic key: F, E, Eb, D, Db, c, Gb, G, Ab, A, Bb, B"},
        {"soundEffect", 0, 1, 9, Kind::SetterOnly, Op::SpecialEffectSound, 0, "sound effect"},
        // the one reverberation value takes TYPE 2 as well (it is not sent)
        {nullptr, 0, 0, 16, Kind::SetterOnly, Op::MicReverberation, 2, "volume"},
    },
    SoundCardCommand{{0x00, 0x00, 0x00, 0x01}, false, {}},
    SoundCardCommand{{0x01, 0x02, 0x02, 0x01}, false, {}},
    {ReportText::Field::HexNumbers, 11, 3},
    {ReportText::Field::Text, 16, 13},
    SoundCardCommand{{0x03, 0x01, 0x02, 0x08}, false, {}},
    100,
    true,
};

} // namespace

const SoundCardModel &SoundCardVx02Model::model()
{
    return kModel;
}
