// The main window: its sizes, the devices it takes over, and "restore last settings" end to end.
#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "device/DetectionDevice.h"
#include "device/PowerEventWatcher.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "record/RecordWidget.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SettingsRestorer.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/ScriptedHidBackend.h"
#include "support/TappedFirmware.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWidget>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
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

// "key=value ..." in key order: compared as text, a difference shows.
QString text(const QVariantMap &state)
{
    QStringList pairs;
    for (auto it = state.cbegin(); it != state.cend(); ++it)
        pairs << it.key() + QLatin1Char('=') + it.value().toString();
    return pairs.join(QLatin1Char(' '));
}

// The state the settings file holds for the device with this serial number.
QVariantMap remembered(const QString &serial)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Brindle", "vorlet");
    const QByteArray text = settings.value("LastSettings/" + serial).toString().toUtf8();
    return QJsonDocument::fromJson(text).object().value("parameters").toObject().toVariantMap();
}

// The device side, held still (the window talks to it from its session's thread): the tap that
// keeps the setters it receives, and the model's firmware behind it.
struct HeldDevice
{
    const EmulatedBus::HeldFirmware held;
    TappedFirmware &tap() const { return *static_cast<TappedFirmware *>(held.firmware); }
    FirmwareBase &firmware() const { return *static_cast<FirmwareBase *>(tap().inner()); }
    QVariantMap state() const
    {
        QVariantMap state;
        for (const QString &key : firmware().keys())
            state.insert(key, firmware().parameter(key));
        return state;
    }
};

// The window's map after the polls it asks for: `expected` once the device holds it.
QVariantMap polledMap(MainWidget &window, const QVariantMap &expected)
{
    SceneRig::pollUntil(window.devices()->session(), [&] { return window.soundCard()->getAllPara() == expected; });
    return window.soundCard()->getAllPara();
}

// The window has the device, and the restorer has done what it does on arrival.
bool takenOver(MainWidget &window)
{
    if (!QTest::qWaitFor([&] { return window.devices()->session() != nullptr; }, 3000))
        return false;
    // The serial number's answer, then what the restorer sent on it.
    return SceneRig::drain(window.devices()->session()) && SceneRig::drain(window.devices()->session());
}

#define COMPARE_STATE(actual, expected) QCOMPARE(text(actual), text(expected))
} // namespace

class TestMainWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settingsDir;

    // A user's changes through the card's setters, each away from the start-up state; returns
    // the device's state then.
    QVariantMap changeSettings(MainWidget &window, const EmulatedBus &bus, const QString &model)
    {
        SoundCardBase *card = window.soundCard();
        if (model == QLatin1String("vx01")) {
            card->setVolume(1, 3);
            card->setSoundMode(2, 2);
            card->setMicReverberation(11, 2);
            card->setSwitch(7, 1);
        } else {
            card->setVolume(2, 13);
            card->setSoundMode(2, 4);
            card->setDenoise(3);
            card->setSwitch(3, 1);
        }
        SceneRig::drain(window.devices()->session());
        const QVariantMap changedState = HeldDevice{bus.holdFirmware(model)}.state();
        [&] { COMPARE_STATE(polledMap(window, changedState), changedState); }();
        return changedState;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }

    void init() { QSettings(QSettings::NativeFormat, QSettings::UserScope, "Brindle", "vorlet").clear(); }

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
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        // Qt 6's scene widget keeps the release of these synthetic events to itself, so the
        // window never learns that the drag ended: the panel's own drag (used only where the
        // window manager cannot move the window) is checked on Qt 5.
        const QList<int> strips;
#else
        const QList<int> strips{-1000, -1, 0};
