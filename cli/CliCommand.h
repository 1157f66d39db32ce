#pragma once

#include "soundcard/SetterOp.h"

#include <QString>

class SoundCardBase;

// One command of vorletctl: its name, how many arguments it takes and of which kind, and what
// it does. The runner acts on `action`; the parser only on the counts and kinds.
struct CliCommand
{
    enum class Arguments { Integers, File, KeyValue, OnOff, Preset };
    enum class Action {
        Setter,           // the setter `setter` of the sound card
        TextQuery,        // `query`: a text (firmware version, serial number, ...)
        ParaIsChange,     // polls once, prints true or false
        AllPara,          // polls once, prints the parameter map
        List,             // every HID collection of the backend
        Save,             // the parameter map as a JSON profile
        Load,             // the setters that bring the device into a profile's state
        Knob,             // an emulated device changes a parameter on its own
        RestoreOption,    // prints or switches the option "restore last settings"
        Restore,          // the setters that bring back the settings remembered for the device
        Unplug,           // an emulated device is pulled out
        BackgroundOption, // prints or switches the option "run in the background"
        AutostartOption,  // prints or switches starting the panel at login
        Preset,           // lists, saves, applies, compares, deletes or undoes the model's presets
    };

    const char *name;
    int minArgs;
    int maxArgs;
    Arguments arguments;
    Action action;
    const char *argumentHelp;
    const char *help;
    SetterOp setter = SetterOp::SoundMode;       // of Action::Setter
    QString (SoundCardBase::*query)() = nullptr; // of Action::TextQuery

    bool needsDevice() const
    {
        return action != Action::List && action != Action::RestoreOption && action != Action::BackgroundOption
            && action != Action::AutostartOption;
    }
    bool needsEmulation() const { return action == Action::Knob || action == Action::Unplug; }
};
