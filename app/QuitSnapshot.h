#pragma once

#include <QObject>

class DeviceManager;

// When the program quits (the tray's Quit, a quit signal at logout or shutdown), the device may
// hold a change that no poll has shown yet: a setter sent a moment ago shows only at the next
// poll, up to half a second later. With restore last settings on, the device is polled once
// more (waiting at most kWaitMs) and what it reports is written to the remembered settings at
// once.
class QuitSnapshot : public QObject
{
    Q_OBJECT
public:
    static constexpr int kWaitMs = 1500;

    explicit QuitSnapshot(DeviceManager *devices, QObject *parent = nullptr);

public slots:
    void take();

private:
    DeviceManager *m_devices;
};
