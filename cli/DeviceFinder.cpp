#include "cli/DeviceFinder.h"

#include "device/DeviceScan.h"
#include "soundcard/SoundCardFactory.h"

QString DeviceFinder::find(HidBackend &backend)
{
    QString found;
    DeviceScan::scan(backend, SoundCardFactory::hidModelIds(), [&found](const QString &devType, const QString &) {
        if (found.isEmpty())
            found = devType;
    });
    return found;
}
