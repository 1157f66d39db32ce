#include "app/SingleInstance.h"

#include "app/ActivationChannel.h"
#include "app/SessionFiles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSharedMemory>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kSegmentSize = 4;
constexpr unsigned long kLockRetryMs = 10;

QString lockFileName(const QSharedMemory &segment)
{
    return segment.nativeKey() + QStringLiteral(".lock");
}

// The lock that guards the create-or-attach decision and the handle: an advisory lock on a file
// beside the key file. The system drops it when its holder dies, and it is waited for at most
// kLockTimeoutMs. Unlocks when it goes out of scope.
class SegmentLock
{
public:
    explicit SegmentLock(const QString &fileName)
    {
        m_fd = ::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return;
        const QDeadlineTimer deadline(SingleInstance::kLockTimeoutMs);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
                m_timedOut = errno == EWOULDBLOCK;
                ::close(m_fd);
                m_fd = -1;
                return;
            }
            QThread::msleep(kLockRetryMs);
        }
    }
    ~SegmentLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing the only descriptor releases the lock
    }
    SegmentLock(const SegmentLock &) = delete;
    SegmentLock &operator=(const SegmentLock &) = delete;

    // Another process kept the lock past the time-out.
    bool timedOut() const { return m_timedOut; }

private:
    int m_fd = -1;
    bool m_timedOut = false;
};

} // namespace

bool SingleInstance::otherInstanceRunning(QSharedMemory &segment, const QString &key)
{
    const QString keyFile = SessionFiles::file(key, QStringLiteral(".shm"));
    // Without a private folder there is nowhere safe to meet: every start runs on its own.
    if (keyFile.isEmpty())
        return false;
    if (segment.isAttached())
        segment.detach();
    segment.setNativeKey(keyFile);

    // A lock that is not given up in time belongs to a start that is stuck: this start is not
    // the first, and ends. A lock file that cannot be used at all only loses the guard against
    // two starts at the very same moment.
    const SegmentLock lock(lockFileName(segment));
    if (lock.timedOut())
        return true;
    // The system key is made from the key file's inode, which the file system hands out again:
    // a key file made anew may meet a segment that a killed owner of an earlier one left, and
    // creating would then fail for good. With the file there first, such a segment is attached
    // and taken over below.
    const int keyFd = ::open(QFile::encodeName(keyFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0640);
    if (keyFd >= 0)
        ::close(keyFd);
    // Attaching comes first: on an object whose creation failed, Qt 5 refuses every later
    // attach under a native key. The lock keeps the two steps from racing another start.
    if (!segment.attach(QSharedMemory::ReadWrite))
        return !segment.create(kSegmentSize, QSharedMemory::ReadWrite);

    quint32 handle = 0;
    if (segment.data())
        std::memcpy(&handle, segment.constData(), sizeof(handle));
    // A handle was published: ask that window to come forward, with the token the desktop gave
    // this start so that the window may take the focus on Wayland.
    if (handle != 0
        && ActivationChannel(key).send(ActivationChannel::kActivationCode, qgetenv("XDG_ACTIVATION_TOKEN"),
                                       kActivationTimeoutMs))
        return true;
    // No handle yet, or nobody answered. System V segments outlive a killed owner (also one
    // that died while starting): detaching removes the segment when nobody else is attached,
    // and then this process takes over. A live owner that is still starting, stopped or busy
    // keeps it attached, so creation fails and this start ends without sending anything.
    segment.detach();
    return !segment.create(kSegmentSize, QSharedMemory::ReadWrite);
}

void SingleInstance::storeWindowHandle(QSharedMemory &segment, quint32 handle)
{
    if (segment.nativeKey().isEmpty())
        return;
    SegmentLock lock(lockFileName(segment));
    if (segment.data())
        std::memcpy(segment.data(), &handle, sizeof(handle));
}
