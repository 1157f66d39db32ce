#pragma once

#include <QString>
#include <QtGlobal>

struct udev_device;

// A hidraw device as udev shows it: its node and the ids of the HID device it belongs to.
struct HidrawNode
{
    QString node;           // "/dev/hidraw3"
    QString parentSyspath;  // the HID device, which holds the report descriptor
    quint16 vendorId = 0;
    quint16 productId = 0;

    // False when the device has no node or no readable HID_ID.
    static bool fromUdev(udev_device *device, HidrawNode *result);
    // The path text other parts of the program see.
    QString path() const;
};
