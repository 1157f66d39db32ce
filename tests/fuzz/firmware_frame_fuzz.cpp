// Feeds arbitrary output reports to the emulated firmwares of both models: the frame parser
// must drop what is malformed and nothing may crash, whatever the bytes.
#include "emulator/FirmwareVx01.h"
#include "emulator/FirmwareVx02.h"
#include "soundcard/CommandFrame.h"

#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
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

    // The same bytes as a well-formed frame, so that arbitrary commands reach the firmwares.
    if (size >= 7) {
        SoundCardCommand command;
        std::copy_n(data, 4, command.code.begin());
        command.hasData = data[4] & 1;
        command.data = {data[5], data[6]};
        const QByteArray sealed = QByteArray(1, '\0') + CommandFrame::build(quint16(size), command);
        const int rejectedBefore = vx02.framesRejected();
        vx02.receive(sealed);
        if (vx02.framesRejected() != rejectedBefore)
            __builtin_trap();
        vx01.receive(sealed);
        vx01.inputReport();
    }
    return 0;
}
