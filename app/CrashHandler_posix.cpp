#include "app/CrashHandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kPathMax = 4096;

char g_folder[kPathMax];
char g_path[kPathMax];
// The handler runs on its own stack, so a stack overflow can still be reported. An alternate
// stack belongs to one thread: this one is the main thread's, where the program does its work.
// A stack overflow on another thread (Qt's or a library's) ends the process without a file.
char g_altStack[64 * 1024];

void writeText(int fd, const char *text)
{
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(fd, text, left);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            return;
        }
        text += n;
        left -= size_t(n);
    }
}

// Number formatting without printf, which is not async-signal-safe.
void writeNumber(int fd, unsigned long long value, unsigned base)
{
    char digits[32];
    int i = int(sizeof(digits));
    digits[--i] = '\0';
    do {
        digits[--i] = "0123456789abcdef"[value % base];
        value /= base;
    } while (value != 0 && i > 0);
    if (base == 16)
        writeText(fd, "0x");
    writeText(fd, digits + i);
}

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    }
    return "unknown";
}

// mkdir -p on the prepared folder, using only mkdir(2).
void makeFolder()
{
    char partial[kPathMax];
    const size_t length = std::strlen(g_folder);
    for (size_t i = 1; i <= length; ++i) {
        if (g_folder[i] == '/' || g_folder[i] == '\0') {
            std::memcpy(partial, g_folder, i);
            partial[i] = '\0';
            ::mkdir(partial, 0700);
        }
    }
}

void onFatalSignal(int sig, siginfo_t *info, void *)
{
    makeFolder();
    const int fd = ::open(g_path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        writeText(fd, "signal: ");
        writeNumber(fd, unsigned(sig), 10);
        writeText(fd, " ");
        writeText(fd, signalName(sig));
        if (info && info->si_code <= 0) {
            // Sent by a process (kill, raise, abort): there is no faulting address to tell.
            writeText(fd, "\nsent by process: ");
            writeNumber(fd, static_cast<unsigned long long>(info->si_pid), 10);
        } else {
            writeText(fd, "\nfault address: ");
            writeNumber(fd, reinterpret_cast<unsigned long long>(info ? info->si_addr : nullptr), 16);
        }
        writeText(fd, "\nthread id: ");
        writeNumber(fd, static_cast<unsigned long long>(::syscall(SYS_gettid)), 10);
        writeText(fd, "\nprocess id: ");
        writeNumber(fd, static_cast<unsigned long long>(::getpid()), 10);
        writeText(fd, "\nbacktrace:\n");
        void *frames[128];
        const int count = ::backtrace(frames, 128);
        ::backtrace_symbols_fd(frames, count, fd);
        ::close(fd);
    }
    // The disposition is back to the default (SA_RESETHAND): the signal raised again once
    // this handler returns ends the process as the system would have.
    ::raise(sig);
}

} // namespace

void CrashHandler::install()
{
    const QByteArray folder = QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const QByteArray path = folder + '/' + QFile::encodeName(QCoreApplication::applicationName()) + ".dmp";
    if (size_t(path.size()) >= kPathMax)
        return;
    std::memcpy(g_folder, folder.constData(), size_t(folder.size()) + 1);
    std::memcpy(g_path, path.constData(), size_t(path.size()) + 1);

    // backtrace() loads libgcc on its first call; do that now, not inside the handler.
    void *warmUp[1];
    ::backtrace(warmUp, 1);

    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof(g_altStack);
    ::sigaltstack(&stack, nullptr);

    struct sigaction action
    {
    };
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int sig : kFatalSignals)
        ::sigaction(sig, &action, nullptr);
}

const char *CrashHandler::dumpPath()
{
    return g_path;
}
