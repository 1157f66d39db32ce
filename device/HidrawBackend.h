#pragma once

#include "device/HidBackend.h"

class HidrawMonitor;
struct HidReportDescriptor;

// The machine's HID devices through the kernel's hidraw nodes: udev lists them and reports
// hot-plug, the report descriptor gives each node's top-level collections.
class HidrawBackend : public HidBackend
{
    Q_OBJECT
public:
    explicit HidrawBackend(QObject *parent = nullptr);

    QList<HidCollectionInfo> enumerate() override;
    HidEnumeration enumerateWithStatus() override;
    std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) override;
    bool watchesHotplug() const override;

private:
    // The descriptor from the node, or from sysfs when the node cannot be opened.
    static bool readDescriptor(const QString &node, const QString &parentSyspath,
                               HidReportDescriptor *descriptor);

    HidrawMonitor *m_monitor;
};
