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

const QMap<QString, QString> &DeviceScan::deviceTable()
{
    static const QMap<QString, QString> table{
        {QStringLiteral("vx01"), QStringLiteral("VID_1235&PID_0003")},
        {QStringLiteral("vx02"), QStringLiteral("VID_1234&PID_4321")},
    };
    return table;
}

QString DeviceScan::devTypeFromPath(const QString &path)
{
    const QMap<QString, QString> &table = deviceTable();
    for (auto it = table.constBegin(); it != table.constEnd(); ++it) {
        if (path.contains(it.value(), Qt::CaseInsensitive))
            return it.key();
    }
    return QString();
}

bool DeviceScan::scan(HidBackend &backend, const std::function<void(const QString &)> &found)
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
        const QString type = devTypeFromPath(HidPathText::vendorProduct(collection.vendorId, collection.productId));
        if (!type.isEmpty())
            found(type);
        handle.reset();
        QThread::msleep(kScanPauseMs);
    }
    return true;
}
