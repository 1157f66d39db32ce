#include "device/HidrawNode.h"

#include "device/HidPathText.h"

#include <libudev.h>

bool HidrawNode::fromUdev(udev_device *device, HidrawNode *result)
{
    if (!device || !result)
        return false;
    const char *node = udev_device_get_devnode(device);
    udev_device *parent = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
    if (!node || !parent)
        return false;
    const char *hidId = udev_device_get_property_value(parent, "HID_ID");
    HidrawNode found;
    if (!hidId || !HidPathText::parseHidId(QString::fromLatin1(hidId), &found.vendorId, &found.productId))
        return false;
    found.node = QString::fromLocal8Bit(node);
    const char *syspath = udev_device_get_syspath(parent);
    found.parentSyspath = syspath ? QString::fromLocal8Bit(syspath) : QString();
    *result = found;
    return true;
}

QString HidrawNode::path() const
{
    return HidPathText::make(node, vendorId, productId);
}
