#include "cli/CliCommandTable.h"

namespace {

using Args = CliCommand::Arguments;
using Action = CliCommand::Action;

const QVector<CliCommand> kCommands{
    {"setSoundMode", 2, 2, Args::Integers, Action::Setter, "MODETYPE DETAIL",
     "sound mode (vx01: 1 music, 2 singing 1-3, 3 chat; vx02: group 1-3, choice)"},
    {"setVolume", 2, 2, Args::Integers, Action::Setter, "TYPE VALUE",
     "volume TYPE (1 monitor, 2 record, 3 music, 4 mic/live, 5 BGM) to 0-16"},
    {"setMicReverberation", 1, 2, Args::Integers, Action::Setter, "VALUE [TYPE]",
     "reverberation value; TYPE 1 depth (default), 2 volume (vx01)"},
    {"setDodgeSpeed", 1, 1, Args::Integers, Action::Setter, "VALUE", "ducking speed 1-16"},
    {"setDodgeThreshold", 1, 1, Args::Integers, Action::Setter, "VALUE", "ducking threshold 1-16"},
    {"setDodgeGrade", 1, 1, Args::Integers, Action::Setter, "VALUE", "ducking level 1-16"},
    {"setEliminateVoice", 1, 1, Args::Integers, Action::Setter, "VALUE", "voice elimination 1 on, 2 off (vx02)"},
    {"setDenoise", 1, 1, Args::Integers, Action::Setter, "VALUE", "noise reduction level 0-3 (vx02)"},
    {"setMicToneColour", 1, 1, Args::Integers, Action::Setter, "VALUE", "microphone tone colour 0-16 (vx01)"},
    {"setSwitch", 2, 2, Args::Integers, Action::Setter, "TYPE VALUE", "switch TYPE on (1) or off (2)"},
    {"setSpecialEffectSound", 1, 1, Args::Integers, Action::Setter, "NUMBER", "play sound effect 1-9 (vx02)"},
    {"getFirmwareVer", 0, 0, Args::Integers, Action::TextQuery, "", "print the firmware version"},
    {"getSNCode", 0, 0, Args::Integers, Action::TextQuery, "", "print the serial number"},
    {"getDevType", 0, 0, Args::Integers, Action::TextQuery, "", "print the model: vx01 or vx02"},
    {"getInputDevName", 0, 0, Args::Integers, Action::TextQuery, "", "print the model's audio input name"},
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
