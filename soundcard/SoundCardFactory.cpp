#include "soundcard/SoundCardFactory.h"

#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx01Profile.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/SoundCardVx02Profile.h"

namespace {

template<typename Card>
std::unique_ptr<SoundCardBase> make(HidBackend *backend)
{
    return std::make_unique<Card>(backend);
}

struct Maker
{
    const char *devType;
    std::unique_ptr<SoundCardBase> (*make)(HidBackend *);
    const SoundCardProfile &(*profile)();
};

const Maker kMakers[] = {
    {"vx01", &make<SoundCardVx01>, &SoundCardVx01Profile::profile},
    {"vx02", &make<SoundCardVx02>, &SoundCardVx02Profile::profile},
};

} // namespace

std::unique_ptr<SoundCardBase> SoundCardFactory::create(const QString &devType, HidBackend *backend)
{
    for (const Maker &maker : kMakers) {
        if (devType == QLatin1String(maker.devType))
            return maker.make(backend);
    }
    return nullptr;
}

const SoundCardProfile *SoundCardFactory::profile(const QString &devType)
{
    for (const Maker &maker : kMakers) {
        if (devType == QLatin1String(maker.devType))
            return &maker.profile();
    }
    return nullptr;
}
