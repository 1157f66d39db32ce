// The cost of the sound-card protocol: framing a command, the firmware taking it apart, and a
// whole vx01 set-and-poll cycle over the emulated bus (the poll timer runs it every 500 ms).
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareVx01.h"
#include "emulator/FirmwareVx02.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/SoundCardVx01.h"

#include <benchmark/benchmark.h>

#include <QtGlobal>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

const SoundCardCommand kSetVolume{{0x03, 0x01, 0x01, 0x02}, true, {0x02, 0x0A}};

void BM_BuildFrame(benchmark::State &state)
{
    quint8 frame[CommandFrame::kMaxLength];
    quint16 sequence = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CommandFrame::write(frame, sequence++, kSetVolume));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildFrame);

void BM_FirmwareReceive(benchmark::State &state)
{
    FirmwareVx02 firmware;
    QByteArray report(1, '\0');
    report += CommandFrame::build(1, kSetVolume);
    report.append(QByteArray(65 - report.size(), '\0'));
    for (auto _ : state)
        benchmark::DoNotOptimize(firmware.receive(report));
}
BENCHMARK(BM_FirmwareReceive);

void BM_Vx01SetAndPoll(benchmark::State &state)
{
    qInstallMessageHandler(quiet);
    EmulatedBus bus;
    bus.plug(QStringLiteral("vx01"), std::make_unique<FirmwareVx01>());
    SoundCardVx01 card(&bus);
    if (!card.open()) {
        state.SkipWithError("no emulated vx01");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        card.send({SetterOp::Volume, {2, value++ & 0x0F}});
        benchmark::DoNotOptimize(card.poll());
    }
}
BENCHMARK(BM_Vx01SetAndPoll);

} // namespace

BENCHMARK_MAIN();
