#pragma once

#include "device/HidHandle.h"

// An open hidraw node. Reports go in and out report id first, as on every backend: for a
// device without report ids the kernel leaves the id out of reads, so it is put back here.
class HidrawHandle : public HidHandle
{
public:
    // Takes ownership of the open descriptor `fd`.
    HidrawHandle(int fd, bool usesReportIds);
    ~HidrawHandle() override;

    HidrawHandle(const HidrawHandle &) = delete;
    HidrawHandle &operator=(const HidrawHandle &) = delete;

    bool getInputReport(quint8 *buffer, quint32 length) override;
    bool setOutputReport(const quint8 *buffer, quint32 length) override;
    int read(quint8 *buffer, quint32 size, int timeoutMs) override;
    int write(const quint8 *buffer, quint32 length) override;

    // True when the kernel named by `release` (as uname gives it, "5.10.0-23-amd64") predates
    // the report ioctls (Linux 5.11).
    static bool kernelPredatesReportIoctls(const char *release);

private:
    // After a failed report ioctl: tells once per process when the kernel lacks it.
    static void noteReportIoctlFailure(int error);

    int m_fd;
    bool m_usesReportIds;
};
