#pragma once

struct SoundCardProfile;
struct SoundCardCommand;

// The command bytes, report layout and identity of model vx02, as data.
class SoundCardVx02Profile
{
public:
    static const SoundCardProfile &profile();
    // Asks the device for its parameter report.
    static const SoundCardCommand &parameterQuery();
};
