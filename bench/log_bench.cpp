// The cost of one log line on the thread that logs it, after many lines already written: it must
// not grow with the number of lines (one flush per line, nothing more), and the writer's memory
// must not grow either.
#include "app/LogWriter.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// Resident memory of this process in kB.
long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (::sysconf(_SC_PAGESIZE) / 1024) : 0;
}

const QString kMessage = QStringLiteral("main.cpp 31 getParaIsChange: device answered 65 bytes");

// Arg: lines written before the measured ones.
void BM_LogLineAfter(benchmark::State &state)
{
    QTemporaryDir dir;
    const QDateTime hour = QDateTime(QDate(2026, 12, 4), QTime(7, 0));
    LogWriter writer(dir.path(), [&hour] { return hour; });
    const long before = residentKb();
    for (int64_t i = 0; i < state.range(0); ++i)
        writer.write(QtDebugMsg, kMessage);
    state.counters["rss_growth_kB"] = double(residentKb() - before);
    for (auto _ : state)
        benchmark::DoNotOptimize(writer.write(QtDebugMsg, kMessage));
}
// 200,000 lines in all at the last point; the time per line is the same at each point.
BENCHMARK(BM_LogLineAfter)->Arg(0)->Arg(100000)->Arg(190000)->Iterations(10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
