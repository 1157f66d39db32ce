// How long the window's event loop is held up while the program talks to the device: the real
// main window with an emulated vx02 beside it, a 2 ms timer on the GUI thread, and the longest
// and average lateness of its ticks over the run. With the device answering, and with the
// device silent (every read waits for its time-out). A frame at 60 Hz is 16 ms: a longer stall
// makes a dragged slider jump.
#include "app/MainWidget.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareFactory.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

const QString kModel = QStringLiteral("vx02");
constexpr int kTickMs = 2;

// Runs the event loop for `ms` with a kTickMs timer; fills the longest gap between two ticks
// beyond the timer's own interval and the share of time lost that way.
void measure(int ms, double *worstMs, double *lostShare)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 worst = 0;
    qint64 lost = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 late = std::max<qint64>(0, now - last - kTickMs * 1000000LL);
        worst = std::max(worst, late);
        lost += late;
        last = now;
    });
    tick.start(kTickMs);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    *worstMs = double(worst) / 1e6;
    *lostShare = double(lost) / double(clock.nsecsElapsed());
}

// range(0): 0 the device answers, 1 it is silent. range(1): seconds measured.
void BM_EventLoopStallBesideDevice(benchmark::State &state)
{
    const bool silent = state.range(0) != 0;
    const int seconds = int(state.range(1));
    for (auto _ : state) {
        EmulatedBus bus;
        bus.plug(kModel, FirmwareFactory::make(kModel));
        auto window = std::make_unique<MainWidget>(&bus);
        window->show();
        // The window settles and takes the device over before the clock starts.
        QEventLoop settle;
        QTimer::singleShot(1500, &settle, &QEventLoop::quit);
        settle.exec();
        if (silent)
            bus.setFailure(kModel, EmulatedFailure::Silent);
        double worstMs = 0;
        double lost = 0;
        measure(seconds * 1000, &worstMs, &lost);
        state.SetIterationTime(worstMs / 1000.0);
        state.counters["worst_stall_ms"] = worstMs;
        state.counters["time_lost_pct"] = lost * 100.0;
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_EventLoopStallBesideDevice)
    ->ArgNames({"silent", "seconds"})
    ->Args({0, 8})
    ->Args({1, 8})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") && qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QUICK_BACKEND", "software");
    QStandardPaths::setTestModeEnabled(true);
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brindle"));
    QCoreApplication::setApplicationName(QStringLiteral("vorlet"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
