#include "cli/CliCommandTable.h"

#include "soundcard/SoundCardBase.h"

namespace {

using Args = CliCommand::Arguments;
using Action = CliCommand::Action;

const QVector<CliCommand> kCommands{
    // The codes and values of each model are listed from the models' tables.
    {"setSoundMode", 2, 2, Args::Integers, Action::Setter, "MODETYPE DETAIL",
     "sound mode: MODETYPE the group, DETAIL its choice", SetterOp::SoundMode},
    {"setVolume", 2, 2, Args::Integers, Action::Setter, "TYPE VALUE", "volume TYPE to VALUE", SetterOp::Volume},
    {"setMicReverberation", 1, 2, Args::Integers, Action::Setter, "VALUE [TYPE]",
     "reverberation value; TYPE defaults to 1", SetterOp::MicReverberation},
    {"setDodgeSpeed", 1, 1, Args::Integers, Action::Setter, "VALUE", "ducking speed", SetterOp::DodgeSpeed},
    {"setDodgeThreshold", 1, 1, Args::Integers, Action::Setter, "VALUE", "ducking threshold", SetterOp::DodgeThreshold},
    {"setDodgeGrade", 1, 1, Args::Integers, Action::Setter, "VALUE", "ducking level", SetterOp::DodgeGrade},
    {"setEliminateVoice", 1, 1, Args::Integers, Action::Setter, "VALUE", "voice elimination on (1) or off (2)",
     SetterOp::EliminateVoice},
    {"setDenoise", 1, 1, Args::Integers, Action::Setter, "VALUE", "noise reduction level", SetterOp::Denoise},
    {"setMicToneColour", 1, 1, Args::Integers, Action::Setter, "VALUE", "microphone tone colour",
     SetterOp::MicToneColour},
    {"setSwitch", 2, 2, Args::Integers, Action::Setter, "TYPE VALUE", "switch TYPE on (1) or off (2)",
     SetterOp::Switch},
    {"setSpecialEffectSound", 1, 1, Args::Integers, Action::Setter, "NUMBER", "play a sound effect",
     SetterOp::SpecialEffectSound},
    {"getFirmwareVer",
     0,
     0,
     Args::Integers,
     Action::TextQuery,
     "",
     "print the firmware version",
     {},
     &SoundCardBase::getFirmwareVer},
    {"getSNCode",
     0,
     0,
     Args::Integers,
     Action::TextQuery,
     "",
     "print the serial number",
     {},
     &SoundCardBase::getSNCode},
    {"getDevType",
     0,
     0,
     Args::Integers,
     Action::TextQuery,
     "",
     "print the model: vx01 or vx02",
     {},
     &SoundCardBase::getDevType},
    {"getInputDevName",
     0,
     0,
     Args::Integers,
     Action::TextQuery,
     "",
     "print the model's audio input name",
     {},
     &SoundCardBase::getInputDevName},
    {"getParaIsChange", 0, 0, Args::Integers, Action::ParaIsChange, "",
     "poll once; print true when the parameters changed"},
    {"getAllPara", 0, 0, Args::Integers, Action::AllPara, "",
     "poll once, then print key=value per parameter (--json: one object)"},
    {"list", 0, 0, Args::Integers, Action::List, "", "list every HID collection: path, ids, usage, report lengths"},
    {"save", 1, 1, Args::File, Action::Save, "FILE", "poll once and write the parameters to FILE as a JSON profile"},
    {"load", 1, 1, Args::File, Action::Load, "FILE", "send the setters that bring the device into the state of FILE"},
    {"lastSettings", 0, 1, Args::OnOff, Action::RestoreOption, "[on|off]",
     "restore the last settings on replug and wake (as the panel's option): print it, or switch it"},
    {"background", 0, 1, Args::OnOff, Action::BackgroundOption, "[on|off]",
     "keep the panel running when its window is closed (tray icon, restoring, D-Bus): print it, or switch it"},
    {"autostart", 0, 1, Args::OnOff, Action::AutostartOption, "[on|off]",
     "start the panel hidden when you log in (an XDG autostart entry): print it, or switch it"},
    {"restore", 0, 0, Args::Integers, Action::Restore, "",
     "send the settings remembered for this device (by serial number), then poll once"},
    {"preset", 1, 2, Args::Preset, Action::Preset, "ACTION [NAME]",
     "the model's presets: list, save NAME, apply NAME, diff NAME, delete NAME, undo"},
    {"knob", 2, 2, Args::KeyValue, Action::Knob, "KEY VALUE",
     "emulated device only: the user changes KEY to VALUE (0-255) on the device itself"},
    {"unplug", 0, 0, Args::Integers, Action::Unplug, "", "emulated device only: the user pulls the device out"},
};

} // namespace

const QVector<CliCommand> &CliCommandTable::commands()
{
    return kCommands;
}

const CliCommand *CliCommandTable::find(const QString &name)
{
    for (const CliCommand &command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}
