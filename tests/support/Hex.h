#pragma once

#include <QByteArray>

// Bytes written as hex digits, blanks between them for reading: hex("03010102 020A").
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

// The first `size` bytes of a report buffer.
inline QByteArray bytes(const quint8 *data, int size)
{
    return QByteArray(reinterpret_cast<const char *>(data), size);
}
