#include "device/HidrawPermissionNotice.h"

#include <QMutex>
#include <QSet>

#include <cerrno>

Q_LOGGING_CATEGORY(lcDeviceAccess, "vorlet.access")

namespace {

QSet<QString> &toldNodes()
{
    static QSet<QString> nodes;
    return nodes;
}

// The scan and a device session may enumerate at the same time.
QMutex &toldMutex()
{
    static QMutex mutex;
    return mutex;
}

} // namespace

bool HidrawPermissionNotice::isSoundCard(const QVector<HidModelId> &soundCards, quint16 vendorId, quint16 productId)
{
    for (const HidModelId &device : soundCards) {
        if (device.vendorId == vendorId && device.productId == productId)
            return true;
    }
    return false;
}

QString HidrawPermissionNotice::text(const QString &node, quint16 vendorId, quint16 productId)
{
    return QStringLiteral("no permission to open %1 (Vorlet sound card %2:%3): install the udev rule "
                          "%4 (scripts/install-udev-rule, or the vorlet package), then unplug and "
                          "replug the device")
        .arg(node)
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'))
        .arg(QLatin1String(kRuleName));
}

bool HidrawPermissionNotice::report(const QVector<HidModelId> &soundCards, const QString &node, quint16 vendorId,
                                    quint16 productId, int errorCode)
{
    if ((errorCode != EACCES && errorCode != EPERM) || !isSoundCard(soundCards, vendorId, productId))
        return false;
    {
        const QMutexLocker lock(&toldMutex());
        if (toldNodes().contains(node))
            return false;
        toldNodes().insert(node);
    }
    qCWarning(lcDeviceAccess).noquote() << text(node, vendorId, productId);
    return true;
}

void HidrawPermissionNotice::reset()
{
    const QMutexLocker lock(&toldMutex());
    toldNodes().clear();
}
