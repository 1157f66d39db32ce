#pragma once

#include <QString>
#include <QtGlobal>

// A hidraw device as sysfs shows it: its node and the ids of the HID device it belongs to.
struct HidrawNode
{
    QString node;          // "/dev/hidraw3"
    QString parentSyspath; // the HID device, which holds the report descriptor
    // The physical device: the sysfs path of the USB device whose interface holds the HID
    // device (shared by its interfaces); the HID device itself when it is not on USB.
    QString unit;
    quint16 vendorId = 0;
    quint16 productId = 0;

    // Reads <sysRoot>/class/hidraw/<name>/device/uevent; the node is <devRoot>/<name>. False
    // when the entry is gone or has no readable HID_ID. Needs no udev daemon.
    static bool fromSysfs(const QString &sysRoot, const QString &devRoot, const QString &name, HidrawNode *result);
    // True for "hidraw<number>".
    static bool isNodeName(const QString &name);
    // The path text other parts of the program see.
    QString path() const;
};
