#pragma once

#include "device/HidBackend.h"

class HidrawMonitor;
struct HidReportDescriptor;
struct hidraw_devinfo;

// The machine's HID devices through the kernel's hidraw nodes: sysfs lists them, the report
// descriptor gives each node's top-level collections, and HidrawMonitor reports hot-plug.
class HidrawBackend : public HidBackend
{
    Q_OBJECT
public:
    // `root` is the system's root folder ("" for "/"); a test points it at a tree of its own.
    explicit HidrawBackend(const QString &root = QString(), QObject *parent = nullptr);

    QList<HidCollectionInfo> enumerate() override;
    HidEnumeration enumerateWithStatus() override;
    // Opens the node, then checks on the open node that it still belongs to the collection's
    // vendor and product: hidraw numbers are reused when devices come and go.
    std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) override;
    bool watchesHotplug() const override;

    HidrawMonitor *monitor() const;

    // A descriptor can declare any number of top-level collections; no real device has more
    // than a few. The rest are not listed, so one node cannot flood a search.
    static constexpr int kMaxCollectionsPerNode = 16;

    // Whether the kernel's description of an open node (HIDIOCGRAWINFO) names this vendor and
    // product.
    static bool sameDevice(const hidraw_devinfo &info, quint16 vendorId, quint16 productId);

private:
    // The descriptor from the node, or from sysfs when the node cannot be opened.
    static bool readDescriptor(const QString &node, const QString &parentSyspath, HidReportDescriptor *descriptor);

    const QString m_root;
    HidrawMonitor *m_monitor;
};
