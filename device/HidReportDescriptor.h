#pragma once

#include <QList>
#include <QtGlobal>

// One top-level collection of a report descriptor, with its report lengths as the host sees them:
// the longest report of each kind in bytes plus one for the report id (0 when it has none).
struct HidTopLevelCollection
{
    quint16 usagePage = 0;
    quint16 usage = 0;
    quint32 inputReportLength = 0;
    quint32 outputReportLength = 0;
    quint32 featureReportLength = 0;
};

// What the host needs to know of a device's report descriptor.
struct HidReportDescriptor
{
    QList<HidTopLevelCollection> collections;
    // Reports carry an id byte on the wire; without ids the kernel leaves it out of reads.
    bool usesReportIds = false;
};
