#pragma once

#include "soundcard/SoundCardCommand.h"

#include <QByteArray>
#include <QString>

// The byte frame every command travels in: 0x89 FF FF, sequence number, length (6 + data),
// reserved 00 00, four command bytes, 0 or 2 data bytes, CRC-16/X-25 over all of that; every
// multi-byte field high byte first. Pure code, no I/O.
class CommandFrame
{
public:
    static constexpr quint8 kStartByte = 0x89;
    static constexpr int kLengthWithoutData = 15;
    static constexpr int kMaxLength = 17;

    struct Parsed
    {
        quint16 sequence = 0;
        SoundCardCommand command;
        int frameLength = 0;
    };

    // Writes the frame to dest (room for kMaxLength bytes) and returns its length.
    static int write(quint8 *dest, quint16 sequence, const SoundCardCommand &command);
    static QByteArray build(quint16 sequence, const SoundCardCommand &command);

    // Reads a frame from the start of data; bytes behind it are ignored. False with a reason in
    // *error when the bytes are no well-formed frame.
    static bool parse(const quint8 *data, int size, Parsed *out, QString *error);
};
