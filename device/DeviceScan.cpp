#include "device/DeviceScan.h"

#include "device/HidBackend.h"
#include "device/HidHandle.h"
#include "device/HidPathText.h"

#include <QSet>
#include <QThread>

namespace {
// Pause between interfaces of the scan, as between rejected collections when opening.
constexpr unsigned long kScanPauseMs = 5;
} // namespace

QString DeviceScan::devTypeFromPath(const QVector<HidModelId> &models, const QString &path)
{
    for (const HidModelId &model : models) {
        if (path.contains(HidPathText::vendorProduct(model.vendorId, model.productId), Qt::CaseInsensitive))
            return model.devType;
    }
    return QString();
}

bool DeviceScan::scan(HidBackend &backend, const QVector<HidModelId> &models,
                      const std::function<void(const QString &, const QString &)> &found)
{
    const HidEnumeration present = backend.enumerateWithStatus();
    if (present.status == HidEnumeration::Status::NoDeviceSet)
        return false;
    // An unreadable entry ends the list the backend gives: the scan ends there too. The
    // collections of one interface share its path; each interface is opened once.
    QSet<QString> seen;
    for (const HidCollectionInfo &collection : present.collections) {
        if (seen.contains(collection.path))
            continue;
        seen.insert(collection.path);
        std::unique_ptr<HidHandle> handle = backend.open(collection);
        if (!handle)
            continue;
        const QString type =
            devTypeFromPath(models, HidPathText::vendorProduct(collection.vendorId, collection.productId));
        if (!type.isEmpty())
            found(type, collection.unit);
        handle.reset();
        QThread::msleep(kScanPauseMs);
    }
    return true;
}
