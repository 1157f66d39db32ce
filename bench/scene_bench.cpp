// How quickly the scene comes up and follows the device, on an emulated vx02: the main window
// from construction to its first rendered frame (the first run in the process is the cold
// start a user sees), loading each device page, and a full syncData() of the page on screen
// after a poll found the device changed.
#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/DeviceSession.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTimer>

#include <QFile>

#include <memory>

#include <unistd.h>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

const QString kModel = QStringLiteral("vx02");

// A window on its own emulated vx02.
struct Scene
{
    EmulatedBus bus;
    std::unique_ptr<MainWidget> window;
    QQuickWidget *view = nullptr;

    Scene() { bus.plug(kModel, FirmwareFactory::make(kModel)); }
    ~Scene()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Constructs and shows the window and waits for the scene's first frame; the time taken.
    qint64 startNs()
    {
        QElapsedTimer clock;
        clock.start();
        window = std::make_unique<MainWidget>(&bus);
        view = window->findChild<QQuickWidget *>();
        QEventLoop loop;
        QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, &loop, &QEventLoop::quit,
                         Qt::QueuedConnection);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        window->show();
        loop.exec();
        return clock.nsecsElapsed();
    }

    QObject *find(const char *name) const { return view->rootObject()->findChild<QObject *>(QLatin1String(name)); }

    void showPage(int index) const
    {
        QMetaObject::invokeMethod(find("rightPane"), "switchPageShow", Q_ARG(QVariant, index));
    }

    QObject *page() const { return find("pageLoader")->property("item").value<QObject *>(); }

    // The device's session once the window has taken the device over.
    DeviceSession *session() const
    {
        QElapsedTimer waited;
        waited.start();
        while (!window->devices()->session() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return window->devices()->session();
    }

    // Runs the event loop until the session has done everything asked so far and its answers
    // are back.
    static void drain(DeviceSession *session)
    {
        QEventLoop loop;
        session->whenDone([&loop] { loop.quit(); });
        loop.exec();
    }

    void setOnDevice(const QString &key, int value) const
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware(kModel);
        static_cast<FirmwareBase *>(held.firmware)->setParameter(key, value);
    }
};

// Milliseconds since the kernel started this process (10 ms resolution), -1 when unknown.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    // The command name in parentheses may hold blanks; the fields after it are fixed.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double nowSeconds = uptime.readAll().split(' ').value(0).toDouble();
    return (nowSeconds - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

void startToFirstFrame(benchmark::State &state)
{
    for (auto _ : state) {
        Scene scene;
        state.SetIterationTime(double(scene.startNs()) / 1e9);
        if (!scene.view || !scene.view->rootObject())
            state.SkipWithError("the scene did not load");
    }
}

// The first run pays for the QML engine, the fonts and the resources: what a user waits for.
// The counter "since_exec_ms" adds what comes before: loading the program and its libraries
// and creating the application object.
void BM_ColdStartToFirstFrame(benchmark::State &state)
{
    startToFirstFrame(state);
    state.counters["since_exec_ms"] = msSinceProcessStart();
}
BENCHMARK(BM_ColdStartToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_WarmStartToFirstFrame(benchmark::State &state)
{
    startToFirstFrame(state);
}
BENCHMARK(BM_WarmStartToFirstFrame)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

// Loading page 1 (hardware), 2 (volume) or 3 (sound effect) of the vx02 in place of another.
void BM_LoadPage(benchmark::State &state)
{
    const int index = int(state.range(0));
    const int other = index == 1 ? 2 : 1;
    Scene scene;
    scene.startNs();
    for (auto _ : state) {
        scene.showPage(other);
        QElapsedTimer clock;
        clock.start();
        scene.showPage(index);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    if (!scene.page())
        state.SkipWithError("no page loaded");
}
BENCHMARK(BM_LoadPage)->DenseRange(1, 3)->UseManualTime()->Unit(benchmark::kMillisecond);

// A poll that found changed parameters, then the page on screen's full syncData(): every
// control compared with the new map and the changed ones assigned. The poll runs with the
// card's signals held back, so that only syncData() itself is timed.
void BM_SyncDataAfterPoll(benchmark::State &state)
{
    Scene scene;
    scene.startNs();
    DeviceSession *session = scene.session();
    scene.showPage(int(state.range(0)));
    QObject *page = scene.page();
    if (!session || !page) {
        state.SkipWithError("no device or no page");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char *key : {"volumeMonitor", "volumeRecording", "volumeBGM", "reverbVolume"})
            scene.setOnDevice(QLatin1String(key), value);
        scene.setOnDevice(QStringLiteral("btnDodge"), value % 2 + 1);
        scene.setOnDevice(QStringLiteral("denoiseLevel"), value % 4);
        value = (value + 1) % 17;
        session->blockSignals(true);
        session->getParaIsChange();
        Scene::drain(session);
        session->blockSignals(false);
        state.ResumeTiming();
        QMetaObject::invokeMethod(page, "syncData");
    }
}
// Each poll waits 100 ms for the device, outside the timing: a fixed count keeps the run short.
BENCHMARK(BM_SyncDataAfterPoll)->DenseRange(1, 3)->Iterations(20)->Unit(benchmark::kMicrosecond);

// The poll cycle, device answer included, from asking to the window having the new map.
void BM_PollWithChange(benchmark::State &state)
{
    Scene scene;
    scene.startNs();
    DeviceSession *session = scene.session();
    scene.showPage(2);
    if (!session) {
        state.SkipWithError("no device");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        scene.setOnDevice(QStringLiteral("volumeMonitor"), value);
        value = (value + 1) % 17;
        session->getParaIsChange();
        Scene::drain(session);
    }
}
BENCHMARK(BM_PollWithChange)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Headless unless told otherwise; the scene's own messages are not what is measured.
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
