#include "soundcard/ReportText.h"

QString ReportText::text(const quint8 *buffer, int offset, int width)
{
    int length = 0;
    while (length < width && buffer[offset + length] != 0)
        ++length;
    return QString::fromUtf8(reinterpret_cast<const char *>(buffer + offset), length);
}

QString ReportText::version(const quint8 *buffer, int offset)
{
    return QStringLiteral("V%1.%2.%3")
        .arg(buffer[offset], 0, 16)
        .arg(buffer[offset + 1], 0, 16)
        .arg(buffer[offset + 2], 0, 16);
}

QString ReportText::read(const quint8 *buffer, const Field &field)
{
    return field.format == Field::HexNumbers ? version(buffer, field.offset) : text(buffer, field.offset, field.width);
}
