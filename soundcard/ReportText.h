#pragma once

#include <QString>
#include <QtGlobal>

// Texts the devices answer queries with. Pure code.
class ReportText
{
public:
    // Where an answer stands in the report read after its query, and how it reads.
    struct Field
    {
        enum Format {
            Text,      // `width` bytes, cut at the first zero byte, UTF-8
            HexNumbers // "V" a "." b "." c: three bytes in lower-case hex without leading zeros
        };
        Format format;
        int offset;
        int width;
    };

    static QString read(const quint8 *buffer, const Field &field);
    // `width` bytes from `offset`, cut at the first zero byte, decoded as UTF-8.
    static QString text(const quint8 *buffer, int offset, int width);
    // "V" a "." b "." c from the three bytes at `offset`, each in lower-case hex without
    // leading zeros.
    static QString version(const quint8 *buffer, int offset);
};
