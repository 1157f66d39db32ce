#pragma once

struct SoundCardProfile;
struct SoundCardCommand;

// The command bytes, report layout and identity of model vx01, as data.
class SoundCardVx01Profile
{
public:
    static const SoundCardProfile &profile();
};
