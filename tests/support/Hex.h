#pragma once

#include <QByteArray>

// Bytes from hex text; spaces and other separators are skipped.
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}
