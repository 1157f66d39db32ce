#pragma once

#include <QByteArray>

// Bytes written as hex digits, blanks between them for reading: hex("03010102 020A").
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}
