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

// The real main window with its QML scene on an emulated bus whose device's firmware is tapped,
// driven by mouse and key events. Items are found by objectName anywhere in the scene, popups
// and loaded pages included; positions are in the item's own coordinates, its centre by default.
class SceneRig
{
public:
    // Shows the window with a device of `model` ("vx01", "vx02", none when empty) attached
    // before start, once it has taken the device over, with the keyboard focus on the scene.
    explicit SceneRig(const QString &model = QString());
    ~SceneRig();

    SceneRig(const SceneRig &) = delete;
    SceneRig &operator=(const SceneRig &) = delete;

    MainWidget *window() const { return m_window.get(); }
    QQuickWidget *view() const { return m_view; }
    QQuickItem *root() const;

    // The first object named `objectName` (null if none); items() the visible ones.
    QObject *find(const QString &objectName) const;
    QQuickItem *item(const QString &objectName) const;
    QList<QQuickItem *> items(const QString &objectName) const;
    // The device page on screen and the document it was loaded from ("" while none).
    QQuickItem *page() const;
    QString pageSource() const;
    QString text(const QString &objectName) const;
    // `top` and everything below it, depth first, each object once: an item's visual children in
    // the scene's order, then its other children (a timer, a popup). `visit` answers whether to
    // go below the object it was given.
    static void walkObjects(QObject *top, const std::function<bool(QObject *)> &visit);
    // `top` and the items below it whose class inherits `className`, in the scene's order.
    static QList<QQuickItem *> itemsOf(QQuickItem *top, const char *className);

    // plug() and unplug() wait until the window has taken the change over (false if not). Like
    // every action below, they return once what the scene asked of the device was answered.
    bool plug(const QString &model);
    bool unplug(const QString &model);
    bool setFailure(EmulatedFailure failure);
    // The setters the device received since the last call, as its firmware reads them:
    // "volumeRecording=12", "mode t c" (sound mode t, choice c), "effect n", "unknown <bytes>",
    // "malformed". Queries are left out.
    QStringList takeSetters();
    // Polls until the program holds every parameter the device holds (false if ten polls did not
    // do).
    bool waitInStep();
    // Turns knobs on the device itself, "key=value,key=value", then waitInStep(); false for a
    // key the device does not have.
    bool setOnDevice(const QString &assignments);

    void click(QQuickItem *item, QPointF at = QPointF(-1, -1));
    void doubleClick(QQuickItem *item, QPointF at = QPointF(-1, -1));
    void drag(QQuickItem *item, QPointF from, QPointF to);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(const QString &text);
    QQuickItem *focusItem() const;
    // Presses Tab until the focus is on `target` or inside it (false after `limit` presses).
    bool tabTo(QQuickItem *target, int limit = 60);
    QPoint toView(QQuickItem *item, QPointF at = QPointF(-1, -1)) const;

    // A JavaScript expression in the scene's root context, e.g. "Tran.getLanguage()".
    QVariant evaluate(const QString &expression) const;
    // As the settings dialog does (Tran.reTrans): "English" or "简体中文".
    void setLanguage(const QString &language);
    // As a screen whose logical DPI changes to 96 × scale.
    void setScale(double scale);

    QImage grab() const;
    // Below `layer` as drawn: texts cut short, texts painted over each other (by more than
    // `tolerance` pixels), texts and controls outside `bounds` (scene coordinates).
    static QStringList layoutProblems(QQuickItem *layer, const QRectF &bounds, qreal tolerance);
    // The texts shown below `layer` that are still in Chinese.
    static QStringList untranslated(QQuickItem *layer);
    // The length of the run of pixels of `colour` (each channel within 8) through `centre`.
    static int runThrough(const QImage &image, QPoint centre, Qt::Orientation direction, QColor colour);
    // The warnings caught that name our own QML documents.
    static QStringList sceneWarnings(const MessageCapture &capture);
    // Saves grab() as <name>.png in $VORLET_ARTEFACT_DIR, else ./screenshots; the path or "".
    QString saveScreenshot(const QString &name) const;

    // Waits until everything asked of `session` so far was answered (false if that takes
    // longer than a device that answers ever takes).
    static bool drain(DeviceSession *session);
    // Asks `session` for polls, one after the other, until `done` holds (false if ten did not
    // do): a poll may bring an older report, so one is not always enough.
    static bool pollUntil(DeviceSession *session, const std::function<bool()> &done);

private:
    // The firmware behind the tap, held still while `held` lives; null when none is attached.
    FirmwareBase *firmware(const EmulatedBus::HeldFirmware &held) const;
    void settle() const;
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
