#include "record/ChildProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

ChildProcess::ChildProcess(QObject *parent)
    : QProcess(parent)
    , m_parentPid(::getpid())
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    setChildProcessModifier([parentPid = m_parentPid] { setupChild(parentPid); });
#endif
}

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
void ChildProcess::setupChildProcess()
{
    setupChild(m_parentPid);
}
#endif

void ChildProcess::setupChild(qint64 parentPid)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The panel may have died between the fork and the prctl: then nobody is left to wait.
    if (::getppid() != pid_t(parentPid))
        ::_exit(127);
}
