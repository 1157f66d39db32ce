#pragma once

#include "device/HidModelId.h"

#include <QString>
#include <QStringList>

#include <memory>

class HidBackend;
class SoundCardProtocol;
struct SoundCardModel;

// Makes the protocol of a device type ("vx01", "vx02"); null for an unknown type.
// `unit`: the one device (HidCollectionInfo::unit) it opens; empty: the first that matches.
class SoundCardFactory
{
public:
    static std::unique_ptr<SoundCardProtocol> create(const QString &devType, HidBackend *backend,
                                                     const QString &unit = QString());
    // The model table of a device type; null for an unknown type.
    static const SoundCardModel *model(const QString &devType);
    // "vx01", "vx02".
    static QStringList devTypes();
    // Each model's type with the USB ids its detection looks for, for the device layer below.
    static QVector<HidModelId> hidModelIds();
};
