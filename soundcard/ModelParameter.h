#pragma once

#include "soundcard/SetterOp.h"

// One row of a model's table: a key of the parameter report with its byte and range, the setter
// (and the code of its selector argument) that brings the device to a value, and a short label
// for help texts. A setter row without a key of its own (a sound-mode group, a sound effect)
// carries the range of the setter's value for its code.
struct ModelParameter
{
    enum class Kind {
        Setter,       // key and setter: the setter with `code` sets the key to a value in range
        SetterOnly,   // no key: the setter with `code` takes a value in range
        ReportedOnly, // key the device reports; accepted in a profile, never sent
        Vx01Model,    // "model": 1 music, 2-4 singing, 7 chat; set through setSoundMode
        Vx02Group,    // "soundMode": sent together with "modelDetail" through setSoundMode
        Vx02Detail,   // "modelDetail": range depends on the group
    };

    // The report key; for a SetterOnly row the name the scene knows its code by (or null).
    const char *key;
    int offset; // byte of the key in the report buffer (report id at 0); 0 without key
    int min;
    int max;
    Kind kind;
    SetterOp setter;   // for Setter and SetterOnly rows; the sound-mode keys name setSoundMode
    int code;          // the selector argument's value (a volume TYPE); 0: the setter has none
    const char *label; // "background music"

    // A key of the parameter report.
    bool hasKey() const { return key != nullptr && kind != Kind::SetterOnly; }
    // A row vorletctl and the panel check a setter call against.
    bool isSetterRange() const { return kind == Kind::Setter || kind == Kind::SetterOnly; }
};
