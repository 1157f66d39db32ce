#include "cli/DeviceFinder.h"

#include "device/DetectionDevice.h"

QString DeviceFinder::find(HidBackend &backend)
{
    DetectionDevice detection(&backend);
    QString found;
    QObject::connect(&detection, &DetectionDevice::s_devTypeAndState, &detection,
                     [&found](const QString &devType, bool isDevArrival) {
                         if (isDevArrival && found.isEmpty())
                             found = devType;
                     });
    detection.scanDevices();
    return found;
}
