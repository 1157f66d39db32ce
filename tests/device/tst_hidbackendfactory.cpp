#include "device/DeviceHID.h"
#include "device/EmulatedBus.h"
#include "device/HidBackendFactory.h"
#include "device/HidrawBackend.h"
#include "device/RecordingFirmware.h"

#include <QtTest>

class TestHidBackendFactory : public QObject
{
    Q_OBJECT
private slots:
    void init() { qunsetenv("VORLET_EMULATE"); }
    void cleanup() { qunsetenv("VORLET_EMULATE"); }
    void modelFromArguments_data();
    void modelFromArguments();
    void environmentWhenArgumentsNameNone();
    void argumentsWinOverEnvironment();
    void realDevicesByDefault();
    void emulatedBusHasTheModelPlugged();
    void firmwareMakerIsAskedPerModel();
};

void TestHidBackendFactory::modelFromArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("model");
    QTest::newRow("none") << QStringList{"vorlet"} << "";
    QTest::newRow("separate") << QStringList{"vorlet", "--emulate", "vx01"} << "vx01";
    QTest::newRow("joined") << QStringList{"vorlet", "--emulate=vx02"} << "vx02";
    QTest::newRow("upper case") << QStringList{"vorlet", "--emulate", "VX02"} << "vx02";
    QTest::newRow("among others") << QStringList{"tool", "-v", "--emulate", "vx02", "file"} << "vx02";
    QTest::newRow("missing value") << QStringList{"vorlet", "--emulate"} << "";
}

void TestHidBackendFactory::modelFromArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, model);
    QCOMPARE(HidBackendFactory::emulatedModel(arguments), model);
}

void TestHidBackendFactory::environmentWhenArgumentsNameNone()
{
    qputenv("VORLET_EMULATE", "vx01");
    QCOMPARE(HidBackendFactory::emulatedModel({"vorlet"}), QStringLiteral("vx01"));
    qputenv("VORLET_EMULATE", "tablet");
    QTest::ignoreMessage(QtWarningMsg, "unknown model to emulate: tablet - using the real devices");
    QCOMPARE(HidBackendFactory::emulatedModel({"vorlet"}), QString());
}

void TestHidBackendFactory::argumentsWinOverEnvironment()
{
    qputenv("VORLET_EMULATE", "vx01");
    QCOMPARE(HidBackendFactory::emulatedModel({"vorlet", "--emulate", "vx02"}), QStringLiteral("vx02"));
}

void TestHidBackendFactory::realDevicesByDefault()
{
    std::unique_ptr<HidBackend> backend = HidBackendFactory::create({"vorlet"});
    QVERIFY(dynamic_cast<HidrawBackend *>(backend.get()));
    QTest::ignoreMessage(QtWarningMsg, "unknown model to emulate: vx9 - using the real devices");
    backend = HidBackendFactory::create({"vorlet", "--emulate", "vx9"});
    QVERIFY(dynamic_cast<HidrawBackend *>(backend.get()));
}

void TestHidBackendFactory::emulatedBusHasTheModelPlugged()
{
    std::unique_ptr<HidBackend> backend = HidBackendFactory::create({"vorlet", "--emulate", "vx02"});
    auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
    QVERIFY(bus);
    QVERIFY(bus->isPlugged(QStringLiteral("vx02")));
    QVERIFY(!bus->isPlugged(QStringLiteral("vx01")));
    QVERIFY(dynamic_cast<RecordingFirmware *>(bus->firmware(QStringLiteral("vx02"))));
    DeviceHID device(backend.get(), 0x1234, 0x4321, 0xFF00, 0x55AA);
    QVERIFY(device.open());
}

void TestHidBackendFactory::firmwareMakerIsAskedPerModel()
{
    QStringList asked;
    RecordingFirmware *made = nullptr;
    qputenv("VORLET_EMULATE", "vx01");
    std::unique_ptr<HidBackend> backend =
        HidBackendFactory::create({"vorlet"}, [&](const QString &model) {
            asked << model;
            auto firmware = std::make_unique<RecordingFirmware>(65);
            made = firmware.get();
            return firmware;
        });
    QCOMPARE(asked, QStringList{"vx01"});
    auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
    QVERIFY(bus);
    QCOMPARE(bus->firmware(QStringLiteral("vx01")), static_cast<EmulatedFirmware *>(made));
}

QTEST_GUILESS_MAIN(TestHidBackendFactory)
#include "tst_hidbackendfactory.moc"
