#include "device/HidrawNode.h"

#include "device/HidPathText.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

namespace {
// A uevent file is a few hundred bytes; anything longer is not one.
constexpr qint64 kMaxUeventSize = 4096;

QList<QByteArray> ueventLines(const QString &folder)
{
    QFile uevent(folder + QStringLiteral("/uevent"));
    if (!uevent.open(QIODevice::ReadOnly))
        return {};
    return uevent.read(kMaxUeventSize).split('\n');
}

// Told once per HID device: a touchpad or a Bluetooth device is listed at every search.
void tellNotOnUsb(const QString &name, const QString &hidDevice)
{
    static QMutex mutex;
    static QSet<QString> told;
    const QMutexLocker lock(&mutex);
    if (told.contains(hidDevice))
        return;
    told.insert(hidDevice);
    qDebug().noquote() << "hidraw:" << name
                       << "is not on a USB interface (" + hidDevice + "), taken as a device of its own";
}

// The USB device above a HID device: the parent of the USB interface that holds it, so that
// the interfaces of one device share it.
QString unitOf(const QString &name, const QString &hidDevice)
{
    const QString usbInterface = QFileInfo(hidDevice).path();
    if (!hidDevice.isEmpty() && ueventLines(usbInterface).contains("DEVTYPE=usb_interface"))
        return QFileInfo(usbInterface).path();
    tellNotOnUsb(name, hidDevice);
    return hidDevice;
}
} // namespace

bool HidrawNode::isNodeName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^hidraw\\d{1,6}$"));
    return pattern.match(name).hasMatch();
}

bool HidrawNode::fromSysfs(const QString &sysRoot, const QString &devRoot, const QString &name, HidrawNode *result)
{
    if (!result || !isNodeName(name))
        return false;
    const QString device = sysRoot + QStringLiteral("/class/hidraw/") + name + QStringLiteral("/device");
    HidrawNode found;
    bool haveIds = false;
    for (const QByteArray &line : ueventLines(device)) {
        if (line.startsWith("HID_ID="))
            haveIds = HidPathText::parseHidId(QString::fromLatin1(line.mid(7)), &found.vendorId, &found.productId);
    }
    if (!haveIds)
        return false;
    found.node = devRoot + QLatin1Char('/') + name;
    found.parentSyspath = QFileInfo(device).canonicalFilePath();
    found.unit = unitOf(name, found.parentSyspath);
    *result = found;
    return true;
}

QString HidrawNode::path() const
{
    return HidPathText::make(node, vendorId, productId);
}
