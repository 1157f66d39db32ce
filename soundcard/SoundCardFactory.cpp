#include "soundcard/SoundCardFactory.h"

#include "soundcard/SoundCardModel.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx01Model.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/SoundCardVx02Model.h"

namespace {

template<typename Protocol>
std::unique_ptr<SoundCardProtocol> make(HidBackend *backend, const QString &unit)
{
    return std::make_unique<Protocol>(backend, unit);
}

struct Maker
{
    std::unique_ptr<SoundCardProtocol> (*make)(HidBackend *, const QString &);
    const SoundCardModel &(*model)();
};

const Maker kMakers[] = {
    {&make<SoundCardVx01>, &SoundCardVx01Model::model},
    {&make<SoundCardVx02>, &SoundCardVx02Model::model},
};

const Maker *find(const QString &devType)
{
    for (const Maker &maker : kMakers) {
        if (devType == QLatin1String(maker.model().devType))
            return &maker;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<SoundCardProtocol> SoundCardFactory::create(const QString &devType, HidBackend *backend,
                                                            const QString &unit)
{
    const Maker *maker = find(devType);
    return maker ? maker->make(backend, unit) : nullptr;
}

const SoundCardModel *SoundCardFactory::model(const QString &devType)
{
    const Maker *maker = find(devType);
    return maker ? &maker->model() : nullptr;
}

QStringList SoundCardFactory::devTypes()
{
    QStringList types;
    for (const Maker &maker : kMakers)
        types << QLatin1String(maker.model().devType);
    return types;
}

QVector<HidModelId> SoundCardFactory::hidModelIds()
{
    QVector<HidModelId> ids;
    for (const Maker &maker : kMakers) {
        const SoundCardModel &model = maker.model();
        ids.append({QLatin1String(model.devType), model.detectionVendorId, model.detectionProductId});
    }
    return ids;
}
