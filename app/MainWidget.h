#pragma once

#include <QWidget>

class AppearanceSettings;
class BackgroundSettings;
class BgmNames;
class DeviceManager;
class HidBackend;
class PresetController;
class QQuickWidget;
class QScreen;
class RecordWidget;
class SettingsRestorer;
class SoundCardBase;
class Trans;

// The program's only top-level window: frameless, its content the QML scene, with the recording
// panel folding out below it. The attached device's session (DeviceManager) is published to the
// scene as "SoundCard"; the device is looked for once the window is up, and the scene fills in
// its state as it arrives. The scene reaches the window itself as "MainLogic".
// Every size follows the screen's logical DPI (scale s = DPI / 96 on a design of 802 × 482), on
// top of what Qt's own device-pixel-ratio scaling already does.
class MainWidget : public QWidget
{
    Q_OBJECT
    // Restore last settings (off by default): `MainLogic.settingsRestorer.enabled` in the scene.
    Q_PROPERTY(SettingsRestorer *settingsRestorer READ settingsRestorer CONSTANT)
    // Run in the background and start at login: `MainLogic.background` in the scene.
    Q_PROPERTY(BackgroundSettings *background READ background CONSTANT)
    // The presets of the attached model and the names of its sound-effect buttons:
    // `MainLogic.presets`, `MainLogic.bgmNames` in the scene.
    Q_PROPERTY(PresetController *presets READ presets CONSTANT)
    Q_PROPERTY(BgmNames *bgmNames READ bgmNames CONSTANT)
    // The high-contrast look: `MainLogic.appearance.highContrast` in the scene.
    Q_PROPERTY(AppearanceSettings *appearance READ appearance CONSTANT)
    // The scale of the design on the window's screen (s = DPI / 96): the scene binds its sizes to
    // `MainLogic.scalingRate`, so that they follow a change of screen or DPI.
    Q_PROPERTY(double scalingRate READ getScalingRate NOTIFY screenChanged)
public:
    // `backend` is the HID access chosen at start (the system's devices or an emulated bus); it
    // must outlive the window.
    explicit MainWidget(HidBackend *backend, QWidget *parent = nullptr);
    ~MainWidget() override;

    // The device side: detection, the attached device's session, the settings restorer.
    DeviceManager *devices() const;
    // The attached model's sound card as the scene sees it, null while no device is attached.
    SoundCardBase *soundCard() const;
    RecordWidget *recordWidget() const;
    QQuickWidget *sceneView() const;
    Trans *translator() const;
    SettingsRestorer *settingsRestorer() const;
    BackgroundSettings *background() const;
    PresetController *presets() const;
    BgmNames *bgmNames() const;
    AppearanceSettings *appearance() const;

    // The scale of the design for a screen of `logicalDpi` whose logical pixels are
    // `devicePixelRatio` device pixels: DPI / 96 where Qt does not scale; where it does
    // (QT_SCALE_FACTOR, a Wayland output's scale) only what the DPI asks for beyond it, never
    // less than the design, so that the two are not multiplied.
    static double sceneScale(qreal logicalDpi, qreal devicePixelRatio);

signals:
    // A device of `devType` was attached (true) or removed (false); emitted after the sound card
    // was created or dropped.
    void isConnect(bool isConnect, QString devType);
    // The DPI scale was recomputed and the window resized.
    void screenChanged();

public slots:
    QString getSoftVersion();
    // Unfolds (true) or folds (false) the recording panel below the scene.
    void openRecordWidget(bool isOpen);
    double getScalingRate();

    // Handles a message of the activation channel: code 10086 restores the window and brings it
    // above the others; any other code is swallowed without effect.
    void onActivationRequest(quint32 code, const QByteArray &token = {});

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // In the background the window only hides: the program goes on without it.
    void closeEvent(QCloseEvent *event) override;

private slots:
    void onSoundCardChanged(SoundCardBase *card);
    void onConnectChanged(bool isConnect, const QString &devType);
    void onWindowScreenChanged();

private:
    void setUp();
    void applySizes();
    void checkScreenAfterMove();
    int currentScreenIndex() const;
    void takeScreenScale(QScreen *screen);
    int scaled(int designSize) const;

    DeviceManager *m_devices = nullptr;
    BackgroundSettings *m_background = nullptr;
    AppearanceSettings *m_appearance = nullptr;
    Trans *m_translator = nullptr;
    RecordWidget *m_recordWidget = nullptr;
    QQuickWidget *m_sceneView = nullptr;
    int m_dragOffsetX = 0;
    int m_dragOffsetY = 0;
    const double m_baseScale = 1.0;
    double m_dpiScale = 1.0;

    HidBackend *m_backend;
    // The window manager moves the window (Wayland cannot be moved by the client); the screen
    // is checked when the window lands on another one.
    bool m_systemMoveActive = false;
};
