#pragma once

#include <QString>
#include <QtGlobal>

// The path text under which a HID interface is known to the rest of the program: the device node
// followed by '#' and "VID_xxxx&PID_xxxx" (upper-case hex), so that the model can be told from
// the path alone and the node found again from it.
class HidPathText
{
public:
    // "VID_1234&PID_4321"
    static QString vendorProduct(quint16 vendorId, quint16 productId);
    // "/dev/hidraw3#VID_1234&PID_4321"
    static QString make(const QString &node, quint16 vendorId, quint16 productId);
    // The node part of a path made by make(); a path without '#' is taken as a bare node.
    static QString node(const QString &path);
    // Reads the kernel's HID_ID property ("0003:00001234:00004321": bus, vendor, product).
    static bool parseHidId(const QString &hidId, quint16 *vendorId, quint16 *productId);
};
