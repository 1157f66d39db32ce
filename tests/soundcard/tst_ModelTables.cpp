#include "soundcard/ParameterSnapshot.h"
#include "soundcard/ReportText.h"
#include "soundcard/SoundCardProfile.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx01Profile.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/SoundCardVx02Profile.h"

#include <QtTest>

Q_DECLARE_METATYPE(SetterOp)

namespace {

const SoundCardProfile &profileOf(const QString &model)
{
    return model == QLatin1String("vx01") ? SoundCardVx01Profile::profile() : SoundCardVx02Profile::profile();
}

QString spaced(const SoundCardCommand &command)
{
    QByteArray bytes(reinterpret_cast<const char *>(command.code.data()), 4);
    bytes += QByteArray(reinterpret_cast<const char *>(command.data.data()), command.dataLength());
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray report(int size = 512)
{
    return QByteArray(size, '\0');
}

} // namespace

class TestModelTables : public QObject
{
    Q_OBJECT
private slots:
    void setterBytes_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<SetterOp>("op");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("bytes");   // c0 c1 c2 c3 d0 d1
        QTest::newRow("vx01 setSoundMode(2, 3)") << "vx01" << SetterOp::SoundMode << 2 << 3 << "03 01 01 01 02 03";
        QTest::newRow("vx01 setVolume(2, 10)") << "vx01" << SetterOp::Volume << 2 << 10 << "03 01 01 02 02 0A";
        QTest::newRow("vx01 setVolume(1, 300) cut to 8 bits") << "vx01" << SetterOp::Volume << 1 << 300 << "03 01 01 02 01 2C";
        QTest::newRow("vx01 setMicReverberation(8, 2)") << "vx01" << SetterOp::MicReverberation << 8 << 2 << "03 01 01 03 02 08";
        QTest::newRow("vx01 setMicReverberation(5, 1)") << "vx01" << SetterOp::MicReverberation << 5 << 1 << "03 01 01 03 01 05";
        QTest::newRow("vx01 setDodgeThreshold(5)") << "vx01" << SetterOp::DodgeThreshold << 5 << 0 << "03 01 01 04 01 05";
        QTest::newRow("vx01 setDodgeGrade(5)") << "vx01" << SetterOp::DodgeGrade << 5 << 0 << "03 01 01 04 02 05";
        QTest::newRow("vx01 setDodgeSpeed(5)") << "vx01" << SetterOp::DodgeSpeed << 5 << 0 << "03 01 01 04 03 05";
        QTest::newRow("vx01 setDodgeSpeed(3)") << "vx01" << SetterOp::DodgeSpeed << 3 << 0 << "03 01 01 04 03 03";
        QTest::newRow("vx01 setMicToneColour(9)") << "vx01" << SetterOp::MicToneColour << 9 << 0 << "03 01 01 05 03 09";
        QTest::newRow("vx01 setSwitch(7, 1)") << "vx01" << SetterOp::Switch << 7 << 1 << "03 01 01 06 07 01";
        QTest::newRow("vx02 setSoundMode(3, 11)") << "vx02" << SetterOp::SoundMode << 3 << 11 << "03 01 01 01 03 0B";
        QTest::newRow("vx02 setVolume(5, 16)") << "vx02" << SetterOp::Volume << 5 << 16 << "03 01 01 02 05 10";
        QTest::newRow("vx02 setMicReverberation(9, 2)") << "vx02" << SetterOp::MicReverberation << 9 << 2 << "03 01 01 03 01 09";
        QTest::newRow("vx02 setMicReverberation(9)") << "vx02" << SetterOp::MicReverberation << 9 << 1 << "03 01 01 03 01 09";
        QTest::newRow("vx02 setDodgeSpeed(3)") << "vx02" << SetterOp::DodgeSpeed << 3 << 0 << "03 01 01 04 01 03";
        QTest::newRow("vx02 setDodgeThreshold(4)") << "vx02" << SetterOp::DodgeThreshold << 4 << 0 << "03 01 01 04 02 04";
        QTest::newRow("vx02 setDodgeGrade(6)") << "vx02" << SetterOp::DodgeGrade << 6 << 0 << "03 01 01 04 03 06";
        QTest::newRow("vx02 setEliminateVoice(1)") << "vx02" << SetterOp::EliminateVoice << 1 << 0 << "03 01 01 05 01 01";
        QTest::newRow("vx02 setDenoise(3)") << "vx02" << SetterOp::Denoise << 3 << 0 << "03 01 01 05 02 03";
        QTest::newRow("vx02 setSwitch(3, 2)") << "vx02" << SetterOp::Switch << 3 << 2 << "03 01 01 06 03 02";
        QTest::newRow("vx02 setSpecialEffectSound(4)") << "vx02" << SetterOp::SpecialEffectSound << 4 << 0 << "03 01 01 07 04 00";
        QTest::newRow("vx02 setSpecialEffectSound(-1) cut to 8 bits") << "vx02" << SetterOp::SpecialEffectSound << -1 << 0 << "03 01 01 07 FF 00";
    }
    void setterBytes()
    {
        QFETCH(QString, model);
        QFETCH(SetterOp, op);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, bytes);
        const SetterCommand *row = profileOf(model).setter(op);
        QVERIFY(row);
        QCOMPARE(spaced(row->resolve(first, second)), bytes);
    }

    void settersAModelLacks_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<SetterOp>("op");
        QTest::newRow("vx01 setEliminateVoice") << "vx01" << SetterOp::EliminateVoice;
        QTest::newRow("vx01 setDenoise") << "vx01" << SetterOp::Denoise;
        QTest::newRow("vx01 setSpecialEffectSound") << "vx01" << SetterOp::SpecialEffectSound;
        QTest::newRow("vx02 setMicToneColour") << "vx02" << SetterOp::MicToneColour;
    }
    void settersAModelLacks()
    {
        QFETCH(QString, model);
        QFETCH(SetterOp, op);
        QVERIFY(!profileOf(model).setter(op));
    }

    void queries_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("serial");
        QTest::newRow("vx01") << "vx01" << "01 01 02 01" << "01 02 02 01";
        QTest::newRow("vx02") << "vx02" << "00 00 00 01" << "01 02 02 01";
    }
    void queries()
    {
        QFETCH(QString, model);
        QFETCH(QString, firmware);
        QFETCH(QString, serial);
        QCOMPARE(spaced(profileOf(model).firmwareQuery), firmware);
        QCOMPARE(spaced(profileOf(model).serialQuery), serial);
        QCOMPARE(spaced(SoundCardVx02Profile::parameterQuery()), QStringLiteral("03 01 02 08"));
    }

    void identity_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("usagePage");
        QTest::addColumn<int>("usage");
        QTest::addColumn<QString>("inputName");
        QTest::addColumn<int>("parameterCount");
        QTest::newRow("vx01") << "vx01" << 0x000C << 0x0001 << QString::fromUtf8("麦克风(Vorlet Cantor 10)") << 19;
        QTest::newRow("vx02") << "vx02" << 0xFF00 << 0x55AA << QString::fromUtf8("麦克风 (Vorlet Stage 20)") << 16;
    }
    void identity()
    {
        QFETCH(QString, model);
        QFETCH(int, usagePage);
        QFETCH(int, usage);
        QFETCH(QString, inputName);
        QFETCH(int, parameterCount);
        const SoundCardProfile &profile = profileOf(model);
        QCOMPARE(QString::fromLatin1(profile.devType), model);
        QCOMPARE(int(profile.vendorId), 0x1234);
        QCOMPARE(int(profile.productId), 0x4321);
        QCOMPARE(int(profile.usagePage), usagePage);
        QCOMPARE(int(profile.usage), usage);
        QCOMPARE(QString::fromUtf8(profile.inputDevName), inputName);
        QCOMPARE(profile.parameters.size(), parameterCount);
        // Consecutive bytes from offset 16.
        for (int i = 0; i < profile.parameters.size(); ++i)
            QCOMPARE(profile.parameters.at(i).offset, 16 + i);
    }

    void reportLayout_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("key");
        const char *vx01[] = {"model", "volumeMonitor", "volumeRecording", "volumeMusicVolume", "volumeMic",
                              "reverbDepth", "reverbVolume", "dodgeThreshold", "dodgeLevel", "dodgeSpeed",
                              "toneColourHigh", "toneColourLow", "toneColour", "btnBluetooth", "btnDenoise",
                              "btnInPower", "btnDisVoice", "btnMute", "btnDodge"};
        const char *vx02[] = {"soundMode", "modelDetail", "volumeMonitor", "volumeRecording", "volumeBluetooth",
                              "volumeBroadcast", "volumeBGM", "reverbVolume", "dodgeSpeed", "dodgeThreshold",
                              "dodgeLevel", "disVoiceLevel", "denoiseLevel", "btnInPower", "btnDodge", "btnMixDry"};
        for (int i = 0; i < 19; ++i)
            QTest::addRow("vx01 %s", vx01[i]) << "vx01" << 16 + i << vx01[i];
        for (int i = 0; i < 16; ++i)
            QTest::addRow("vx02 %s", vx02[i]) << "vx02" << 16 + i << vx02[i];
    }
    void reportLayout()
    {
        QFETCH(QString, model);
        QFETCH(int, offset);
        QFETCH(QString, key);
        // Every byte distinct, so a key read from the wrong offset shows.
        QByteArray bytes = report();
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i & 0xFF);
        bytes[offset] = char(200);
        ParameterSnapshot snapshot;
        QVariantMap map;
        QVERIFY(snapshot.takeOver(reinterpret_cast<const quint8 *>(bytes.constData()), profileOf(model).parameters, map));
        QCOMPARE(map.value(key).toInt(), 200);
        QCOMPARE(map.size(), profileOf(model).parameters.size());
    }

    void snapshotAllZeroFirstReport()
    {
        ParameterSnapshot snapshot;
        QVariantMap map;
        const QByteArray zeros = report();
        QVERIFY(!snapshot.takeOver(reinterpret_cast<const quint8 *>(zeros.constData()), SoundCardVx02Profile::profile().parameters, map));
        QVERIFY(map.isEmpty());
    }

    void snapshotOneByteChangedRewritesAll_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("offset");
        QTest::newRow("vx01 btnMute only") << "vx01" << 33;
        QTest::newRow("vx01 first byte") << "vx01" << 16;
        QTest::newRow("vx02 last byte") << "vx02" << 31;
    }
    void snapshotOneByteChangedRewritesAll()
    {
        QFETCH(QString, model);
        QFETCH(int, offset);
        const QVector<ParameterByte> &layout = profileOf(model).parameters;
        QByteArray bytes = report();
        for (const ParameterByte &p : layout)
            bytes[p.offset] = char(5);
        ParameterSnapshot snapshot;
        QVariantMap map;
        QVERIFY(snapshot.takeOver(reinterpret_cast<const quint8 *>(bytes.constData()), layout, map));
        // Same bytes again: nothing taken over, map untouched.
        map.insert(QStringLiteral("marker"), 1);
        map[QString::fromLatin1(layout.first().key)] = 99;
        QVERIFY(!snapshot.takeOver(reinterpret_cast<const quint8 *>(bytes.constData()), layout, map));
        QCOMPARE(map.value(QString::fromLatin1(layout.first().key)).toInt(), 99);
        // Bytes outside the parameter range do not count.
        bytes[15] = char(1);
        bytes[16 + layout.size()] = char(1);
        QVERIFY(!snapshot.takeOver(reinterpret_cast<const quint8 *>(bytes.constData()), layout, map));
        // One byte changes: every key is written again.
        bytes[offset] = char(250);
        QVERIFY(snapshot.takeOver(reinterpret_cast<const quint8 *>(bytes.constData()), layout, map));
        for (const ParameterByte &p : layout)
            QCOMPARE(map.value(QString::fromLatin1(p.key)).toInt(), p.offset == offset ? 250 : 5);
        QCOMPARE(int(snapshot.bytes()[size_t(offset - 16)]), 250);
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("fourth byte zero: three characters") << QByteArray("1.0\0", 4) << 4 << "1.0";
        QTest::newRow("four non-zero bytes") << QByteArray("2.13") << 4 << "2.13";
        QTest::newRow("first byte zero: empty") << QByteArray("\0abc", 4) << 4 << "";
        QTest::newRow("width cuts") << QByteArray("ABCDEFGH") << 4 << "ABCD";
        QTest::newRow("serial of 12") << QByteArray("VC1026120501XYZ") << 12 << "VC1026120501";
        QTest::newRow("serial of 13") << QByteArray("VS20261205007") << 13 << "VS20261205007";
        QTest::newRow("UTF-8") << QByteArray("\xC3\xA9t\xC3\xA9") << 12 << QString::fromUtf8("été");
    }
    void text()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, width);
        QFETCH(QString, text);
        QByteArray buffer = report();
        buffer.replace(16, bytes.size(), bytes);
        QCOMPARE(ReportText::text(reinterpret_cast<const quint8 *>(buffer.constData()), 16, width), text);
    }

    void version_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("01 00 0C") << QByteArray("\x01\x00\x0C", 3) << "V1.0.c";
        QTest::newRow("zeros") << QByteArray(3, '\0') << "V0.0.0";
        QTest::newRow("1F 0A FF") << QByteArray("\x1F\x0A\xFF", 3) << "V1f.a.ff";
    }
    void version()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QByteArray buffer = report();
        buffer.replace(11, 3, bytes);
        QCOMPARE(ReportText::version(reinterpret_cast<const quint8 *>(buffer.constData()), 11), text);
    }
};

QTEST_GUILESS_MAIN(TestModelTables)
#include "tst_ModelTables.moc"
