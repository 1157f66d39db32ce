// The models' tables against the emulated devices, which know their report layout and the values
// they take from the device's side.
#include "support/MessageCapture.h"
#include "support/SoundCardRig.h"

#include "emulator/FirmwareBase.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QtTest>

class TestSoundCardModel : public QObject
{
    Q_OBJECT
private slots:
    // The device reports a different value in every byte: each is read under its own key, and
    // no key is missing or extra.
    void everyKeyAtItsByte_data()
    {
        QTest::addColumn<QString>("model");
        for (const QString &model : SoundCardFactory::devTypes())
            QTest::newRow(qPrintable(model)) << model;
    }
    void everyKeyAtItsByte()
    {
        QFETCH(QString, model);
        SoundCardRig rig(model);
        FirmwareBase &device = rig.device<FirmwareBase>();
        QVariantMap expected;
        int value = 100;
        for (const QString &key : device.keys()) {
            device.setParameter(key, value);
            expected.insert(key, value++);
        }
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(rig.card->getAllPara(), expected);
    }

    // Every setter row at both ends of its range: the device takes the command and reports the
    // value under the row's key.
    void everyRangeIsTakenByTheDevice_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("value");
        for (const QString &model : SoundCardFactory::devTypes()) {
            const QVector<ModelParameter> &rows = SoundCardFactory::model(model)->parameters;
            for (int i = 0; i < rows.size(); ++i) {
                const ModelParameter &row = rows.at(i);
                if (!row.isSetterRange())
                    continue;
                const QString name =
                    QStringLiteral("%1 %2 %3").arg(model, QLatin1String(SetterSlot::of(row.setter).name)).arg(row.code);
                QTest::newRow(qPrintable(name + " min")) << model << i << row.min;
                QTest::newRow(qPrintable(name + " max")) << model << i << row.max;
            }
        }
    }
    void everyRangeIsTakenByTheDevice()
    {
        QFETCH(QString, model);
        QFETCH(int, row);
        QFETCH(int, value);
        const ModelParameter &parameter = SoundCardFactory::model(model)->parameters.at(row);
        SoundCardRig rig(model);
        MessageCapture log;
        SetterSlot::of(parameter.setter).apply(*rig.card, parameter.code, value);
        QCOMPARE(log.texts(QtWarningMsg), QStringList());
        if (parameter.hasKey())
            QCOMPARE(rig.device<FirmwareBase>().parameter(QLatin1String(parameter.key)), value);
    }
};

QTEST_GUILESS_MAIN(TestSoundCardModel)
#include "tst_soundcardmodel.moc"