#endif
        for (int belowStrip : strips) {
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

    // The window's device is one unit: another one coming and going leaves it alone; when it
    // leaves, the other one present is taken (its own serial number, the setters reach it).
    void sessionFollowsItsUnit_data()
    {
        QTest::addColumn<QStringList>("models"); // unit 0 is taken, then unit 1 comes
        QTest::addColumn<int>("leaving");
        QTest::addColumn<QStringList>("told"); // isConnect
        QTest::newRow("vx01 comes and goes beside the vx02")
            << QStringList{"vx02", "vx01"} << 1 << QStringList{"1 vx02"};
        QTest::newRow("the vx02 leaves, the vx01 is taken")
            << QStringList{"vx02", "vx01"} << 0 << QStringList{"1 vx02", "0 vx02", "1 vx01"};
        QTest::newRow("the other vx02 leaves") << QStringList{"vx02", "vx02"} << 1 << QStringList{"1 vx02"};
        QTest::newRow("the vx02 in use leaves, the other is taken")
            << QStringList{"vx02", "vx02"} << 0 << QStringList{"1 vx02", "0 vx02", "1 vx02"};
    }
    void sessionFollowsItsUnit()
    {
        QFETCH(QStringList, models);
        QFETCH(int, leaving);
        EmulatedBus bus;
        QStringList units;
        const auto plug = [&](int i) {
            auto firmware = FirmwareFactory::makeUnit(models[i], "UNIT" + QByteArray::number(i));
            units << bus.plugUnit(models[i], std::make_unique<TappedFirmware>(std::move(firmware)));
        };
        plug(0);
        MainWidget window(&bus);
        QStringList told;
        connect(&window, &MainWidget::isConnect, this,
                [&](bool connected, const QString &type) { told << QString::number(connected) + ' ' + type; });
        QVERIFY(takenOver(window));
        plug(1);
        QVERIFY(bus.unplugUnit(units[leaving]));
        const int taken = 1 - leaving;
        QTEST(told, "told");
        QCOMPARE(window.devices()->devType(), models[taken]);
        QTRY_COMPARE(window.soundCard()->knownSNCode(), "UNIT" + QString::number(taken));
        window.soundCard()->setVolume(1, 9);
        QVERIFY(SceneRig::drain(window.devices()->session()));
        QVERIFY(HeldDevice{bus.holdUnitFirmware(units[taken])}.tap().setters().contains("02 01 09"));
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

    // The device loses its settings, replugged or while the machine sleeps; with the option on
    // they come back, also after a shutdown. Another unit of the model gets nothing of the first.
    void lostSettingsComeBack_data()
    {
        QTest::addColumn<QString>("model");
        // replug; sleep; late wake (a sleep after which the device answers only 2 s later);
        // shutdown (then replug)
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("switchedOnLater"); // after the changes, with nothing changed since
        QTest::addColumn<bool>("otherUnit");
        for (const char *model : {"vx01", "vx02"}) {
            QTest::addRow("%s replug", model) << model << "replug" << true << false << false;
            QTest::addRow("%s sleep", model) << model << "sleep" << true << false << false;
        }
        const char *vx02 = "vx02";
        QTest::newRow("vx02 shutdown") << vx02 << "shutdown" << true << false << false;
        QTest::newRow("vx02 sleep, answers 2 s after waking") << vx02 << "late wake" << true << false << false;
        QTest::newRow("vx02 replug, off") << vx02 << "replug" << false << false << false;
        QTest::newRow("vx02 sleep, off") << vx02 << "sleep" << false << false << false;
        QTest::newRow("vx02 replug, switched on later") << vx02 << "replug" << true << true << false;
        QTest::newRow("vx02 replug, another unit") << vx02 << "replug" << true << false << true;
    }

    void lostSettingsComeBack()
    {
        QFETCH(QString, model);
        QFETCH(QString, event);
        const bool sleep = event == "sleep" || event == "late wake";
        QFETCH(bool, enabled);
        QFETCH(bool, switchedOnLater);
        QFETCH(bool, otherUnit);
        EmulatedBus bus;
        QVERIFY(bus.plug(model, std::make_unique<TappedFirmware>(FirmwareFactory::make(model))));
        auto window = std::make_unique<MainWidget>(&bus);
        QVERIFY(takenOver(*window));
        window->settingsRestorer()->setEnabled(enabled && !switchedOnLater);
        const QVariantMap startUp = HeldDevice{bus.holdFirmware(model)}.state();
        const QVariantMap changed = changeSettings(*window, bus, model);
        QVERIFY(changed != startUp);
        window->settingsRestorer()->setEnabled(enabled);
        const QString serial = window->settingsRestorer()->serial();
        const int sentBefore = sleep ? HeldDevice{bus.holdFirmware(model)}.tap().setters().size() : 0;
        if (sleep) {
            PowerEventWatcher *power = window->devices()->detector()->powerEvents();
            QVERIFY(power);
            power->onPrepareForSleep(true);
            // Written before the machine sleeps, whatever the second.
            if (enabled)
                COMPARE_STATE(remembered(serial), changed);
            for (auto it = startUp.cbegin(); it != startUp.cend(); ++it)
                HeldDevice{bus.holdFirmware(model)}.firmware().setParameter(it.key(), it.value().toInt());
            COMPARE_STATE(polledMap(*window, startUp), startUp);
            if (event == "late wake") {
                QVERIFY(bus.setFailure(model, EmulatedFailure::Silent));
                QTimer::singleShot(2000, [&] { bus.setFailure(model, EmulatedFailure::None); });
            }
            power->onPrepareForSleep(false);
            // The settings are sent once the device answers, and read back.
            QTRY_VERIFY_WITH_TIMEOUT(!window->settingsRestorer()->isRestoring(), 10000);
        } else {
            // Written at most once a second, not at every change; the end of the session or the
            // unplugging writes it at once.
            QVERIFY(!enabled || remembered(serial) != changed);
            if (event == "shutdown") {
                window->devices()->detector()->powerEvents()->onPrepareForShutdown(true);
                COMPARE_STATE(remembered(serial), changed);
            }
            QVERIFY(bus.unplug(model));
            if (otherUnit) {
                // What it has remembered is damaged: logged, nothing sent.
                QSettings(QSettings::NativeFormat, QSettings::UserScope, "Brindle", "vorlet")
                    .setValue("LastSettings/VS20261205999", "{\"devType\":\"vx02\",\"parameters\":{\"volumeBGM\":99}}");
                QTest::ignoreMessage(QtWarningMsg,
                                     QRegularExpression("remembered settings of VS20261205999: "
                                                        "\"volumeBGM\" = 99 is out of range"));
            }
            const QByteArray serial = otherUnit ? "VS20261205999" : "";
            QVERIFY(bus.plug(model, std::make_unique<TappedFirmware>(FirmwareFactory::makeUnit(model, serial))));
            COMPARE_STATE(HeldDevice{bus.holdFirmware(model)}.state(), startUp);
            QVERIFY(takenOver(*window));
        }
        const bool restores = enabled && !otherUnit;
        QTRY_VERIFY(!window->settingsRestorer()->isRestoring());
        QCOMPARE(HeldDevice{bus.holdFirmware(model)}.tap().setters().size() > sentBefore, restores);
        const QVariantMap back = restores ? changed : startUp;
        COMPARE_STATE(HeldDevice{bus.holdFirmware(model)}.state(), back);
        if (!enabled)
            return;
        // The scene's map follows with the polls.
        COMPARE_STATE(polledMap(*window, back), back);
        const QString now = window->settingsRestorer()->serial();
        QCOMPARE(now == serial, !otherUnit);
        // A change is written within the second after it, and at once when the program ends.
        QVariantMap later = back;
        for (int value : {5, 6}) {
            window->soundCard()->setVolume(1, value);
            later["volumeMonitor"] = value;
            COMPARE_STATE(polledMap(*window, later), later);
            if (value == 5)
                QTRY_COMPARE_WITH_TIMEOUT(remembered(now), later, 3000);
        }
        window.reset();
        COMPARE_STATE(remembered(now), later);
        COMPARE_STATE(remembered(serial), otherUnit ? changed : later);
    }
};

QTEST_MAIN(TestMainWidget)
#include "tst_mainwidget.moc"
