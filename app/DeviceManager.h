#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class BgmNames;
class DetectionDevice;
class DeviceSession;
class HidBackend;
class PresetController;
class SettingsRestorer;
class SoundCardBase;

// The device side of the program, apart from the window: detection of the supported models,
// the session of the attached one (its protocol on a thread of its own, polled every 500 ms),
// and the restoring of its last settings. Whoever shows the device (the window's scene, later
// other front ends) follows soundCardChanged and isConnect and calls the session; nothing here
// waits for the device. Lives on the GUI thread; every signal arrives there.
class DeviceManager : public QObject
{
    Q_OBJECT
public:
    // `backend` is the HID access chosen at start; it must outlive the manager.
    explicit DeviceManager(HidBackend *backend, QObject *parent = nullptr);
    ~DeviceManager() override;

    // Looks for a device attached before start, away from the GUI thread; what it finds is
    // told as any arrival.
    void start();

    // The attached model's session, null while no device is attached.
    DeviceSession *session() const;
    // The model of the attached device ("vx01", "vx02"), empty while none is.
    QString devType() const;
    DetectionDevice *detector() const;
    SettingsRestorer *settingsRestorer() const;
    // The user's presets of the attached model, and the names of its sound-effect buttons.
    PresetController *presets() const { return m_presets; }
    BgmNames *bgmNames() const { return m_bgmNames; }
    bool isPolling() const;
    int pollInterval() const;

signals:
    // The session was created (`card`) or dropped (null); comes before the isConnect it
    // belongs to.
    void soundCardChanged(SoundCardBase *card);
    // A device of `devType` was attached (true) or removed (false).
    void isConnect(bool isConnect, QString devType);

public slots:
    // A device (`unit`, HidCollectionInfo::unit) arrived or left. The session belongs to one
    // unit: the others' arrivals and removals leave it alone, and when its own leaves the
    // earliest other unit present is taken as if it arrived.
    void onDevArrivalOrRemove(QString devType, bool isArrival, QString unit = QString());

private:
    HidBackend *m_backend;
    DetectionDevice *m_detector;
    SettingsRestorer *m_settingsRestorer;
    BgmNames *m_bgmNames;
    PresetController *m_presets;
    // A child: a dropped session finishes its last call on its own, and goes at the latest with
    // the manager.
    QPointer<DeviceSession> m_session;
    QString m_devType;
    QString m_unit;
};
