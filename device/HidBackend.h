#pragma once

#include "device/HidCollectionInfo.h"
#include "device/HidEnumeration.h"

#include <QObject>

#include <memory>

class HidHandle;

// Access to the HID devices of the machine: the operating system's, or an emulated bus. Chosen
// once at start and handed to the objects that need it.
class HidBackend : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~HidBackend() override = default;

    // The present top-level collections, in the system's enumeration order.
    virtual QList<HidCollectionInfo> enumerate() = 0;
    // The same walk, telling also why it stopped early. Backends that cannot fail part-way keep
    // this default.
    virtual HidEnumeration enumerateWithStatus()
    {
        HidEnumeration result;
        result.collections = enumerate();
        return result;
    }
    // False when arrival and removal of interfaces cannot be watched (no hot-plug signals come).
    virtual bool watchesHotplug() const { return true; }
    // Opens a collection for reading and writing (shared). Null when it cannot be opened.
    virtual std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) = 0;

signals:
    // Hot-plug: a HID interface appeared or went away; `path` and `unit` as enumerate() reports
    // them (the unit is still told when the interface is gone).
    void interfaceArrived(const QString &path, const QString &unit);
    void interfaceRemoved(const QString &path, const QString &unit);
};
