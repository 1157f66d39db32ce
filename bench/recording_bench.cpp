// A two-hour stereo 48 kHz recording (1.38 GB, in the page cache) as the recording window
// handles it:
// - BM_ReloadTwoHours: what a cut or undo costs the view, the file read through WaveFile into
//   the waveform view (the canvas cleared, 180,000 columns scaled and drawn).
// - BM_ExportTwoHoursToMp3: the export through the real ffmpeg while the GUI thread's event
//   loop runs; "longest_block_ms" is the longest time the loop did not come round (goal: at
//   most 50 ms), "export_s" how long the export took. BM_IdleEventLoop measures the same for
//   an event loop with nothing to do, for the share of the machine's own scheduling.
// VORLET_BENCH_MINUTES sets another length (default 120).
#include "record/EncoderProcess.h"
#include "record/WaveFile.h"
#include "record/WaveformFrame.h"
#include "record/WaveformWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include "support/LongRecording.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QString g_path;
QString g_dir;
qint64 g_frames = 0;

bool writeRecording(const QString &path, qint64 frames)
{
    // A second of speech-like swells of a 220 Hz tone, repeated.
    std::vector<qint16> second(48000 * 2);
    for (int i = 0; i < 48000; ++i) {
        const double v = std::sin(i * 2 * M_PI * 220 / 48000) * (0.1 + 0.6 * std::fabs(std::sin(i * M_PI / 24000)));
        second[2 * i] = qint16(v * 32000);
        second[2 * i + 1] = qint16(v * 20000);
    }
    return writeLongRecording(path, frames, second);
}

void BM_ReloadTwoHours(benchmark::State &state)
{
    QWidget parent;
    parent.resize(675, 341);
    auto *frame = new WaveformFrame(&parent);
    parent.show();
    WaveFile reader;
    QObject::connect(&reader, &WaveFile::s_waveformData, [frame](QVector<qreal> &data) {
        for (qreal &v : data)
            v /= 32767.0;
        frame->onDrawWaveform(data);
    });
    for (auto _ : state) {
        frame->clearWaveform();
        if (!reader.loadFile(g_path))
            state.SkipWithError("loadFile failed");
        QCoreApplication::processEvents(); // the repaint of what is on screen
    }
    state.counters["columns"] = frame->canvas()->columnCount();
    state.SetBytesProcessed(state.iterations() * g_frames * 4);
}

// Runs the event loop with a 1 ms heartbeat until `done` quits it, and gives the longest gap
// between two beats in milliseconds.
template<typename Start>
qint64 longestBlock(QEventLoop &loop, Start start)
{
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
    sinceTick.start();
    tick.start();
    start();
    loop.exec();
    return longest;
}

void BM_IdleEventLoop(benchmark::State &state)
{
    qint64 longestMs = 0;
    for (auto _ : state) {
        QEventLoop loop;
        longestMs =
            std::max(longestMs, longestBlock(loop, [&loop] { QTimer::singleShot(10000, &loop, &QEventLoop::quit); }));
    }
    state.counters["longest_block_ms"] = double(longestMs);
}

void BM_ExportTwoHoursToMp3(benchmark::State &state)
{
    const QString target = g_dir + QStringLiteral("/export.mp3");
    qint64 longestMs = 0;
    double exportSeconds = 0;
    for (auto _ : state) {
        EncoderProcess encoder;
        QEventLoop loop;
        EncoderProcess::Result result = EncoderProcess::Failed;
        QObject::connect(&encoder, &EncoderProcess::finished, [&](EncoderProcess::Result r) {
            result = r;
            loop.quit();
        });
        QElapsedTimer total;
        total.start();
        const qint64 longest = longestBlock(loop, [&] {
            encoder.start({"-y", "-i", g_path, "-acodec", "libmp3lame", target}, target, g_frames / 48);
        });
        exportSeconds += total.elapsed() / 1000.0;
        longestMs = std::max(longestMs, longest);
        if (result != EncoderProcess::Succeeded)
            state.SkipWithError("ffmpeg failed");
    }
    state.counters["longest_block_ms"] = double(longestMs);
    state.counters["export_s"] = exportSeconds / double(state.iterations());
}

BENCHMARK(BM_ReloadTwoHours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IdleEventLoop)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ExportTwoHoursToMp3)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const int minutes =
        qEnvironmentVariableIsSet("VORLET_BENCH_MINUTES") ? qEnvironmentVariableIntValue("VORLET_BENCH_MINUTES") : 120;
    g_frames = 48000LL * 60 * std::max(1, minutes);
    g_dir = dir.path();
    g_path = dir.filePath("two-hours.wav");
    if (!writeRecording(g_path, g_frames)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(g_path));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
