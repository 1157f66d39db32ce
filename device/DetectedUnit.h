#pragma once

#include <QString>

// A supported device on the machine: its model and the physical device (unit) its interfaces
// belong to, as HidCollectionInfo::unit names it.
struct DetectedUnit
{
    QString devType;
    QString unit;

    bool operator==(const DetectedUnit &other) const { return devType == other.devType && unit == other.unit; }
    bool operator!=(const DetectedUnit &other) const { return !(*this == other); }
};
