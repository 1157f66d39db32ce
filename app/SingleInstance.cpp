#include "app/SingleInstance.h"

#include "app/ActivationChannel.h"

#include <QSharedMemory>

#include <cstring>

namespace {
constexpr int kSegmentSize = 4;
}

bool SingleInstance::otherInstanceRunning(QSharedMemory &segment, const QString &key)
{
    segment.setKey(key);
    if (segment.isAttached())
        segment.detach();

    segment.lock();
    if (segment.create(kSegmentSize, QSharedMemory::ReadWrite)) {
        segment.unlock();
        return false;
    }

    if (segment.attach(QSharedMemory::ReadWrite) && segment.data()) {
        quint32 handle = 0;
        std::memcpy(&handle, segment.constData(), sizeof(handle));
        // A zero handle: the first instance is still starting, nothing is sent.
        const bool delivered = handle != 0 && ActivationChannel(key).send(ActivationChannel::kActivationCode);
        if (!delivered) {
            // System V segments outlive a killed owner. Detaching removes the segment when
            // nobody else is attached, and then this process may take over; a live owner that
            // is still starting keeps it attached, so creation fails again.
            segment.detach();
            if (segment.create(kSegmentSize, QSharedMemory::ReadWrite)) {
                segment.unlock();
                return false;
            }
        }
    }
    segment.unlock();
    return true;
}

void SingleInstance::storeWindowHandle(QSharedMemory &segment, quint32 handle)
{
    segment.lock();
    if (segment.data())
        std::memcpy(segment.data(), &handle, sizeof(handle));
    segment.unlock();
}
