#pragma once

#include "cli/TraceSink.h"
#include "device/HidBackend.h"

// A HID backend that hands out tracing handles around those of the backend it wraps. Without a
// sink it traces nothing.
class TracingHidBackend : public HidBackend
{
    Q_OBJECT
public:
    TracingHidBackend(HidBackend *inner, TraceSink sink, QObject *parent = nullptr);

    QList<HidCollectionInfo> enumerate() override;
    HidEnumeration enumerateWithStatus() override;
    bool watchesHotplug() const override;
    std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) override;

private:
    HidBackend *m_inner;
    TraceSink m_sink;
};
