#include "device/HidrawBackend.h"

#include "device/HidPathText.h"
#include "device/HidReportDescriptorParser.h"
#include "device/HidrawHandle.h"
#include "device/HidrawMonitor.h"
#include "device/HidrawNode.h"
#include "device/HidrawPermissionNotice.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
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

HidrawBackend::HidrawBackend(const QString &root, const QVector<HidModelId> &soundCards, QObject *parent)
    : HidBackend(parent)
    , m_root(root)
    , m_soundCards(soundCards)
    , m_monitor(new HidrawMonitor(root, this))
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
    const QString sys = m_root + QStringLiteral("/sys");
    if (!QDir(sys + QStringLiteral("/class")).exists()) {
        result.status = HidEnumeration::Status::NoDeviceSet;
        result.errorCode = ENOENT;
        return result;
    }
    // No hidraw class folder: no hidraw device present (or the module not loaded).
    QStringList names =
        QDir(sys + QStringLiteral("/class/hidraw")).entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    // In the order the kernel numbered the nodes: hidraw2 before hidraw10.
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.size() != b.size() ? a.size() < b.size() : a < b; });

    for (const QString &name : qAsConst(names)) {
        if (!HidrawNode::isNodeName(name))
            continue;
        HidrawNode node;
        if (!HidrawNode::fromSysfs(sys, m_root + QStringLiteral("/dev"), name, &node)) {
            result.status = HidEnumeration::Status::UnreadableEntry;
            result.errorCode = errno;
            break;
        }
        m_monitor->remember(node.node, node.path(), node.unit);
        HidReportDescriptor descriptor;
        if (!readDescriptor(node.node, node.parentSyspath, &descriptor)) {
            // Unknown collections: still listed, so that the device is seen.
            descriptor.collections << HidTopLevelCollection();
        }
        if (descriptor.collections.size() > kMaxCollectionsPerNode) {
            qDebug().noquote() << "hidraw:" << node.node << "declares" << descriptor.collections.size()
                               << "top-level collections, the first" << kMaxCollectionsPerNode << "are used";
            descriptor.collections = descriptor.collections.mid(0, kMaxCollectionsPerNode);
        }
        for (const HidTopLevelCollection &collection : qAsConst(descriptor.collections)) {
            result.collections << HidCollectionInfo{node.path(),
                                                    node.vendorId,
                                                    node.productId,
                                                    collection.usagePage,
                                                    collection.usage,
                                                    collection.inputReportLength,
                                                    collection.outputReportLength,
                                                    node.unit};
        }
    }
    return result;
}

bool HidrawBackend::sameDevice(const hidraw_devinfo &info, quint16 vendorId, quint16 productId)
{
    // The kernel gives the ids as signed 16-bit numbers.
    return quint16(info.vendor) == vendorId && quint16(info.product) == productId;
}

std::unique_ptr<HidHandle> HidrawBackend::open(const HidCollectionInfo &collection)
{
    const QByteArray node = QFile::encodeName(HidPathText::node(collection.path));
    if (node.isEmpty())
        return nullptr;
    const int fd = ::open(node.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        // The most frequent support question: the device is there, the udev rule is not.
        HidrawPermissionNotice::report(m_soundCards, QFile::decodeName(node), collection.vendorId, collection.productId,
                                       errno);
        return nullptr;
    }
    hidraw_devinfo info = {};
    // Something that is not a hidraw node (a test's stand-in) has no such description.
    if (::ioctl(fd, HIDIOCGRAWINFO, &info) == 0 && !sameDevice(info, collection.vendorId, collection.productId)) {
        qDebug().noquote() << "hidraw:" << QFile::decodeName(node) << "now belongs to another device:"
                           << HidPathText::vendorProduct(quint16(info.vendor), quint16(info.product));
        ::close(fd);
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

HidrawMonitor *HidrawBackend::monitor() const
{
    return m_monitor;
}

bool HidrawBackend::readDescriptor(const QString &node, const QString &parentSyspath, HidReportDescriptor *descriptor)
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
