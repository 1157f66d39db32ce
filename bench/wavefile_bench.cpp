// Reading a 60-minute stereo 48 kHz recording (691 MB, in the page cache) into waveform
// columns, next to simply reading the same file into memory in 480 KiB blocks. The target is
// a loadFile throughput of at least 70 % of the plain read ("vs_plain_read" >= 0.70).
#include "record/WaveFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "support/LongRecording.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QString g_path;
qint64 g_fileBytes = 0;

constexpr qint64 kFrames = 48000LL * 60 * 60;

bool writeRecording(const QString &path)
{

    // A second of a 440 Hz tone with a slow swell, repeated; the content does not change the
    // cost of the scan but keeps the columns realistic.
    std::vector<qint16> second(48000 * 2);
    quint32 noise = 12345;
    for (int i = 0; i < 48000; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double v = std::sin(i * 2 * M_PI * 440 / 48000) * (0.2 + 0.7 * i / 48000.0);
        second[2 * i] = qint16(v * 32000 + int(noise >> 28) - 8);
        second[2 * i + 1] = qint16(-v * 16000);
    }
    return writeLongRecording(path, kFrames, second);
}

qint64 plainRead(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    std::vector<char> buffer(480 * 1024);
    qint64 total = 0;
    for (;;) {
        const qint64 n = f.read(buffer.data(), qint64(buffer.size()));
        if (n <= 0)
            break;
        benchmark::DoNotOptimize(buffer.data());
        total += n;
    }
    return total;
}

void BM_PlainRead(benchmark::State &state)
{
    double seconds = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        bytes += plainRead(g_path);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.SetBytesProcessed(bytes);
    state.counters["plain_read_MB/s"] = bytes / seconds / 1e6;
}

// Each iteration first reads the file plainly (untimed for the benchmark, but measured) and
// then loads it, so that both figures of the ratio see the same load on the machine.
void BM_LoadFile(benchmark::State &state)
{
    WaveFile reader;
    qint64 columns = 0;
    QObject::connect(&reader, &WaveFile::s_waveformData, [&](QVector<qreal> &d) {
        benchmark::DoNotOptimize(d.data());
        ++columns;
    });
    double loadSeconds = 0;
    double plainSeconds = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        plainRead(g_path);
        const auto t1 = std::chrono::steady_clock::now();
        if (!reader.loadFile(g_path))
            state.SkipWithError("loadFile failed");
        const auto t2 = std::chrono::steady_clock::now();
        plainSeconds += std::chrono::duration<double>(t1 - t0).count();
        const double load = std::chrono::duration<double>(t2 - t1).count();
        loadSeconds += load;
        state.SetIterationTime(load);
    }
    const double bytes = double(state.iterations()) * double(g_fileBytes);
    state.SetBytesProcessed(qint64(bytes));
    state.counters["columns"] = double(columns) / double(state.iterations());
    state.counters["plain_read_MB/s"] = bytes / plainSeconds / 1e6;
    state.counters["load_MB/s"] = bytes / loadSeconds / 1e6;
    state.counters["vs_plain_read"] = plainSeconds / loadSeconds;
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    g_path = dir.filePath("sixty-minutes.wav");
    if (!writeRecording(g_path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(g_path));
        return 1;
    }
    g_fileBytes = QFile(g_path).size();
    plainRead(g_path); // into the page cache

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0; // the temporary folder and the file go with `dir`
}
