#pragma once

#include "device/HidBackend.h"
#include "emulator/EmulatedFailure.h"
#include "emulator/EmulatedFirmware.h"

#include <QList>
#include <QMutex>
#include <QStringList>

#include <memory>
#include <mutex>

class EmulatedDevice;

// A HID bus with emulated sound cards on it instead of the machine's devices. Devices can be
// plugged and unplugged at any time, any number of each model; the bus then announces their
// interfaces as the system announces real ones. Each plugged device is a unit with an id of its
// own, which its collections carry (HidCollectionInfo::unit). What a device answers is up to its
// firmware. Model names are taken in any case; the calls by model name address the earliest
// plugged unit of that model; a call naming a unit that is not attached warns and fails. The
// host side (enumerate, open, the handles) may be used from any
// thread; plugging and the announcements stay on the bus's own.
class EmulatedBus : public HidBackend
{
    Q_OBJECT
public:
    explicit EmulatedBus(QObject *parent = nullptr);
    ~EmulatedBus() override;

    // The models the bus can emulate ("vx01", "vx02").
    static QStringList models();

    // Attaches a unit of `model` driven by `firmware` (a recording firmware when null) and
    // returns its id; empty when the model is unknown.
    QString plugUnit(const QString &model, std::unique_ptr<EmulatedFirmware> firmware = nullptr);
    // The same, telling only whether it was attached.
    bool plug(const QString &model, std::unique_ptr<EmulatedFirmware> firmware = nullptr);
    // The earliest plugged unit of `model`; empty when none is attached.
    QString unitOf(const QString &model) const;
    // Detaches the unit; handles that are still open fail from now on.
    bool unplugUnit(const QString &unit);
    bool unplug(const QString &model);
    bool isPlugged(const QString &model) const;
    // The unit's firmware, owned by the bus; null when it is not attached.
    EmulatedFirmware *unitFirmware(const QString &unit) const;
    EmulatedFirmware *firmware(const QString &model) const;
    // The same, held still while `lock` lives: what the host sends from another thread waits.
    struct HeldFirmware
    {
        std::unique_lock<QMutex> lock;
        EmulatedFirmware *firmware = nullptr;
    };
    HeldFirmware holdUnitFirmware(const QString &unit) const;
    HeldFirmware holdFirmware(const QString &model) const;
    // Makes the unit stop answering, answer garbage or declare short reports (or behave again).
    bool setUnitFailure(const QString &unit, EmulatedFailure failure);
    bool setFailure(const QString &model, EmulatedFailure failure);

    // Longest wait of a read on an empty pipe; a negative value (the default) waits the full
    // time-out the caller asks for. Lets tests of silent devices run quickly.
    void setReadWaitLimitMs(int limitMs);

    QList<HidCollectionInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const HidCollectionInfo &collection) override;

private:
    struct Attached
    {
        QString unit;
        std::shared_ptr<EmulatedDevice> device;
        QList<HidCollectionInfo> collections; // one per interface, in the model's order
    };

    // The collections as the system lists them now: the traffic collection with the report
    // lengths the device declares.
    QList<HidCollectionInfo> declared(const Attached &attached) const;

    // The attached device of `unit`; null, with a warning, when there is none.
    std::shared_ptr<EmulatedDevice> deviceOf(const QString &unit) const;

    mutable QMutex m_mutex; // m_attached, for the host's threads
    QList<Attached> m_attached;
    int m_nextNode = 0;
    int m_nextUnit = 0;
    int m_readWaitLimitMs = -1;
};
