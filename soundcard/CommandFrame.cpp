#include "soundcard/CommandFrame.h"

#include "soundcard/Crc16X25.h"

int CommandFrame::write(quint8 *dest, quint16 sequence, const SoundCardCommand &command)
{
    const int n = command.dataLength();
    const int length = n + 6;
    int i = 0;
    dest[i++] = kStartByte;
    dest[i++] = 0xFF;
    dest[i++] = 0xFF;
    dest[i++] = quint8(sequence >> 8);
    dest[i++] = quint8(sequence & 0xFF);
    dest[i++] = quint8(length >> 8);
    dest[i++] = quint8(length & 0xFF);
    dest[i++] = 0x00;
    dest[i++] = 0x00;
    for (quint8 c : command.code)
        dest[i++] = c;
    for (int d = 0; d < n; ++d)
        dest[i++] = command.data[size_t(d)];
    const quint16 crc = Crc16X25::compute(dest, i);
    dest[i++] = quint8(crc >> 8);
    dest[i++] = quint8(crc & 0xFF);
    return i;
}

QByteArray CommandFrame::build(quint16 sequence, const SoundCardCommand &command)
{
    quint8 bytes[kMaxLength];
    const int length = write(bytes, sequence, command);
    return QByteArray(reinterpret_cast<const char *>(bytes), length);
}

bool CommandFrame::parse(const quint8 *data, int size, Parsed *out, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (size < kLengthWithoutData)
        return fail(QStringLiteral("frame too short (%1 bytes)").arg(size));
    if (data[0] != kStartByte)
        return fail(QStringLiteral("bad start byte 0x%1").arg(data[0], 2, 16, QLatin1Char('0')));
    if (data[1] != 0xFF || data[2] != 0xFF)
        return fail(QStringLiteral("bad fixed bytes"));
    const int length = (data[5] << 8) | data[6];
    if (length != 6 && length != 8)
        return fail(QStringLiteral("bad length %1").arg(length));
    const int n = length - 6;
    if (size < n + kLengthWithoutData)
        return fail(QStringLiteral("frame cut short"));
    if (data[7] != 0 || data[8] != 0)
        return fail(QStringLiteral("reserved bytes not zero"));
    const quint16 crc = Crc16X25::compute(data, n + 13);
    const quint16 stored = quint16((data[n + 13] << 8) | data[n + 14]);
    if (crc != stored)
        return fail(QStringLiteral("bad checksum 0x%1, expected 0x%2")
                        .arg(stored, 4, 16, QLatin1Char('0'))
                        .arg(crc, 4, 16, QLatin1Char('0')));
    if (out) {
        out->sequence = quint16((data[3] << 8) | data[4]);
        for (int i = 0; i < 4; ++i)
            out->command.code[size_t(i)] = data[9 + i];
        out->command.hasData = n == 2;
        out->command.data = {};
        if (n == 2)
            out->command.data = {data[13], data[14]};
        out->frameLength = n + kLengthWithoutData;
    }
    return true;
}
