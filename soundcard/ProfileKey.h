#pragma once

#include <functional>

class SoundCardBase;

// One key of a saved profile: the values it may take and the setter that brings the device to
// a value. Keys the device only reports have no setter.
struct ProfileKey
{
    enum class Kind {
        Setter,       // `apply` sets it
        ReportedOnly, // accepted, never sent
        Vx01Model,    // "model": 1 music, 2-4 singing, 7 chat
        Vx02Group,    // "soundMode": sent together with "modelDetail"
        Vx02Detail,   // "modelDetail": range depends on the group
    };

    const char *key;
    int min;
    int max;
    Kind kind;
    std::function<void(SoundCardBase &, int)> apply;
};
