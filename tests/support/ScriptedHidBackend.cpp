#include "support/ScriptedHidBackend.h"

#include <cstring>

namespace {

class ScriptedHandle : public HidHandle
{
public:
    ScriptedHandle(const QString &path, std::shared_ptr<ScriptedTraffic> traffic)
        : m_path(path)
        , m_traffic(std::move(traffic))
    {
    }
    ~ScriptedHandle() override { m_traffic->closed << m_path; }

    bool getInputReport(quint8 *buffer, quint32 length) override
    {
        record(ScriptedTraffic::Call::GetInputReport, QByteArray(1, char(buffer[0])), length, 0);
        if (m_traffic->failControl)
            return false;
        std::memset(buffer, 0, length);
        return true;
    }
    bool setOutputReport(const quint8 *buffer, quint32 length) override
    {
        record(ScriptedTraffic::Call::SetOutputReport, QByteArray(reinterpret_cast<const char *>(buffer), int(length)),
               length, 0);
        return !m_traffic->failControl;
    }
    int read(quint8 *buffer, quint32 size, int timeoutMs) override
    {
        record(ScriptedTraffic::Call::Read, QByteArray(), size, timeoutMs);
        if (m_traffic->failInterrupt || m_traffic->reads.isEmpty())
            return 0;
        const QByteArray next = m_traffic->reads.dequeue();
        const quint32 count = qMin<quint32>(size, quint32(next.size()));
        std::memcpy(buffer, next.constData(), count);
        return int(count);
    }
    int write(const quint8 *buffer, quint32 length) override
    {
        record(ScriptedTraffic::Call::Write, QByteArray(reinterpret_cast<const char *>(buffer), int(length)), length,
               0);
        return m_traffic->failInterrupt ? 0 : int(length);
    }

private:
    void record(ScriptedTraffic::Call call, const QByteArray &bytes, quint32 length, int timeoutMs)
    {
        m_traffic->records.append({call, bytes, length, timeoutMs});
    }

    QString m_path;
    std::shared_ptr<ScriptedTraffic> m_traffic;
};

} // namespace

QList<HidCollectionInfo> ScriptedHidBackend::enumerate()
{
    return status == HidEnumeration::Status::NoDeviceSet ? QList<HidCollectionInfo>() : collections;
}

HidEnumeration ScriptedHidBackend::enumerateWithStatus()
{
    return {status, errorCode, enumerate()};
}

std::unique_ptr<HidHandle> ScriptedHidBackend::open(const HidCollectionInfo &info)
{
    opened << info.path;
    if (unopenable.contains(info.path))
        return nullptr;
    return std::make_unique<ScriptedHandle>(info.path, traffic);
}
