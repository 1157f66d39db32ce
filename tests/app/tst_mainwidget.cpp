#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareFactory.h"
#include "record/RecordWidget.h"
#include "soundcard/DeviceSession.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/ScriptedHidBackend.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

namespace {
QObject *publishedCard(MainWidget &window)
{
    return window.sceneView()->rootContext()->contextProperty(QStringLiteral("SoundCard")).value<QObject *>();
}

// A real mouse event on the scene view at `pos` (in the view), with `global` where the mouse is.
void sendMouse(MainWidget &window, QEvent::Type type, QPoint pos, QPoint global)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(window.sceneView(), &event);
}
} // namespace

class TestMainWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Runs on displays of forced DPI (see CMakeLists.txt); rows for other scales skip.
    void sizesFollowTheScreen_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("scene");
        QTest::addColumn<int>("unfoldedHeight");
        QTest::newRow("scale 1") << 1.0 << QSize(802, 482) << QSize(798, 478) << 632;
        QTest::newRow("scale 1.5") << 1.5 << QSize(1203, 723) << QSize(1199, 719) << 948;
    }

    void sizesFollowTheScreen()
    {
        QFETCH(double, scale);
        QFETCH(QSize, window);
        QFETCH(QSize, scene);
        QFETCH(int, unfoldedHeight);
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (MainWidget::sceneScale(screen->logicalDotsPerInch(), screen->devicePixelRatio()) != scale)
            QSKIP("the display has another scale");
        EmulatedBus bus;
        MainWidget main(&bus);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(main.getScalingRate(), scale);
        QCOMPARE(main.size(), window);
        QCOMPARE(main.sceneView()->geometry(), QRect(QPoint(1, 1), scene));
        QCOMPARE(main.sceneView()->rootObject()->size(), QSizeF(scene));
        QCOMPARE(main.recordWidget()->geometry(),
                 QRect(1, window.height(), window.width(), unfoldedHeight - window.height()));
        // Unfolding it (the window grows to its bottom) is the title bar's business: tst_mainview.
        QVERIFY(!main.recordWidget()->isVisible());

        // Dragged by the strip at the top (trunc(25 s) high) only, and not after the release.
        QSignalSpy rescaled(&main, &MainWidget::screenChanged);
        for (int belowStrip : {-1000, -1, 0}) {
            const bool moves = belowStrip < 0;
            // The view sits at (1, 1) in the window.
            const QPoint inView = QPoint(300, qMax(0, int(25 * scale) + belowStrip)) - QPoint(1, 1);
            const QPoint start = main.pos();
            const QPoint global = main.sceneView()->mapToGlobal(inView);
            sendMouse(main, QEvent::MouseButtonPress, inView, global);
            sendMouse(main, QEvent::MouseMove, inView, global + QPoint(40, 30));
            QCOMPARE(main.pos(), moves ? start + QPoint(40, 30) : start);
            sendMouse(main, QEvent::MouseButtonRelease, inView, global + QPoint(40, 30));
            sendMouse(main, QEvent::MouseMove, inView, global + QPoint(90, 90));
            QCOMPARE(main.pos(), moves ? start + QPoint(40, 30) : start);
        }
        QCOMPARE(rescaled.count(), 0);
        QCOMPARE(main.getScalingRate(), scale);
    }

    // The design's scale from the screen's logical DPI, and from what Qt scales by itself.
    void sceneScale_data()
    {
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<qreal>("devicePixelRatio");
        QTest::addColumn<double>("scale");
        QTest::newRow("72 dpi") << 72.0 << 1.0 << 0.75;
        QTest::newRow("QT_SCALE_FACTOR=2 on 288 dpi") << 288.0 << 2.0 << 1.5;
        QTest::newRow("Qt's rounded 1.5 (dpi 72 left)") << 72.0 << 2.0 << 1.0;
    }

    void sceneScale()
    {
        QFETCH(qreal, dpi);
        QFETCH(qreal, devicePixelRatio);
        QFETCH(double, scale);
        QCOMPARE(MainWidget::sceneScale(dpi, devicePixelRatio), scale);
    }

    // A frameless, see-through host whose scene is there before the device; each arrival and
    // removal is told once the card is published (or withdrawn).
    void devicesArriveAndLeave()
    {
        EmulatedBus bus;
        QVERIFY(bus.plug(QStringLiteral("vx02"), FirmwareFactory::make(QStringLiteral("vx02"))));
        MainWidget window(&bus);
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!window.soundCard());
        QVERIFY(!publishedCard(window));
        QVERIFY(window.sceneView()->rootObject());
        QStringList events;
        connect(&window, &MainWidget::isConnect, this, [&](bool connected, const QString &type) {
            events << QStringLiteral("isConnect %1 %2 card=%3 polling=%4 input=%5")
                          .arg(connected)
                          .arg(type)
                          .arg(publishedCard(window) ? "set" : "null")
                          .arg(window.devices()->isPolling())
                          .arg(window.recordWidget()->inputDevice());
        });
        QTRY_VERIFY(window.soundCard());
        QCOMPARE(publishedCard(window), window.soundCard());
        QCOMPARE(window.devices()->pollInterval(), 500);

        QPointer<SoundCardBase> first = window.soundCard();
        QVERIFY(bus.unplug(QStringLiteral("vx02")));
        QTRY_VERIFY(first.isNull());
        QVERIFY(bus.plug(QStringLiteral("vx01"), FirmwareFactory::make(QStringLiteral("vx01"))));
        QCOMPARE(events,
                 QStringList({
                     QStringLiteral("isConnect 1 vx02 card=set polling=1 input=麦克风 (Vorlet Stage 20)"),
                     QStringLiteral("isConnect 0 vx02 card=null polling=0 input=Default"),
                     QStringLiteral("isConnect 1 vx01 card=set polling=1 input=麦克风(Vorlet Cantor 10)"),
                 }));
    }

    void arrivalWhileACardExistsReopensIt()
    {
        const QString path = QStringLiteral("/dev/hidraw7#VID_1234&PID_4321");
        ScriptedHidBackend backend;
        backend.collections << ScriptedHidBackend::collection(path, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
        MainWidget window(&backend);
        QTRY_VERIFY(window.soundCard());
        auto *session = window.devices()->session();
        QVERIFY(SceneRig::drain(session));
        const int opensBefore = backend.opened.size();
        QSignalSpy opened(session, &DeviceSession::opened);
        QSignalSpy told(&window, &MainWidget::isConnect);
        // Detection reports a model once; a second report (as after a failed first open) reopens.
        window.devices()->onDevArrivalOrRemove(QStringLiteral("vx02"), true);
        QCOMPARE(window.devices()->session(), session);
        QVERIFY(opened.wait());
        QCOMPARE(backend.opened.size(), opensBefore + 1);
        QCOMPARE(backend.opened.last(), path);
        QCOMPARE(told.count(), 1);
    }

    void deviceThatCannotBeOpenedIsStillAnnounced()
    {
        ScriptedHidBackend backend;
        MainWidget window(&backend);
        QVERIFY(!window.soundCard());
        QVERIFY(!window.devices()->isPolling());

        QSignalSpy told(&window, &MainWidget::isConnect);
        MessageCapture log;
        // Detection sees the interface, but no collection of the device can be opened.
        backend.announceArrival(QStringLiteral("/dev/hidraw7#VID_1234&PID_4321"));
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.first(), (QVariantList{true, "vx02"}));
        QVERIFY(window.soundCard());
        QVERIFY(window.devices()->isPolling());
        QSignalSpy opened(window.devices()->session(), &DeviceSession::opened);
        QVERIFY(opened.wait());
        QCOMPARE(opened.first(), QVariantList{false});
        QVERIFY(log.lines().contains(QStringLiteral("open dev error")));
    }

    void sceneLoadErrorsReachTheLog()
    {
        EmulatedBus bus;
        MainWidget window(&bus);
        MessageCapture log;
        window.sceneView()->setSource(QUrl(QStringLiteral("qrc:/Qml/missing.qml")));
        QCOMPARE(window.sceneView()->status(), QQuickWidget::Error);
        QVERIFY2(!log.lines().filter(QRegularExpression("scene load error:.*missing.qml")).isEmpty(),
                 qPrintable(log.lines().join('\n')));
    }
};

QTEST_MAIN(TestMainWidget)
#include "tst_mainwidget.moc"
