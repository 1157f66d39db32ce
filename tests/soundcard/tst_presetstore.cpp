// The preset files, the undo history and the diff, without a device.
#include "soundcard/PresetDiff.h"
#include "soundcard/PresetHistory.h"
#include "soundcard/PresetStore.h"
#include "soundcard/SoundCardFactory.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kNames{"1", "2", "3", "Horn", "5", "6", "7", "8", "9"};

} // namespace

class TestPresetStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void init() { QVERIFY(QDir(m_dir.filePath("presets")).removeRecursively()); }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("problem");
        using P = PresetStore::NameProblem;
        QTest::newRow("plain") << "Singing with reverb" << int(P::None);
        QTest::newRow("slash") << "a/b" << int(P::Separator);
        QTest::newRow("backslash") << "a\\b" << int(P::Separator);
        QTest::newRow("parent folder") << ".." << int(P::Dot);
        QTest::newRow("blank") << "  " << int(P::Blank);
        QTest::newRow("blank edge") << " Talk" << int(P::Edges);
        QTest::newRow("tab inside") << "a\tb" << int(P::Control);
        QTest::newRow("48 wide") << QString(48, QChar(0x58F0)) << int(P::None);
        QTest::newRow("49") << QString(49, 'x') << int(P::TooLong);
    }

    // A name is a file's name in the folder, never a path out of it.
    void names()
    {
        QFETCH(QString, name);
        QFETCH(int, problem);
        QCOMPARE(int(PresetStore::checkName(name)), problem);
        const PresetStore store(m_dir.filePath("presets"));
        const PresetOutcome written = store.write(name, "vx02", {{"volumeBGM", 3}}, {});
        QCOMPARE(written.status, problem ? PresetOutcome::BadName : PresetOutcome::Ok);
        QCOMPARE(QDir(m_dir.filePath("presets")).exists(), problem == 0);
        QCOMPARE(store.names("vx02"), problem ? QStringList() : QStringList{name});
    }

    // Checked whole; the message names the file and what is wrong in it.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // after "preset PATH"
        QTest::addColumn<bool>("listedForVx01");
        QTest::newRow("other model") << QByteArray(R"({"devType":"vx01","parameters":{}})")
                                     << int(PresetOutcome::OtherModel) << " is for a vx01, the device is a vx02"
                                     << true;
        QTest::newRow("bad key") << QByteArray(R"({"devType":"vx02","parameters":{"volumeMic":1}})")
                                 << int(PresetOutcome::Damaged) << ": unknown key \"volumeMic\" for a vx02" << false;
        QTest::newRow("not JSON") << QByteArray("{") << int(PresetOutcome::Damaged) << " is no JSON: " << true;
        QTest::newRow("eight names") << QByteArray(
            R"({"devType":"vx02","parameters":{},"bgmNames":["1","2","3","4","5","6","7","8"]})")
                                     << int(PresetOutcome::Damaged)
                                     << ": \"bgmNames\" must be 9 names of 1 to 64 characters" << false;
        QTest::newRow("nine names") << PresetStore::toJson("vx02", {{"volumeBGM", 3}}, kNames) << int(PresetOutcome::Ok)
                                    << "" << false;
    }

    void reading()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(bool, listedForVx01);
        const PresetStore store(m_dir.filePath("presets"));
        QVERIFY(writeTestFile(store.pathOf("Talk"), content));
        Preset preset;
        const PresetOutcome outcome = store.read("Talk", "vx02", &preset);
        QCOMPARE(int(outcome.status), status);
        QVERIFY2(outcome.ok() ? outcome.message.isEmpty()
                              : outcome.message.startsWith("preset " + store.pathOf("Talk") + message),
                 qPrintable(outcome.message));
        QCOMPARE(preset.bgmNames, outcome.ok() ? kNames : QStringList());
        QCOMPARE(preset.setters.size(), outcome.ok() ? 1 : 0);
        // Listed under its model; a file that names none, under every model.
        QCOMPARE(store.names("vx01"), listedForVx01 ? QStringList{"Talk"} : QStringList());
    }

    // An import takes a name that is free and refuses a file of the other model.
    void importing()
    {
        const PresetStore store(m_dir.filePath("presets"));
        const QString file = m_dir.filePath("Talk.json");
        QVERIFY(writeTestFile(file, PresetStore::toJson("vx02", {{"volumeBGM", 3}}, {})));
        QString name;
        QVERIFY(store.importFile(file, "vx02", &name).ok());
        QCOMPARE(name, QStringLiteral("Talk"));
        QVERIFY(store.importFile(file, "vx02", &name).ok());
        QCOMPARE(name, QStringLiteral("Talk 2"));
        QCOMPARE(store.importFile(file, "vx01", &name).status, PresetOutcome::OtherModel);
        QCOMPARE(store.names("vx02"), QStringList({"Talk", "Talk 2"}));
        QCOMPARE(store.rename("Talk", "Talk 2").status, PresetOutcome::Exists);
    }

    // Ten states are kept, the oldest dropped; undo takes the newest of the model.
    void historyKeepsTheLastTen()
    {
        const PresetHistory history(m_dir.filePath("presets/history.json"));
        for (int i = 0; i < 12; ++i)
            QVERIFY(history.push({i == 11 ? "vx01" : "vx02", QString(), {{"volumeMonitor", i}}, {}}).ok());
        const QVector<PresetHistory::Entry> entries = history.entries();
        QCOMPARE(entries.size(), PresetHistory::kLimit);
        QCOMPARE(entries.first().parameters.value("volumeMonitor").toInt(), 2);
        PresetHistory::Entry entry;
        Preset state;
        QVERIFY(history.last("vx02", &entry, &state).ok());
        QCOMPARE(state.parameters.value("volumeMonitor").toInt(), 10);
        QVERIFY(history.dropLast("vx02").ok());
        QVERIFY(history.last("vx02", &entry, &state).ok());
        QCOMPARE(state.parameters.value("volumeMonitor").toInt(), 9);
        QCOMPARE(history.last("vx01", &entry, &state).status, PresetOutcome::Ok);
        QCOMPARE(PresetHistory(m_dir.filePath("none.json")).last("vx02", &entry, &state).status,
                 PresetOutcome::NothingToUndo);
    }

    // Only the settings that differ, and none that no setter changes.
    void diffListsWhatDiffers()
    {
        const QVariantMap device{{"volumeMic", 4}, {"reverbDepth", 2}, {"btnMute", 1}};
        const QVariantMap preset{{"volumeMic", 4}, {"reverbDepth", 9}, {"btnMute", 2}};
        const QVector<PresetChange> expected{{"reverbDepth", 2, 9}};
        QCOMPARE(PresetDiff::between(*SoundCardFactory::model("vx01"), device, preset), expected);
    }
};

QTEST_GUILESS_MAIN(TestPresetStore)
#include "tst_presetstore.moc"
