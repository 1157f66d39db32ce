#pragma once

#include "device/HidBackend.h"
#include "device/HidHandle.h"

#include <QByteArray>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <memory>

// What a scripted handle does and what it was asked; shared by the backend and its handles so
// that it can be inspected after the handle is gone.
struct ScriptedTraffic
{
    enum class Call { GetInputReport, SetOutputReport, Read, Write };
    struct Record
    {
        Call call;
        QByteArray bytes;   // bytes handed in (set/write) or the report id byte (get)
        quint32 length = 0; // the length or size argument
        int timeoutMs = 0;
    };

    QList<Record> records;
    QQueue<QByteArray> reads;   // next read answers; an empty entry is a time-out
    bool failControl = false;   // get/set report fail
    bool failInterrupt = false; // read/write fail
    QStringList closed;         // paths of handles destroyed, in order
};

// A HID backend whose collections, open results and transfers are set by the test.
class ScriptedHidBackend : public HidBackend
{
public:
    QList<HidCollectionInfo> collections;
    QStringList unopenable; // paths whose open() fails
    HidEnumeration::Status status = HidEnumeration::Status::Complete;
    long errorCode = 0;
    QStringList opened; // every open() asked, in order
    std::shared_ptr<ScriptedTraffic> traffic = std::make_shared<ScriptedTraffic>();
    bool hotplug = true; // false: a system that cannot announce devices

    static HidCollectionInfo collection(const QString &path, quint16 vid, quint16 pid, quint16 page, quint16 usage,
                                        quint32 in, quint32 out, const QString &unit = QString())
    {
        return {path, vid, pid, page, usage, in, out, unit};
    }

    QList<HidCollectionInfo> enumerate() override;
    HidEnumeration enumerateWithStatus() override;
    std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) override;
    bool watchesHotplug() const override { return hotplug; }

    void announceArrival(const QString &path, const QString &unit = QString()) { emit interfaceArrived(path, unit); }
    void announceRemoval(const QString &path, const QString &unit = QString()) { emit interfaceRemoved(path, unit); }
};
