#pragma once

#include "device/HidCollectionInfo.h"

#include <QList>

// The outcome of one walk over the present collections, with the reason when it stopped early.
struct HidEnumeration
{
    enum class Status {
        Complete,        // every present collection is listed
        NoDeviceSet,     // the system gave no list at all; `collections` is empty
        UnreadableEntry, // an entry could not be read; `collections` holds those before it
    };

    Status status = Status::Complete;
    long errorCode = 0; // the system's error number when status is not Complete
    QList<HidCollectionInfo> collections;
};
