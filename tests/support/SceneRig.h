#pragma once

#include "app/FontAlias.h"
#include "emulator/EmulatedBus.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class DeviceSession;
class FirmwareBase;
class MessageCapture;
class MainWidget;
class QQuickItem;
class QQuickWidget;
class TappedFirmware;

// The real main window with its QML scene on an emulated bus, driven as a person would: mouse
// and key events on the scene, and what the emulated device received and shows. The device's
// firmware is tapped, so every frame the program sends can be read back.
//
// Items are found by objectName anywhere in the scene, popups and loaded pages included.
// Positions are in the item's own coordinates; the default is the item's centre.
class SceneRig
{
public:
    // Starts the window with a device of `model` ("vx01", "vx02") attached before start, or
    // with none when `model` is empty. Shows it, waits until the device is taken over and gives
    // the scene the keyboard focus.
    explicit SceneRig(const QString &model = QString());
    ~SceneRig();

    SceneRig(const SceneRig &) = delete;
    SceneRig &operator=(const SceneRig &) = delete;

    MainWidget *window() const { return m_window.get(); }
    QQuickWidget *view() const { return m_view; }
    QQuickItem *root() const;

    // The first object of the scene named `objectName`, null when there is none.
    QObject *find(const QString &objectName) const;
    QQuickItem *item(const QString &objectName) const;
    // Every visible item named `objectName`, in the scene's order.
    QList<QQuickItem *> items(const QString &objectName) const;
    // The device page on screen and the document it was loaded from ("" while none).
    QQuickItem *page() const;
    QString pageSource() const;
    // The text an item shows (its "text" property).
    QString text(const QString &objectName) const;
    // The one walk through a scene: `top` and everything below it, depth first, each object
    // once: an item's visual children in the scene's order, then its other children (a timer,
    // a popup, whose content hangs below the overlay). `visit` answers whether to go below the
    // object it was given. walk() visits the items only.
    static void walkObjects(QObject *top, const std::function<bool(QObject *)> &visit);
    static void walk(QQuickItem *top, const std::function<bool(QQuickItem *)> &visit);
    // `top` and the items below it whose class inherits `className`, in the scene's order.
    static QList<QQuickItem *> itemsOf(QQuickItem *top, const char *className);

    // The device side. plug() attaches a device with a tapped firmware of the model, unplug()
    // removes it; both wait until the window has taken the change over (false if it did not).
    // Like every action below, they return once what the scene asked of the device has reached
    // it and its answers are back.
    bool plug(const QString &model);
    bool unplug(const QString &model);
    // Makes the attached device stop answering (Silent) or answer again (None).
    bool setFailure(EmulatedFailure failure);
    // The setter commands the device received since the last call, as its firmware reads them,
    // then forgets them: "key=value" for a parameter set ("volumeRecording=12"), "mode t c" for
    // sound mode t with choice c, "effect n" for sound effect n; a command the device does not
    // know is "unknown" with its bytes, a frame it cannot read "malformed". Queries are left out.
    QStringList takeSetters();
    // Waits until the program has taken over every parameter the device holds, so the scene
    // shows them: asks for polls, one after the other, until it has (false if ten did not do).
    bool waitInStep();
    // Turns knobs on the device itself, "key=value,key=value", and waits until the scene shows
    // them; false for a key the device does not have.
    bool setOnDevice(const QString &assignments);

    // A person at the mouse and keyboard.
    void click(QQuickItem *item, QPointF at = QPointF(-1, -1));
    void doubleClick(QQuickItem *item, QPointF at = QPointF(-1, -1));
    // Presses at `from`, moves in steps and releases at `to`.
    void drag(QQuickItem *item, QPointF from, QPointF to);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(const QString &text);
    // The item that has the keyboard focus, null when none.
    QQuickItem *focusItem() const;
    // Presses Tab until the keyboard focus is on `target` or inside it (false after `limit`
    // presses).
    bool tabTo(QQuickItem *target, int limit = 60);
    // Where an item's point lies in the view.
    QPoint toView(QQuickItem *item, QPointF at = QPointF(-1, -1)) const;

    // Evaluates a JavaScript expression in the scene's root context, e.g.
    // "MainLogic.getScalingRate()" or "Tran.getLanguage()".
    QVariant evaluate(const QString &expression) const;

    // Switches the language as the settings dialog does (Tran.reTrans): "English" or
    // "简体中文".
    void setLanguage(const QString &language);
    // Moves the window to the scale `scale` the way a screen does whose logical DPI changes to
    // 96 × scale (the screen itself keeps its DPI for every other window).
    void setScale(double scale);

    // What the screen shows now.
    QImage grab() const;
    // What is wrong with the layout below `layer` as drawn: texts cut short (elided), texts
    // painted over each other, texts and controls outside `bounds` (scene coordinates). Texts of
    // lines set closer than their line height may touch by less than `tolerance` pixels.
    static QStringList layoutProblems(QQuickItem *layer, const QRectF &bounds, qreal tolerance);
    // The texts shown below `layer` that are still in Chinese.
    static QStringList untranslated(QQuickItem *layer);
    // The length of the run of pixels of `colour` (each channel within 8) through `centre` of
    // `image`, across (horizontal) or down.
    static int runThrough(const QImage &image, QPoint centre, Qt::Orientation direction, QColor colour);
    // The warnings of our own QML documents caught: a TypeError on a null SoundCard, a missing
    // file, a broken binding.
    static QStringList sceneWarnings(const MessageCapture &capture);
    // Saves grab() as <artefact folder>/<name>.png and returns the path ("" on failure). The
    // folder is $VORLET_ARTEFACT_DIR, else "screenshots" in the current folder.
    QString saveScreenshot(const QString &name) const;

    // Waits until everything asked of `session` so far was done and its answers are back; false
    // when that takes longer than a device that answers ever takes.
    static bool drain(DeviceSession *session);
    // Asks `session` for polls, one after the other, until `done` holds (false if ten did not
    // do): a poll may bring an older report, so one is not always enough.
    static bool pollUntil(DeviceSession *session, const std::function<bool()> &done);

private:
    // The firmware of the attached device behind the tap, held still while `held` lives (the
    // program talks to the device from its session's thread); null when none is attached.
    FirmwareBase *firmware(const EmulatedBus::HeldFirmware &held) const;
    void settle() const;
    // Waits until everything asked of the device so far was done and answered.
    bool drain() const;

    EmulatedBus m_bus;
    std::unique_ptr<MainWidget> m_window;
    QQuickWidget *m_view = nullptr;
    TappedFirmware *m_tap = nullptr;
    QString m_model;
};

// The test program's main() for scene tests: the fonts resolve as in the program (the alias has
// to be in place before the application object exists), then the test object runs.
#define SCENE_TEST_MAIN(TestObject)                                                                                    \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        FontAlias::install();                                                                                          \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject test;                                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
