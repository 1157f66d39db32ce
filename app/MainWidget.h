#pragma once

#include <QWidget>

class DetectionDevice;
class HidBackend;
class QTimer;
class RecordWidget;
class SettingsRestorer;
class SoundCardBase;

// The program's top-level window. It owns the device detection and, while a device is attached,
// the sound-card object of its model, which it polls every 500 ms for changes made on the
// device. It hosts the recording panel and comes forward when a second start asks it to.
class MainWidget : public QWidget
{
    Q_OBJECT
    // Restore last settings (off by default): `MainLogic.settingsRestorer.enabled` in the scene.
    Q_PROPERTY(SettingsRestorer *settingsRestorer READ settingsRestorer CONSTANT)
public:
    // `backend` is the HID access chosen at start (the system's devices or an emulated bus); it
    // must outlive the window.
    explicit MainWidget(HidBackend *backend, QWidget *parent = nullptr);
    ~MainWidget() override;

    // The attached model's sound card, null while no device is attached.
    SoundCardBase *soundCard() const;
    RecordWidget *recordWidget() const;
    bool isPolling() const;
    SettingsRestorer *settingsRestorer() const;

    static constexpr int kPollIntervalMs = 500;

signals:
    // A device of `devType` was attached (true) or removed (false); emitted after the sound card
    // was created or dropped.
    void isConnect(bool isConnect, QString devType);

public slots:
    QString getSoftVersion();

    // Handles a message of the activation channel: code 10086 restores the window and brings it
    // above the others; any other code is swallowed without effect.
    void onActivationRequest(quint32 code);

private slots:
    void onDevArrivalOrRemove(QString devType, bool isArrival);

private:
    void pollDevice();

    HidBackend *m_backend;
    DetectionDevice *m_detector = nullptr;
    SoundCardBase *m_soundCard = nullptr;
    QTimer *m_pollTimer = nullptr;
    RecordWidget *m_recordWidget = nullptr;
    SettingsRestorer *m_settingsRestorer = nullptr;
};
