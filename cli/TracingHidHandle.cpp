#include "cli/TracingHidHandle.h"

#include "cli/TraceLine.h"

#include <QString>

TracingHidHandle::TracingHidHandle(std::unique_ptr<HidHandle> inner, TraceSink sink)
    : m_inner(std::move(inner))
    , m_sink(std::move(sink))
{
}

void TracingHidHandle::trace(char direction, const quint8 *bytes, int count) const
{
    if (m_sink)
        m_sink(TraceLine::format(direction, bytes, count));
}

bool TracingHidHandle::getInputReport(quint8 *buffer, quint32 length)
{
    const bool ok = m_inner->getInputReport(buffer, length);
    if (ok)
        trace('<', buffer, int(length));
    return ok;
}

bool TracingHidHandle::setOutputReport(const quint8 *buffer, quint32 length)
{
    trace('>', buffer, int(length));
    return m_inner->setOutputReport(buffer, length);
}

int TracingHidHandle::read(quint8 *buffer, quint32 size, int timeoutMs)
{
    const int count = m_inner->read(buffer, size, timeoutMs);
    if (count > 0)
        trace('<', buffer, count);
    return count;
}

int TracingHidHandle::write(const quint8 *buffer, quint32 length)
{
    trace('>', buffer, int(length));
    return m_inner->write(buffer, length);
}
