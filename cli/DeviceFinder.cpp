#include "cli/DeviceFinder.h"

#include "device/HidBackend.h"

namespace {

struct DetectionText
{
    const char *devType;
    const char *text;
};

const DetectionText kTable[] = {
    {"vx01", "VID_1235&PID_0003"},
    {"vx02", "VID_1234&PID_4321"},
};

} // namespace

QString DeviceFinder::devTypeFromPath(const QString &path)
{
    for (const DetectionText &entry : kTable) {
        if (path.contains(QLatin1String(entry.text), Qt::CaseInsensitive))
            return QString::fromLatin1(entry.devType);
    }
    return QString();
}

QString DeviceFinder::find(HidBackend &backend)
{
    for (const HidCollectionInfo &collection : backend.enumerate()) {
        const QString type = devTypeFromPath(collection.path);
        if (!type.isEmpty())
            return type;
    }
    return QString();
}
