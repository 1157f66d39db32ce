#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One HID top-level collection as the system presents it. A device interface with several
// top-level collections appears once per collection, with the same path.
struct HidCollectionInfo
{
    QString path; // device path; holds "VID_xxxx&PID_xxxx" (upper-case hex) for detection
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint16 usagePage = 0;
    quint16 usage = 0;
    quint32 inputReportLength = 0;  // longest input report of the collection + 1 (report id)
    quint32 outputReportLength = 0; // longest output report of the collection + 1 (report id)
    // The physical device (unit) the interface belongs to: the interfaces of one device share it,
    // two devices of one model differ. Empty when the backend cannot tell.
    QString unit;
};
