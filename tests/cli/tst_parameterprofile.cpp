#include "soundcard/ParameterProfile.h"
#include "support/SoundCardRig.h"

#include "emulator/FirmwareBase.h"
#include "support/FullDisk.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestParameterProfile : public QObject
{
    Q_OBJECT
private slots:
    // A device whose every settable key differs from the start-up state is saved; a fresh
    // device loaded from that profile reads back the same map.
    void saveThenLoadRestoresEveryKey_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QVariantMap>("changes");
        QTest::newRow("vx01") << "vx01" << QVariantMap{{"model", 3},           {"volumeMonitor", 1},
                                                       {"volumeRecording", 2}, {"volumeMusicVolume", 3},
                                                       {"volumeMic", 4},       {"reverbDepth", 5},
                                                       {"reverbVolume", 7},    {"dodgeThreshold", 9},
                                                       {"dodgeLevel", 10},     {"dodgeSpeed", 11},
                                                       {"toneColour", 12},     {"btnBluetooth", 1},
                                                       {"btnDenoise", 1},      {"btnInPower", 1},
                                                       {"btnDisVoice", 1},     {"btnDodge", 1}};
        QTest::newRow("vx02") << "vx02"
                              << QVariantMap{{"soundMode", 3},       {"modelDetail", 12},    {"volumeMonitor", 1},
                                             {"volumeRecording", 2}, {"volumeBluetooth", 3}, {"volumeBroadcast", 4},
                                             {"volumeBGM", 5},       {"reverbVolume", 7},    {"dodgeSpeed", 9},
                                             {"dodgeThreshold", 10}, {"dodgeLevel", 11},     {"disVoiceLevel", 1},
                                             {"denoiseLevel", 3},    {"btnInPower", 1},      {"btnDodge", 1},
                                             {"btnMixDry", 1}};
    }
    void saveThenLoadRestoresEveryKey()
    {
        QFETCH(QString, model);
        QFETCH(QVariantMap, changes);
        QTemporaryDir dir;
        const QString path = dir.filePath("profile.json");
        QString error;
        QVariantMap saved;
        {
            SoundCardRig source(model);
            for (auto it = changes.cbegin(); it != changes.cend(); ++it)
                QVERIFY(source.device<FirmwareBase>().setParameter(it.key(), it.value().toInt()));
            QVERIFY(source.card->getParaIsChange());
            saved = source.card->getAllPara();
            QVERIFY2(ParameterProfile::save(path, model, saved, &error), qPrintable(error));
        }
        SoundCardRig target(model);
        QVERIFY(target.card->getParaIsChange());
        QVERIFY(target.card->getAllPara() != saved);
        QVector<ParameterProfile::Step> steps;
        QVERIFY2(ParameterProfile::load(path, model, &steps, &error), qPrintable(error));
        for (const ParameterProfile::Step &step : steps)
            step(*target.card);
        target.card->getParaIsChange();
        QCOMPARE(target.card->getAllPara(), saved);
    }

    // A null content: no file at all; "<fifo>": a named pipe, which would block the read (as a
    // device would be read without end).
    void refusals_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "vx01" << QByteArray() << "cannot read profile";
        QTest::newRow("named pipe") << "vx01" << QByteArray("<fifo>") << ": not a regular file";
        QTest::newRow("over 1 MiB") << "vx02"
                                    << QByteArray("{\"devType\":\"vx02\",\"parameters\":{}}" + QByteArray(1 << 20, ' '))
                                    << ": larger than 1 MiB, no profile";
        QTest::newRow("not JSON") << "vx02" << QByteArray("volume=3") << "is no JSON";
        QTest::newRow("no parameters") << "vx02" << QByteArray("{\"devType\":\"vx02\"}")
                                       << "has no \"parameters\" object";
        QTest::newRow("devType unknown") << "vx02" << QByteArray("{\"devType\":\"vx03\",\"parameters\":{}}")
                                         << "\"devType\" must be one of vx01, vx02";
        QTest::newRow("other model") << "vx02" << QByteArray("{\"devType\":\"vx01\",\"parameters\":{}}")
                                     << "is for a vx01, the device is a vx02";
        QTest::newRow("unknown key") << "vx02" << QByteArray("{\"devType\":\"vx02\",\"parameters\":{\"volumeMic\":3}}")
                                     << "unknown key \"volumeMic\" for a vx02";
        QTest::newRow("volume too high") << "vx02"
                                         << QByteArray("{\"devType\":\"vx02\",\"parameters\":{\"volumeBGM\":17}}")
                                         << "\"volumeBGM\" = 17 is out of range 0..16";
        QTest::newRow("dodge zero") << "vx01" << QByteArray("{\"devType\":\"vx01\",\"parameters\":{\"dodgeSpeed\":0}}")
                                    << "\"dodgeSpeed\" = 0 is out of range 1..16";
        QTest::newRow("text value") << "vx01"
                                    << QByteArray("{\"devType\":\"vx01\",\"parameters\":{\"volumeMic\":\"3\"}}")
                                    << "\"volumeMic\" is not an integer";
        QTest::newRow("fraction") << "vx01" << QByteArray("{\"devType\":\"vx01\",\"parameters\":{\"volumeMic\":2.5}}")
                                  << "\"volumeMic\" is not an integer";
        QTest::newRow("vx01 model 5") << "vx01" << QByteArray("{\"devType\":\"vx01\",\"parameters\":{\"model\":5}}")
                                      << "\"model\" = 5 is none of";
        QTest::newRow("vx02 detail alone")
            << "vx02" << QByteArray("{\"devType\":\"vx02\",\"parameters\":{\"modelDetail\":2}}") << "go together";
        QTest::newRow("vx02 voice change 7")
            << "vx02" << QByteArray("{\"devType\":\"vx02\",\"parameters\":{\"soundMode\":2,\"modelDetail\":7}}")
            << "out of range for \"soundMode\" = 2";
    }
    void refusals()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.json");
        QFile file(path);
        if (content == "<fifo>") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (!content.isNull()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();
        }
        QVector<ParameterProfile::Step> steps{[](SoundCardBase &) {}};
        QString error;
        QVERIFY(!ParameterProfile::load(path, model, &steps, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // A save that fails leaves the old file as it was: what load would refuse is not written
    // (the all-zero map a read of another report gives), and a full disk names its cause.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QVariantMap>("parameters");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("message"); // after "not saved to PATH: " or "cannot write PATH: "
        QVariantMap zeros;
        for (const char *key : {"soundMode", "modelDetail", "volumeMonitor", "dodgeSpeed", "btnMixDry"})
            zeros.insert(key, 0);
        QTest::newRow("vx02 all zero") << "vx02" << zeros << false << "\"btnMixDry\" = 0 is out of range 1..2";
        QTest::newRow("full disk") << "vx01" << QVariantMap{{"volumeMic", 3}} << true
                                   << "No space left on device; the old file is kept";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, model);
        QFETCH(QVariantMap, parameters);
        QFETCH(bool, fullDisk);
        QFETCH(QString, message);
        FullDisk disk(fullDisk ? 64 * 1024 : 0);
        if (fullDisk && !disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString path = disk.filePath("p.json");
        const QByteArray old = ParameterProfile::toJson(model, {{"dodgeSpeed", 2}});
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QVERIFY(!fullDisk || disk.fill());
        QString error;
        QCOMPARE(ParameterProfile::check(model, parameters, &error), fullDisk);
        QVERIFY(!ParameterProfile::save(path, model, parameters, &error));
        QCOMPARE(error, QString((fullDisk ? "cannot write " : "not saved to ") + path + ": " + message));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList{"p.json"});
    }

    // Keys the device only reports are accepted and send nothing.
    void reportedOnlyKeysSendNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.json");
        QVERIFY(ParameterProfile::save(path, "vx01", {{"btnMute", 1}, {"toneColourHigh", 200}, {"toneColourLow", 0}},
                                       nullptr));
        QVector<ParameterProfile::Step> steps;
        QString error;
        QVERIFY2(ParameterProfile::load(path, "vx01", &steps, &error), qPrintable(error));
        QVERIFY(steps.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestParameterProfile)
#include "tst_parameterprofile.moc"
