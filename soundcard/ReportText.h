#pragma once

#include <QString>
#include <QtGlobal>

// Texts the devices answer queries with. Pure code.
class ReportText
{
public:
    // `width` bytes from `offset`, cut at the first zero byte, decoded as UTF-8.
    static QString text(const quint8 *buffer, int offset, int width);
    // "V" a "." b "." c from the three bytes at `offset`, each in lower-case hex without
    // leading zeros.
    static QString version(const quint8 *buffer, int offset);
};
