// Feeds arbitrary output reports to the emulated firmwares of both models: the frame parser
// must drop what is malformed and nothing may crash, whatever the bytes.
#include "emulator/FirmwareVx01.h"
#include "emulator/FirmwareVx02.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/Crc16X25.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {
void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool installed = (qInstallMessageHandler(quiet), true);
    Q_UNUSED(installed);
    static FirmwareVx01 vx01;
    static FirmwareVx02 vx02;

    CommandFrame::Parsed parsed;
    QString error;
    if (CommandFrame::parse(data, int(size), &parsed, &error)) {
        // What parses must build back to the same bytes.
        const QByteArray rebuilt = CommandFrame::build(parsed.sequence, parsed.command);
        if (rebuilt != QByteArray(reinterpret_cast<const char *>(data), parsed.frameLength))
            __builtin_trap();
    }

    const QByteArray report(reinterpret_cast<const char *>(data), int(size));
    for (const QByteArray &answer : vx02.receive(report)) {
        if (answer.size() != FirmwareVx02::model().reportLength)
            __builtin_trap();
    }
    vx01.receive(report);
    if (vx01.inputReport().size() != FirmwareVx01::model().reportLength)
        __builtin_trap();

    // The same bytes with a correct checksum, so that arbitrary commands reach the firmwares.
    const int n = report.size() >= 8 && quint8(report[6]) == 0 && quint8(report[7]) == 8 ? 2 : 0;
    if (report.size() >= 1 + CommandFrame::kLengthWithoutData + n) {
        QByteArray sealed = report;
        sealed[0] = '\0'; // report id
        auto *frame = reinterpret_cast<quint8 *>(sealed.data()) + 1;
        frame[0] = CommandFrame::kStartByte;
        frame[1] = frame[2] = 0xFF;
        frame[5] = 0;
        frame[6] = quint8(6 + n);
        frame[7] = frame[8] = 0;
        const quint16 crc = Crc16X25::compute(frame, 13 + n);
        frame[13 + n] = quint8(crc >> 8);
        frame[14 + n] = quint8(crc & 0xFF);
        const int rejectedBefore = vx02.framesRejected();
        vx02.receive(sealed);
        if (vx02.framesRejected() != rejectedBefore)
            __builtin_trap();
        vx01.receive(sealed);
        vx01.inputReport();
    }
    return 0;
}
