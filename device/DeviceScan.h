#pragma once

#include <QMap>
#include <QString>

#include <functional>

class HidBackend;

// Tells the supported models apart by the vendor/product text of their device paths, and walks
// the HID collections already present as the start-up scan does. Needs no window, so that a
// command-line tool finds the device exactly as the program does.
class DeviceScan
{
public:
    // Device type → vendor/product text ("vx01" → "VID_1235&PID_0003"), in key order.
    static const QMap<QString, QString> &deviceTable();
    // The type of the first table entry (in key order) whose vendor/product text occurs in
    // `path`, case ignored; empty when none does.
    static QString devTypeFromPath(const QString &path);
    // Opens every present collection in the system's order and calls `found` with the type of
    // each one that opens and belongs to a known model. False when the system gave no list; an
    // unreadable entry ends the walk there.
    static bool scan(HidBackend &backend, const std::function<void(const QString &devType)> &found);
};
