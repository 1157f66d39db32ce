#pragma once

#include "cli/TraceSink.h"
#include "device/HidBackend.h"

#include <memory>

// A HID backend that hands out tracing handles around those of the backend it wraps. Without a
// sink it traces nothing and only counts the reports that could not be sent or read.
class TracingHidBackend : public HidBackend
{
    Q_OBJECT
public:
    TracingHidBackend(HidBackend *inner, TraceSink sink, QObject *parent = nullptr);

    QList<HidCollectionInfo> enumerate() override;
    HidEnumeration enumerateWithStatus() override;
    bool watchesHotplug() const override;
    std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) override;

    // Reports that the handles of this backend could not hand to the device or ask of it, so
    // far. A read that waited in vain for an answer is no failure.
    int failedTransfers() const;

private:
    HidBackend *m_inner;
    TraceSink m_sink;
    std::shared_ptr<int> m_failedTransfers = std::make_shared<int>(0);
};
