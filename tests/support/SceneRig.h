#pragma once

#include "app/FontAlias.h"
#include "emulator/EmulatedBus.h"

#include <QImage>
#include <QPointF>
#include <QQuickWidget>
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
class TappedFirmware;

// The real main window on an emulated bus with a tapped firmware, driven by mouse and keys. Items
// are found by objectName; positions are in the item's own coordinates, its centre by default.
class SceneRig
{
public:
    // Shows the window, once it has taken the device of `model` (none when empty) over.
    explicit SceneRig(const QString &model = QString());
    ~SceneRig();

    MainWidget *window() const { return m_window.get(); }
    QQuickWidget *view() const { return m_view; }
    QQuickItem *root() const { return m_view ? m_view->rootObject() : nullptr; }

    // The first object named `objectName` (null if none); items() the visible ones.
    QObject *find(const QString &objectName) const;
    QQuickItem *item(const QString &objectName) const;
    QList<QQuickItem *> items(const QString &objectName) const;
    // The device page on screen and the document it was loaded from ("" while none).
    QQuickItem *page() const;
    QString pageSource() const;
    QString text(const QString &objectName) const;
    // `top` and the items below it whose class inherits `className`, in the scene's order.
    static QList<QQuickItem *> itemsOf(QQuickItem *top, const char *className);

    // Each action returns once the window took it over and the device answered what it asked.
    bool plug(const QString &model);
    bool unplug(const QString &model);
    bool setFailure(EmulatedFailure failure) { return m_bus.setFailure(m_model, failure); }
    // The setters the device received since the last call, as its firmware reads them:
    // "volumeRecording=12", "mode t c" (sound mode t, choice c), "effect n", "unknown <bytes>",
    // "malformed". Queries are left out.
    QStringList takeSetters();
    // Polls until the program holds every parameter the device holds (false after ten polls).
    bool waitInStep();
    // Turns knobs on the device itself, "key=value,key=value", then waitInStep().
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

    QImage grab() const { return m_view ? m_view->grabFramebuffer() : QImage(); }
    // Below `layer`: texts cut short or painted over each other (by more than `tolerance`),
    // texts and controls outside `bounds` (scene coordinates).
    static QStringList layoutProblems(QQuickItem *layer, const QRectF &bounds, qreal tolerance);
    // The texts shown below `layer` that are still in Chinese.
    static QStringList untranslated(QQuickItem *layer);
    // The warnings caught that name our own QML documents.
    static QStringList sceneWarnings(const MessageCapture &capture);
    // Saves grab() as <name>.png in $VORLET_ARTEFACT_DIR, else ./screenshots; the path or "".
    QString saveScreenshot(const QString &name) const;

    // Waits until everything asked of `session` so far was answered (false on a timeout).
    static bool drain(DeviceSession *session);
    // Polls `session` until `done` holds (false after ten): a poll may bring an older report.
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

// main() for scene tests: the font alias is installed before the application, as in the program.
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
