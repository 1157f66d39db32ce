#include "app/HidBackendFactory.h"
#include "device/HidrawBackend.h"
#include "emulator/EmulatedBus.h"
#include "emulator/RecordingFirmware.h"

#include <QtTest>

class TestHidBackendFactory : public QObject
{
    Q_OBJECT
private slots:
    void init() { qunsetenv("VORLET_EMULATE"); }
    void cleanup() { qunsetenv("VORLET_EMULATE"); }

    void backendFromArgumentsAndEnvironment_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("model"); // empty: the machine's devices
        QTest::newRow("none") << QStringList{"vorlet"} << QByteArray() << "";
        QTest::newRow("separate") << QStringList{"vorlet", "--emulate", "vx01"} << QByteArray() << "vx01";
        QTest::newRow("joined") << QStringList{"vorlet", "--emulate=vx02"} << QByteArray() << "vx02";
        QTest::newRow("among others") << QStringList{"tool", "-v", "--emulate", "vx02", "file"} << QByteArray()
                                      << "vx02";
        QTest::newRow("missing value") << QStringList{"vorlet", "--emulate"} << QByteArray() << "";
        QTest::newRow("unknown model") << QStringList{"vorlet", "--emulate", "vx9"} << QByteArray() << "";
        QTest::newRow("environment") << QStringList{"vorlet"} << QByteArray("vx01") << "vx01";
        QTest::newRow("arguments win") << QStringList{"vorlet", "--emulate", "vx02"} << QByteArray("vx01") << "vx02";
        QTest::newRow("unknown in environment") << QStringList{"vorlet"} << QByteArray("tablet") << "";
        QTest::newRow("upper case in environment") << QStringList{"vorlet"} << QByteArray("VX01") << "vx01";
    }
    void backendFromArgumentsAndEnvironment()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, environment);
        QFETCH(QString, model);
        if (!environment.isEmpty())
            qputenv("VORLET_EMULATE", environment);
        const QByteArray unknown = environment == "tablet" ? "tablet" : arguments.contains("vx9") ? "vx9" : "";
        if (!unknown.isEmpty()) // by create()
            QTest::ignoreMessage(
                QtWarningMsg,
                ("unknown model '" + unknown + "', expected vx01 or vx02 - using the real devices").constData());
        QString strict;
        QString error;
        QCOMPARE(HidBackendFactory::emulatedModel(arguments, &strict, &error), unknown.isEmpty());
        QCOMPARE(strict, model);
        QCOMPARE(error,
                 unknown.isEmpty() ? QString() : QString("unknown model '" + unknown + "', expected vx01 or vx02"));

        QStringList asked;
        RecordingFirmware *made = nullptr;
        std::unique_ptr<HidBackend> backend = HidBackendFactory::create(arguments, [&](const QString &name) {
            asked << name;
            auto firmware = std::make_unique<RecordingFirmware>(65);
            made = firmware.get();
            return firmware;
        });
        QCOMPARE(asked, model.isEmpty() ? QStringList() : QStringList{model});
        auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
        if (model.isEmpty()) {
            QVERIFY(dynamic_cast<HidrawBackend *>(backend.get()));
            return;
        }
        QVERIFY(bus);
        for (const QString &name : EmulatedBus::models())
            QCOMPARE(bus->isPlugged(name), name == model);
        QCOMPARE(bus->firmware(model), static_cast<EmulatedFirmware *>(made));
    }

    void recordingFirmwareWithoutMaker()
    {
        std::unique_ptr<HidBackend> backend = HidBackendFactory::create({"vorlet", "--emulate", "vx02"});
        auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
        QVERIFY(bus && dynamic_cast<RecordingFirmware *>(bus->firmware("vx02")));
    }
};

QTEST_GUILESS_MAIN(TestHidBackendFactory)
#include "tst_hidbackendfactory.moc"
