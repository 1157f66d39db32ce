#pragma once

struct SoundCardModel;

// The command bytes, parameter table and identity of model vx01, as data.
class SoundCardVx01Model
{
public:
    static const SoundCardModel &model();
};
