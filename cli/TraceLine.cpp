#include "cli/TraceLine.h"

#include <QByteArray>

QString TraceLine::format(char direction, const quint8 *bytes, int count)
{
    const QByteArray hex = QByteArray(reinterpret_cast<const char *>(bytes), count).toHex(' ').toUpper();
    return QString(QLatin1Char(direction)) + QLatin1Char(' ') + QString::fromLatin1(hex);
}
