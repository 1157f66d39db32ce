#include "device/HidrawHandle.h"

#include <QDeadlineTimer>
#include <QDebug>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {
// The kernel's report ioctls carry the length in 14 bits.
constexpr quint32 kMaxIoctlLength = (1u << 14) - 1;
} // namespace

HidrawHandle::HidrawHandle(int fd, bool usesReportIds)
    : m_fd(fd)
    , m_usesReportIds(usesReportIds)
{
}

HidrawHandle::~HidrawHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool HidrawHandle::kernelPredatesReportIoctls(const char *release)
{
    if (!release)
        return false;
    char *rest = nullptr;
    const long major = std::strtol(release, &rest, 10);
    const long minor = rest && *rest == '.' ? std::strtol(rest + 1, nullptr, 10) : 0;
    return major < 5 || (major == 5 && minor < 11);
}

void HidrawHandle::noteReportIoctlFailure(int error)
{
    // An unknown ioctl is ENOTTY; kernels before 5.11 answer these two with EINVAL.
    bool unsupported = error == ENOTTY;
    if (error == EINVAL) {
        utsname system{};
        unsupported = ::uname(&system) == 0 && kernelPredatesReportIoctls(system.release);
    }
    static std::atomic<bool> told{false};
    if (unsupported && !told.exchange(true))
        qCritical("hidraw: HIDIOCGINPUT/HIDIOCSOUTPUT are not supported here; the sound card's "
                  "reports need Linux 5.11 or later");
}

bool HidrawHandle::getInputReport(quint8 *buffer, quint32 length)
{
    if (m_fd < 0 || !buffer || length == 0 || length > kMaxIoctlLength)
        return false;
    if (::ioctl(m_fd, HIDIOCGINPUT(length), buffer) >= 0)
        return true;
    noteReportIoctlFailure(errno);
    return false;
}

bool HidrawHandle::setOutputReport(const quint8 *buffer, quint32 length)
{
    if (m_fd < 0 || !buffer || length == 0 || length > kMaxIoctlLength)
        return false;
    if (::ioctl(m_fd, HIDIOCSOUTPUT(length), const_cast<quint8 *>(buffer)) >= 0)
        return true;
    noteReportIoctlFailure(errno);
    return false;
}

int HidrawHandle::read(quint8 *buffer, quint32 size, int timeoutMs)
{
    if (m_fd < 0 || !buffer || size == 0)
        return 0;
    QDeadlineTimer deadline(qMax(timeoutMs, 0));
    for (;;) {
        pollfd watched = {m_fd, POLLIN, 0};
        const int ready = ::poll(&watched, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !(watched.revents & POLLIN))
            return 0; // time-out, or the device went away (POLLHUP/POLLERR)
        break;
    }
    quint8 *target = buffer;
    quint32 room = size;
    if (!m_usesReportIds) {
        if (size < 2)
            return 0;
        buffer[0] = 0;
        ++target;
        --room;
    }
    ssize_t count;
    do {
        count = ::read(m_fd, target, room);
    } while (count < 0 && errno == EINTR);
    if (count <= 0)
        return 0;
    return int(count) + (m_usesReportIds ? 0 : 1);
}

int HidrawHandle::write(const quint8 *buffer, quint32 length)
{
    if (m_fd < 0 || !buffer || length == 0)
        return 0;
    ssize_t count;
    do {
        count = ::write(m_fd, buffer, length);
    } while (count < 0 && errno == EINTR);
    return count <= 0 ? 0 : int(count);
}
