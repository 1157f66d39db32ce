#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

// A command frame as the device takes it out of an output report: report id 0, then start
// byte 0x89, 0xFF 0xFF, a 16-bit sequence number, a 16-bit length of 6 or 8, two reserved
// zero bytes, four command bytes, no or two data bytes and a CRC-16/X-25 over everything from
// the start byte on, all big-endian. Bytes behind the frame are padding.
struct ReceivedFrame
{
    quint16 sequence = 0;
    std::array<quint8, 4> code{};
    int dataLength = 0; // 0 or 2
    std::array<quint8, 2> data{};

    // False with the reason in *error when the report holds no valid frame.
    static bool parse(const QByteArray &report, ReceivedFrame *frame, QString *error);
};
