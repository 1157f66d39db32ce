// From exec to the first frame on screen: the real program started with an emulated vx02, and
// pavucontrol-qt (a Qt audio panel users already have) beside it on the same display. Each run
// starts the program anew and waits, through the X server, for its first top-level window to
// be mapped and then drawn into (DAMAGE); the program is then ended. The median of kRuns starts
// is the time reported. Needs an X display (run
// under xvfb-run); a program that is not installed is skipped. One run before the measured ones
// fills the caches a user's machine has (fontconfig, GStreamer's registry).
#include <benchmark/benchmark.h>

// Qt before Xlib, whose macros (Bool, Status) Qt's headers must not see.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Starts measured per program; the median is reported.
constexpr int kRuns = 10;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Result
{
    double mappedMs = -1;
    double drawnMs = -1;
};

// The private HOME and XDG folders every start of the programs shares.
// The caches the programs fill (Mesa's shaders, GStreamer's registry, fontconfig) are kept from
// one start to the next, as on a user's machine.
QTemporaryDir &sandbox()
{
    static QTemporaryDir dir;
    static const bool made = QDir().mkpath(dir.path() + QStringLiteral("/config"))
        && QDir().mkpath(dir.path() + QStringLiteral("/data")) && QDir().mkpath(dir.path() + QStringLiteral("/cache"))
        && QDir().mkpath(dir.path() + QStringLiteral("/runtime"))
        && QFile::setPermissions(dir.path() + QStringLiteral("/runtime"),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Q_UNUSED(made)
    return dir;
}

pid_t launch(const std::vector<std::string> &argv)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const QByteArray home = QFile::encodeName(sandbox().path());
    setenv("HOME", home.constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (home + "/cache").constData(), 1);
    // A session's own folder, as a desktop session has (sockets, the single-instance key).
    if (!getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", (home + "/runtime").constData(), 1);
    // The programs' own output is not what is measured.
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    if (!qEnvironmentVariableIsSet("STARTUP_BENCH_VERBOSE"))
        dup2(null, STDERR_FILENO);
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Starts `argv` and waits (at most 10 s) for its first top-level window to be mapped and drawn.
Result startOnce(Display *display, int damageEvent, const std::vector<std::string> &argv)
{
    Result result;
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);
    const Clock::time_point start = Clock::now();
    const pid_t pid = launch(argv);
    const auto since = [&start] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    Window window = 0;
    Damage damage = 0;
    pollfd watched = {ConnectionNumber(display), POLLIN, 0};
    while (result.drawnMs < 0 && since() < 10000) {
        if (!XPending(display)) {
            poll(&watched, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && window == 0 && event.xmap.event == root && !event.xmap.override_redirect) {
            window = event.xmap.window;
            result.mappedMs = since();
            damage = XDamageCreate(display, window, XDamageReportNonEmpty);
        } else if (event.type == damageEvent + XDamageNotify
                   && reinterpret_cast<XDamageNotifyEvent *>(&event)->drawable == window) {
            result.drawnMs = since();
        }
    }
    if (damage)
        XDamageDestroy(display, damage);
    XSelectInput(display, root, NoEventMask);
    XSync(display, True);
    stop(pid);
    return result;
}

void measure(benchmark::State &state, const std::vector<std::string> &argv)
{
    if (QStandardPaths::findExecutable(QString::fromStdString(argv.front())).isEmpty()
        && !QFileInfo(QString::fromStdString(argv.front())).isExecutable()) {
        state.SkipWithError((argv.front() + " is not installed").c_str());
        return;
    }
    // A window that goes away before its damage object does is no error of the measurement.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    Display *display = XOpenDisplay(nullptr);
    int damageEvent = 0;
    int damageError = 0;
    if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        state.SkipWithError("needs an X display with DAMAGE: run under xvfb-run");
        if (display)
            XCloseDisplay(display);
        return;
    }
    startOnce(display, damageEvent, argv);
    for (auto _ : state) {
        std::vector<double> drawn;
        std::vector<double> mapped;
        for (int run = 0; run < kRuns; ++run) {
            const Result result = startOnce(display, damageEvent, argv);
            if (result.drawnMs < 0)
                continue;
            drawn.push_back(result.drawnMs);
            mapped.push_back(result.mappedMs);
        }
        if (drawn.size() < kRuns / 2) {
            state.SkipWithError("no window was drawn within 10 s");
            break;
        }
        state.SetIterationTime(median(drawn) / 1000.0);
        state.counters["median_ms"] = median(drawn);
        state.counters["min_ms"] = *std::min_element(drawn.begin(), drawn.end());
        state.counters["max_ms"] = *std::max_element(drawn.begin(), drawn.end());
        state.counters["mapped_median_ms"] = median(mapped);
        state.counters["runs"] = double(drawn.size());
    }
    XCloseDisplay(display);
}

void BM_VorletExecToFirstFrame(benchmark::State &state)
{
    // VORLET_BINARY in the environment measures another build (an older one, the installed one).
    const QByteArray binary =
        qEnvironmentVariableIsSet("VORLET_BINARY") ? qgetenv("VORLET_BINARY") : QByteArray(VORLET_BINARY);
    measure(state, {binary.toStdString(), "--emulate", "vx02"});
}
BENCHMARK(BM_VorletExecToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PavucontrolQtExecToFirstFrame(benchmark::State &state)
{
    measure(state, {"pavucontrol-qt"});
}
BENCHMARK(BM_PavucontrolQtExecToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
