// Feeds arbitrary output reports to the emulated firmwares of both models: the frame parser
// must drop what is malformed and nothing may crash, whatever the bytes.
#include "soundcard/CommandFrame.h"
#include "soundcard/emulator/FirmwareVx01.h"
#include "soundcard/emulator/FirmwareVx02.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}
}

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
        if (answer.size() != int(FirmwareBase::kReportLength))
            __builtin_trap();
    }
    vx01.receive(report);
    if (vx01.inputReport().size() != int(FirmwareBase::kReportLength))
        __builtin_trap();
    return 0;
}
