#pragma once

#include <QString>

#include <memory>

class HidBackend;
class SoundCardBase;

// Makes the sound-card object of a device type ("vx01", "vx02"); null for an unknown type.
class SoundCardFactory
{
public:
    static std::unique_ptr<SoundCardBase> create(const QString &devType, HidBackend *backend);
};
