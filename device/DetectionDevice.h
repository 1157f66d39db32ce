#pragma once

#include "device/DetectedUnit.h"
#include "device/HidModelId.h"

#include <QPointer>
#include <QString>
#include <QThread>
#include <QVector>
#include <QWidget>

class HidBackend;
class PowerEventWatcher;

// Tells which supported devices are attached: turns the arrival and removal of HID interfaces
// into signals and, once at start, scans those already present. An invisible window, never
// shown. A device is one unit (HidCollectionInfo::unit): the first of its interfaces to arrive
// tells it with its model, the first to leave ends it; interfaces of a unit already told, or of
// one that is not present, add nothing. s_devUnitAndState tells every unit; s_devTypeAndState
// follows one, the earliest still present, so that a listener of one device hears the removal
// of that device only, and then of the next one present. A backend that names no units shows
// all its devices as one.
class DetectionDevice : public QWidget
{
    Q_OBJECT
public:
    // `models`: the supported models with the USB ids they are recognised by.
    DetectionDevice(HidBackend *backend, const QVector<HidModelId> &models, QWidget *parent = nullptr);
    // Waits for a scan still running.
    ~DetectionDevice() override;

    // The type of the first model (in the list's order) whose vendor/product text occurs in
    // `path`, case ignored; empty when none does.
    QString devTypeFromPath(const QString &path) const;
    // The start-up scan of the interfaces already present.
    void scanDevices();
    // The same scan on a thread of its own (the pauses between interfaces add up on a machine
    // with many HID devices); what it finds is told here afterwards, as by scanDevices().
    void scanDevicesInBackground();

    // Whether a device is told by s_devTypeAndState now.
    bool isConnected() const;
    // The supported units present now, in the order they were told.
    QVector<DetectedUnit> presentUnits() const;
    // The watcher of sleep, wake and end of session that logs them.
    PowerEventWatcher *powerEvents() const;

signals:
    void s_devTypeAndState(QString devType, bool isDevArrival);
    void s_showTablet();
    void s_deviceWakeUp();
    // A unit of `devType` arrived (true) or left (false); presentUnits() already tells it.
    void s_devUnitAndState(QString devType, bool isDevArrival, QString unit);

private:
    void registerNotification();
    void onInterfaceArrived(const QString &path, const QString &unit);
    void onInterfaceRemoved(const QString &path, const QString &unit);
    // A known device was seen (hot-plug or scan): told unless its unit already is.
    void reportArrival(const QString &type, const QString &unit);
    // Moves s_devTypeAndState to the earliest unit present, if it is another.
    void followFirstUnit();
    int indexOfUnit(const QString &unit) const;

    HidBackend *m_backend;
    const QVector<HidModelId> m_models;
    QVector<DetectedUnit> m_present;
    DetectedUnit m_reported; // the unit s_devTypeAndState tells; no type when none
    PowerEventWatcher *m_powerEvents;
    QPointer<QThread> m_scan;
};
