// Costs on the GUI thread's path to the device: reading a report descriptor at enumeration, and
// one command/answer exchange through DeviceHID over the emulated bus (transport overhead only).
#include "device/DeviceHID.h"
#include "device/HidReportDescriptorParser.h"
#include "emulator/EmulatedBus.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

namespace {

// A wireless receiver: keyboard, consumer keys and a vendor collection, with report ids.
const QByteArray kReceiver = QByteArray::fromHex(
    "05010906A1018501050719E029E715002501750195088102950175088103950575010508190129059102950175039103"
    "95067508150026FF00050719002AFF008100C0050C0901A1018503751095021501268C0219012A8C028100C00600FF09"
    "01A101851075089506150026FF000901810009019100C0");

void BM_ParseReceiverDescriptor(benchmark::State &state)
{
    for (auto _ : state) {
        HidReportDescriptor result;
        const bool ok = HidReportDescriptorParser::parse(reinterpret_cast<const quint8 *>(kReceiver.constData()),
                                                         std::size_t(kReceiver.size()), &result);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(result.collections.size());
    }
}
BENCHMARK(BM_ParseReceiverDescriptor);

// Answers each command with one report, as a vx02 does.
class EchoFirmware : public EmulatedFirmware
{
public:
    QList<QByteArray> receive(const QByteArray &report) override { return {report}; }
    QByteArray inputReport() override { return QByteArray(65, '\0'); }
};

void BM_EmulatedWriteAndRead(benchmark::State &state)
{
    EmulatedBus bus;
    bus.plug(QStringLiteral("vx02"), std::make_unique<EchoFirmware>());
    DeviceHID device(&bus, 0x1234, 0x4321, 0xFF00, 0x55AA);
    if (!device.open()) {
        state.SkipWithError("emulated vx02 not opened");
        return;
    }
    const quint8 frame[12] = {0x00, 0x89, 0x00, 0x01, 0x04, 0x02, 0x01, 0x01, 0x01, 0x00, 0xAB, 0xCD};
    quint8 answer[512];
    for (auto _ : state) {
        benchmark::DoNotOptimize(device.writeReport(frame, sizeof frame - 1));
        benchmark::DoNotOptimize(device.readReport(answer, sizeof answer));
    }
}
BENCHMARK(BM_EmulatedWriteAndRead);

} // namespace

BENCHMARK_MAIN();
