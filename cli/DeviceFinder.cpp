#include "cli/DeviceFinder.h"

#include "device/DeviceScan.h"

QString DeviceFinder::find(HidBackend &backend)
{
    QString found;
    DeviceScan::scan(backend, [&found](const QString &devType) {
        if (found.isEmpty())
            found = devType;
    });
    return found;
}
