#include "record/ChildProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

ChildProcess::ChildProcess(QObject *parent)
    : QProcess(parent)
    , m_parentPid(::getpid())
{
}

// Only async-signal-safe calls here: this runs in the forked child.
void ChildProcess::setupChildProcess()
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The panel may have died between the fork and the prctl: then nobody is left to wait.
    if (::getppid() != pid_t(m_parentPid))
        ::_exit(127);
}
