#pragma once

#include <QString>

#include <memory>

class HidBackend;
class SoundCardBase;
struct SoundCardProfile;

// Makes the sound-card object of a device type ("vx01", "vx02"); null for an unknown type.
class SoundCardFactory
{
public:
    static std::unique_ptr<SoundCardBase> create(const QString &devType, HidBackend *backend);
    // The profile of a device type; null for an unknown type.
    static const SoundCardProfile *profile(const QString &devType);
};
