#include "device/HidrawNode.h"

#include "device/HidPathText.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
// A uevent file is a few hundred bytes; anything longer is not one.
constexpr qint64 kMaxUeventSize = 4096;
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
    QFile uevent(device + QStringLiteral("/uevent"));
    if (!uevent.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = uevent.read(kMaxUeventSize).split('\n');
    HidrawNode found;
    bool haveIds = false;
    for (const QByteArray &line : lines) {
        if (line.startsWith("HID_ID="))
            haveIds = HidPathText::parseHidId(QString::fromLatin1(line.mid(7)), &found.vendorId, &found.productId);
    }
    if (!haveIds)
        return false;
    found.node = devRoot + QLatin1Char('/') + name;
    found.parentSyspath = QFileInfo(device).canonicalFilePath();
    *result = found;
    return true;
}

QString HidrawNode::path() const
{
    return HidPathText::make(node, vendorId, productId);
}
