#include "cli/TracingHidBackend.h"

#include "cli/TracingHidHandle.h"

TracingHidBackend::TracingHidBackend(HidBackend *inner, TraceSink sink, QObject *parent)
    : HidBackend(parent)
    , m_inner(inner)
    , m_sink(std::move(sink))
{
    connect(inner, &HidBackend::interfaceArrived, this, &HidBackend::interfaceArrived);
    connect(inner, &HidBackend::interfaceRemoved, this, &HidBackend::interfaceRemoved);
}

QList<HidCollectionInfo> TracingHidBackend::enumerate()
{
    return m_inner->enumerate();
}

HidEnumeration TracingHidBackend::enumerateWithStatus()
{
    return m_inner->enumerateWithStatus();
}

bool TracingHidBackend::watchesHotplug() const
{
    return m_inner->watchesHotplug();
}

std::unique_ptr<HidHandle> TracingHidBackend::open(const HidCollectionInfo &collection)
{
    std::unique_ptr<HidHandle> handle = m_inner->open(collection);
    if (!handle)
        return nullptr;
    return std::make_unique<TracingHidHandle>(std::move(handle), m_sink);
}
