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
    void emulatedModel_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("model");
        QTest::newRow("none") << QStringList{"vorlet"} << QByteArray() << "";
        QTest::newRow("separate") << QStringList{"vorlet", "--emulate", "vx01"} << QByteArray() << "vx01";
        QTest::newRow("joined") << QStringList{"vorlet", "--emulate=vx02"} << QByteArray() << "vx02";
        QTest::newRow("upper case") << QStringList{"vorlet", "--emulate", "VX02"} << QByteArray() << "vx02";
        QTest::newRow("among others") << QStringList{"tool", "-v", "--emulate", "vx02", "file"} << QByteArray() << "vx02";
        QTest::newRow("missing value") << QStringList{"vorlet", "--emulate"} << QByteArray() << "";
        QTest::newRow("environment") << QStringList{"vorlet"} << QByteArray("vx01") << "vx01";
        QTest::newRow("arguments win") << QStringList{"vorlet", "--emulate", "vx02"} << QByteArray("vx01") << "vx02";
        QTest::newRow("unknown in environment") << QStringList{"vorlet"} << QByteArray("tablet") << "";
    }
    void emulatedModel()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, environment);
        if (!environment.isEmpty())
            qputenv("VORLET_EMULATE", environment);
        if (environment == "tablet")
            QTest::ignoreMessage(QtWarningMsg, "unknown model to emulate: tablet - using the real devices");
        QTEST(HidBackendFactory::emulatedModel(arguments), "model");
    }

    void realDevicesByDefault()
    {
        QVERIFY(dynamic_cast<HidrawBackend *>(HidBackendFactory::create({"vorlet"}).get()));
        QTest::ignoreMessage(QtWarningMsg, "unknown model to emulate: vx9 - using the real devices");
        QVERIFY(dynamic_cast<HidrawBackend *>(HidBackendFactory::create({"vorlet", "--emulate", "vx9"}).get()));
    }

    void emulatedBusHasTheModelPlugged()
    {
        std::unique_ptr<HidBackend> backend = HidBackendFactory::create({"vorlet", "--emulate", "vx02"});
        auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
        QVERIFY(bus);
        QVERIFY(bus->isPlugged("vx02"));
        QVERIFY(!bus->isPlugged("vx01"));
        QVERIFY(dynamic_cast<RecordingFirmware *>(bus->firmware("vx02")));
        DeviceHID device(backend.get(), 0x1234, 0x4321, 0xFF00, 0x55AA);
        QVERIFY(device.open());
    }

    void firmwareMakerIsAskedPerModel()
    {
        QStringList asked;
        RecordingFirmware *made = nullptr;
        qputenv("VORLET_EMULATE", "vx01");
        std::unique_ptr<HidBackend> backend = HidBackendFactory::create({"vorlet"}, [&](const QString &model) {
            asked << model;
            auto firmware = std::make_unique<RecordingFirmware>(65);
            made = firmware.get();
            return firmware;
        });
        QCOMPARE(asked, QStringList{"vx01"});
        auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
        QVERIFY(bus);
        QCOMPARE(bus->firmware("vx01"), static_cast<EmulatedFirmware *>(made));
    }
};

QTEST_GUILESS_MAIN(TestHidBackendFactory)
#include "tst_hidbackendfactory.moc"
