#pragma once

struct SoundCardModel;
struct SoundCardCommand;

// The command bytes, parameter table and identity of model vx02, as data.
class SoundCardVx02Model
{
public:
    static const SoundCardModel &model();
    // Asks the device for its parameter report.
    static const SoundCardCommand &parameterQuery();
};
