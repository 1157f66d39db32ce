#pragma once

struct SoundCardModel;

// The command bytes, parameter table and identity of model vx02, as data.
class SoundCardVx02Model
{
public:
    static const SoundCardModel &model();
};
