#pragma once

#include "device/HidModelId.h"

#include <QString>
#include <QVector>

#include <functional>

class HidBackend;

// Tells the supported models (`models`: each type with its USB ids) apart by the vendor/product
// text of their device paths ("VID_1235&PID_0003"), and walks the HID collections already
// present as the start-up scan does. Needs no window, so that a command-line tool finds the
// device exactly as the program does.
class DeviceScan
{
public:
    // The type of the first model (in the list's order) whose vendor/product text occurs in
    // `path`, case ignored; empty when none does.
    static QString devTypeFromPath(const QVector<HidModelId> &models, const QString &path);
    // Opens every present collection in the system's order and calls `found` with the type and
    // unit of each one that opens and belongs to one of `models`. False when the system gave no
    // list; an unreadable entry ends the walk there.
    static bool scan(HidBackend &backend, const QVector<HidModelId> &models,
                     const std::function<void(const QString &devType, const QString &unit)> &found);
};
