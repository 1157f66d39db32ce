#include "device/HidrawBackend.h"

#include "device/HidPathText.h"
#include "device/HidReportDescriptorParser.h"
#include "device/HidrawHandle.h"
#include "device/HidrawMonitor.h"
#include "device/HidrawNode.h"
#include "device/HidrawPermissionNotice.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool descriptorFromNode(int fd, HidReportDescriptor *descriptor)
{
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0 || size > HID_MAX_DESCRIPTOR_SIZE)
        return false;
    hidraw_report_descriptor raw = {};
    raw.size = quint32(size);
    if (::ioctl(fd, HIDIOCGRDESC, &raw) < 0)
        return false;
    return HidReportDescriptorParser::parse(raw.value, raw.size, descriptor);
}

} // namespace

HidrawBackend::HidrawBackend(QObject *parent) : HidBackend(parent), m_monitor(new HidrawMonitor(this))
{
    connect(m_monitor, &HidrawMonitor::arrived, this, &HidBackend::interfaceArrived);
    connect(m_monitor, &HidrawMonitor::removed, this, &HidBackend::interfaceRemoved);
}

QList<HidCollectionInfo> HidrawBackend::enumerate()
{
    return enumerateWithStatus().collections;
}

HidEnumeration HidrawBackend::enumerateWithStatus()
{
    HidEnumeration result;
    HidrawPermissionNotice::reset();
    udev *context = udev_new();
    udev_enumerate *walk = context ? udev_enumerate_new(context) : nullptr;
    if (!walk || udev_enumerate_add_match_subsystem(walk, "hidraw") < 0
        || udev_enumerate_scan_devices(walk) < 0) {
        result.status = HidEnumeration::Status::NoDeviceSet;
        result.errorCode = errno;
        if (walk)
            udev_enumerate_unref(walk);
        if (context)
            udev_unref(context);
        return result;
    }

    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(walk))
    {
        udev_device *device = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (!device) {
            result.status = HidEnumeration::Status::UnreadableEntry;
            result.errorCode = errno;
            break;
        }
        HidrawNode node;
        if (HidrawNode::fromUdev(device, &node)) {
            m_monitor->remember(node.node, node.path());
            HidReportDescriptor descriptor;
            if (!readDescriptor(node.node, node.parentSyspath, &descriptor)) {
                // Unknown collections: still listed, so that the device is seen.
                descriptor.collections << HidTopLevelCollection();
            }
            for (const HidTopLevelCollection &collection : qAsConst(descriptor.collections)) {
                result.collections << HidCollectionInfo{node.path(), node.vendorId, node.productId,
                                                        collection.usagePage, collection.usage,
                                                        collection.inputReportLength,
                                                        collection.outputReportLength};
            }
        }
        udev_device_unref(device);
    }
    udev_enumerate_unref(walk);
    udev_unref(context);
    return result;
}

std::unique_ptr<HidHandle> HidrawBackend::open(const HidCollectionInfo &collection)
{
    const QByteArray node = QFile::encodeName(HidPathText::node(collection.path));
    if (node.isEmpty())
        return nullptr;
    const int fd = ::open(node.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        // The most frequent support question: the device is there, the udev rule is not.
        HidrawPermissionNotice::report(QFile::decodeName(node), collection.vendorId, collection.productId, errno);
        return nullptr;
    }
    HidReportDescriptor descriptor;
    const bool known = descriptorFromNode(fd, &descriptor);
    // A device whose descriptor cannot be read is taken to number its reports: reads are then
    // passed on exactly as the kernel gives them.
    return std::make_unique<HidrawHandle>(fd, known ? descriptor.usesReportIds : true);
}

bool HidrawBackend::watchesHotplug() const
{
    return m_monitor->isWatching();
}

bool HidrawBackend::readDescriptor(const QString &node, const QString &parentSyspath,
                                   HidReportDescriptor *descriptor)
{
    const int fd = ::open(QFile::encodeName(node).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        const bool ok = descriptorFromNode(fd, descriptor);
        ::close(fd);
        if (ok)
            return true;
    }
    if (parentSyspath.isEmpty())
        return false;
    QFile file(parentSyspath + QStringLiteral("/report_descriptor"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(HID_MAX_DESCRIPTOR_SIZE);
    return HidReportDescriptorParser::parse(reinterpret_cast<const quint8 *>(bytes.constData()),
                                            std::size_t(bytes.size()), descriptor);
}
