// "Restore last settings" end to end: the real main window on an emulated bus.
#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "device/DetectionDevice.h"
#include "device/PowerEventWatcher.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SettingsRestorer.h"
#include "support/SceneRig.h"
#include "support/TappedFirmware.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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

// Another vx02: the same firmware under its own serial number.
class SecondUnit : public TappedFirmware
{
public:
    SecondUnit()
        : TappedFirmware(FirmwareFactory::make(QStringLiteral("vx02")))
    {
    }
    QList<QByteArray> receive(const QByteArray &report) override
    {
        QList<QByteArray> answers = TappedFirmware::receive(report);
        for (QByteArray &answer : answers)
            answer.replace("VS20261205007", "VS20261205999");
        return answers;
    }
    QByteArray inputReport() override
    {
        return TappedFirmware::inputReport().replace("VS20261205007", "VS20261205999");
    }
};

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

class TestRestoreLastSettings : public QObject
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

    // The device loses its settings, replugged or while the machine sleeps; with the option on
    // they come back. Another unit of the model gets nothing of the first.
    void lostSettingsComeBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("sleep"); // else unplugged
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("switchedOnLater"); // after the changes, with nothing changed since
        QTest::addColumn<bool>("otherUnit");
        for (const char *model : {"vx01", "vx02"}) {
            QTest::addRow("%s replug", model) << model << false << true << false << false;
            QTest::addRow("%s sleep", model) << model << true << true << false << false;
        }
        QTest::newRow("vx02 replug, off") << "vx02" << false << false << false << false;
        QTest::newRow("vx02 sleep, off") << "vx02" << true << false << false << false;
        QTest::newRow("vx02 replug, switched on later") << "vx02" << false << true << true << false;
        QTest::newRow("vx02 replug, another unit") << "vx02" << false << true << false << true;
    }

    void lostSettingsComeBack()
    {
        QFETCH(QString, model);
        QFETCH(bool, sleep);
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
            power->onPrepareForSleep(false);
            QVERIFY(SceneRig::drain(window->devices()->session()));
        } else {
            // Written at most once a second, not at every change; the unplugging writes it at once.
            QVERIFY(!enabled || remembered(serial) != changed);
            QVERIFY(bus.unplug(model));
            if (otherUnit) {
                // What it has remembered is damaged: logged, nothing sent.
                QSettings(QSettings::NativeFormat, QSettings::UserScope, "Brindle", "vorlet")
                    .setValue("LastSettings/VS20261205999", "{\"devType\":\"vx02\",\"parameters\":{\"volumeBGM\":99}}");
                QTest::ignoreMessage(QtWarningMsg,
                                     QRegularExpression("remembered settings of VS20261205999: "
                                                        "\"volumeBGM\" = 99 is out of range"));
            }
            QVERIFY(bus.plug(model,
                             otherUnit ? std::make_unique<SecondUnit>()
                                       : std::make_unique<TappedFirmware>(FirmwareFactory::make(model))));
            COMPARE_STATE(HeldDevice{bus.holdFirmware(model)}.state(), startUp);
            QVERIFY(takenOver(*window));
        }
        const bool restores = enabled && !otherUnit;
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

QTEST_MAIN(TestRestoreLastSettings)
#include "tst_restorelastsettings.moc"
