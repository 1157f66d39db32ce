#include "emulator/ReceivedFrame.h"

#include "emulator/DeviceCrc.h"

namespace {

constexpr int kHeader = 13; // start byte to the last command byte
constexpr int kCrcWidth = 2;

bool fail(QString *error, const QString &reason)
{
    *error = reason;
    return false;
}

quint16 word(const quint8 *bytes)
{
    return quint16(bytes[0] << 8 | bytes[1]);
}

} // namespace

bool ReceivedFrame::parse(const QByteArray &report, ReceivedFrame *frame, QString *error)
{
    if (report.isEmpty())
        return fail(error, QStringLiteral("empty report"));
    const auto *bytes = reinterpret_cast<const quint8 *>(report.constData());
    if (bytes[0] != 0)
        return fail(error, QStringLiteral("report id %1, not 0").arg(bytes[0]));
    const quint8 *f = bytes + 1;
    const int available = report.size() - 1;
    if (available < kHeader + kCrcWidth)
        return fail(error, QStringLiteral("%1 bytes after the report id, a frame has at least 15").arg(available));
    if (f[0] != 0x89 || f[1] != 0xFF || f[2] != 0xFF)
        return fail(error, QStringLiteral("no start bytes 89 FF FF"));
    const int length = word(f + 5);
    if (length != 6 && length != 8)
        return fail(error, QStringLiteral("length %1, neither 6 nor 8").arg(length));
    const int dataLength = length - 6;
    if (available < kHeader + dataLength + kCrcWidth)
        return fail(error, QStringLiteral("frame cut short"));
    if (f[7] != 0 || f[8] != 0)
        return fail(error, QStringLiteral("reserved bytes not zero"));
    const quint16 sent = word(f + kHeader + dataLength);
    const quint16 computed = DeviceCrc::x25(f, kHeader + dataLength);
    if (sent != computed) {
        return fail(error,
                    QStringLiteral("checksum %1, expected %2")
                        .arg(sent, 4, 16, QLatin1Char('0'))
                        .arg(computed, 4, 16, QLatin1Char('0')));
    }
    frame->sequence = word(f + 3);
    std::copy(f + 9, f + 13, frame->code.begin());
    frame->dataLength = dataLength;
    frame->data = {};
    std::copy(f + kHeader, f + kHeader + dataLength, frame->data.begin());
    return true;
}
