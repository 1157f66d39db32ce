#pragma once

#include "device/HidModelId.h"

#include <QPointer>
#include <QString>
#include <QThread>
#include <QWidget>

class HidBackend;
class PowerEventWatcher;

// Tells which of the supported models is attached: turns the arrival and removal of HID
// interfaces into s_devTypeAndState and, once at start, scans those already present. An
// invisible window, never shown. One `connected` flag covers both models: the first known
// device to arrive is reported, the next removal of a known device ends it.
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

    bool isConnected() const;
    // The watcher of sleep, wake and end of session that logs them.
    PowerEventWatcher *powerEvents() const;

signals:
    void s_devTypeAndState(QString devType, bool isDevArrival);
    void s_showTablet();
    void s_deviceWakeUp();

private:
    void registerNotification();
    void onInterfaceArrived(const QString &path);
    void onInterfaceRemoved(const QString &path);
    // A known device was seen (hot-plug or scan): reported unless one already is.
    void reportArrival(const QString &type);

    HidBackend *m_backend;
    const QVector<HidModelId> m_models;
    bool m_connected = false;
    PowerEventWatcher *m_powerEvents;
    QPointer<QThread> m_scan;
};
