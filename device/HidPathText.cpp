#include "device/HidPathText.h"

#include <QStringList>

namespace {
QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}
} // namespace

QString HidPathText::vendorProduct(quint16 vendorId, quint16 productId)
{
    return QStringLiteral("VID_%1&PID_%2").arg(hex4(vendorId), hex4(productId));
}

QString HidPathText::make(const QString &node, quint16 vendorId, quint16 productId)
{
    return node + QLatin1Char('#') + vendorProduct(vendorId, productId);
}

QString HidPathText::node(const QString &path)
{
    const int mark = path.lastIndexOf(QLatin1Char('#'));
    return mark < 0 ? path : path.left(mark);
}

bool HidPathText::parseHidId(const QString &hidId, quint16 *vendorId, quint16 *productId)
{
    const QStringList parts = hidId.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 3)
        return false;
    bool busOk = false;
    bool vendorOk = false;
    bool productOk = false;
    parts.at(0).toUInt(&busOk, 16);
    const uint vendor = parts.at(1).toUInt(&vendorOk, 16);
    const uint product = parts.at(2).toUInt(&productOk, 16);
    if (!busOk || !vendorOk || !productOk || vendor > 0xFFFF || product > 0xFFFF)
        return false;
    if (vendorId)
        *vendorId = quint16(vendor);
    if (productId)
        *productId = quint16(product);
    return true;
}
