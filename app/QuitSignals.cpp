#include "app/QuitSignals.h"

#include <QDebug>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe's write end, for the handler; -1 while no instance exists.
volatile sig_atomic_t g_writeEnd = -1;
struct sigaction g_previous[sizeof(kQuitSignals) / sizeof(kQuitSignals[0])];

// Async-signal-safe: one byte into a non-blocking pipe. A full pipe already holds a signal.
void onQuitSignal(int sig)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(sig);
    const ssize_t written = g_writeEnd >= 0 ? ::write(g_writeEnd, &number, 1) : 0;
    Q_UNUSED(written);
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("quit signals: no pipe (%s); SIGTERM, SIGHUP and SIGINT end the program at once",
                 std::strerror(errno));
        m_pipe[0] = m_pipe[1] = -1;
        return;
    }
    g_writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::onReadable);

    struct sigaction action
    {
    };
    action.sa_handler = onQuitSignal;
    // System calls the signal interrupts go on; the event loop learns of it through the pipe.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kQuitSignals); ++i)
        ::sigaction(kQuitSignals[i], &action, &g_previous[i]);
}

QuitSignals::~QuitSignals()
{
    if (!isInstalled())
        return;
    for (size_t i = 0; i < std::size(kQuitSignals); ++i)
        ::sigaction(kQuitSignals[i], &g_previous[i], nullptr);
    g_writeEnd = -1;
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

bool QuitSignals::isInstalled() const
{
    return m_pipe[0] >= 0;
}

int QuitSignals::exitCodeFor(int signal)
{
    return 128 + signal;
}

void QuitSignals::onReadable()
{
    unsigned char numbers[16];
    ssize_t count;
    while ((count = ::read(m_pipe[0], numbers, sizeof(numbers))) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            const int sig = numbers[i];
            if (m_received) {
                qInfo("SIG%s while quitting: ignored", sigabbrev_np(sig));
                continue;
            }
            m_received = sig;
            qInfo("SIG%s: quitting", sigabbrev_np(sig));
            emit quitRequested(exitCodeFor(sig));
        }
    }
}
