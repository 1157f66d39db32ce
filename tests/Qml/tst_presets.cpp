// The presets in the real window against the emulated vx02: the title bar's popup, its preview
// and prompts, the tray's submenu, and what reaches the device.
#include "app/MainWidget.h"
#include "app/PresetController.h"
#include "app/TrayIcon.h"
#include "soundcard/BgmNames.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/PresetStore.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/TestFiles.h"

#include <QMenu>
#include <QQuickItem>
#include <QtTest>

namespace {

const QString kEnglish = QStringLiteral("English");

} // namespace

class TestPresets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    static void openPresets(SceneRig &rig)
    {
        rig.click(rig.item(QStringLiteral("presetButton")));
        QTRY_VERIFY(rig.find(QStringLiteral("presetsPopup"))->property("opened").toBool());
    }

    // The lines of the preview, as shown.
    static QStringList preview(SceneRig &rig)
    {
        QStringList lines;
        for (int i = 0; rig.find(QStringLiteral("previewLine%1").arg(i)); ++i)
            lines << rig.text(QStringLiteral("previewLine%1").arg(i));
        return lines;
    }

    // Saves the device's settings now under `name` and waits for the file.
    static void save(SceneRig &rig, const QString &name)
    {
        rig.window()->presets()->savePreset(name);
        QTRY_COMPARE(rig.window()->presets()->current(), name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    }

    void init() { QVERIFY(QDir(PresetStore::defaultFolder()).removeRecursively()); }

    // Save as (a name with a slash refused), a change that ends the mark, the preview in the
    // pages' words, the question before replacing, Apply, then Undo.
    void saveChangeApplyUndo()
    {
        SceneRig rig(QStringLiteral("vx02"));
        rig.setLanguage(kEnglish);
        PresetController *presets = rig.window()->presets();
        openPresets(rig);
        rig.click(rig.item(QStringLiteral("presetSaveAs")));
        rig.type(QStringLiteral("a/b"));
        rig.key(Qt::Key_Return);
        QCOMPARE(rig.text(QStringLiteral("promptProblem")), QStringLiteral("A name cannot contain / or \\"));
        rig.key(Qt::Key_A, Qt::ControlModifier);
        rig.type(QStringLiteral("Talk"));
        rig.key(Qt::Key_Return);
        QTRY_COMPARE(presets->current(), QStringLiteral("Talk"));
        QCOMPARE(presets->names(), QStringList{"Talk"});
        QVERIFY(rig.item(QStringLiteral("presetRow0"))->property("inEffect").toBool());
        QCOMPARE(rig.text(QStringLiteral("presetCurrent")), QStringLiteral("Talk"));

        QVERIFY(rig.setOnDevice(QStringLiteral("reverbVolume=12,volumeMonitor=3,btnDodge=1")));
        rig.window()->bgmNames()->rename(3, QStringLiteral("Horn"));
        QTRY_COMPARE(presets->current(), QString());
        QCOMPARE(rig.text(QStringLiteral("presetCurrent")), QStringLiteral("Presets"));
        QCOMPARE(preview(rig), QStringList({"MONITOR  3 → 8", "ECHO  12 → 6", "DODGE  ON → OFF", "BGM 4  Horn → 4"}));

        rig.click(rig.item(QStringLiteral("presetSaveAs")));
        rig.type(QStringLiteral("Talk"));
        rig.key(Qt::Key_Return);
        QVERIFY(rig.text(QStringLiteral("promptQuestion")).contains(QStringLiteral("Replace it")));
        rig.key(Qt::Key_Escape);
        QVERIFY(!rig.item(QStringLiteral("presetPrompt"))->isVisible());
        QVERIFY(rig.find(QStringLiteral("presetsPopup"))->property("opened").toBool());
        QCOMPARE(preview(rig).size(), 4);

        rig.takeSetters();
        rig.click(rig.item(QStringLiteral("presetApply")));
        QTRY_COMPARE(presets->current(), QStringLiteral("Talk"));
        const QStringList sent = rig.takeSetters();
        for (const char *setter : {"volumeMonitor=8", "reverbVolume=6", "btnDodge=2"})
            QVERIFY2(sent.contains(QLatin1String(setter)), qPrintable(sent.join(' ')));
        QCOMPARE(rig.window()->bgmNames()->names().at(3), QStringLiteral("4"));
        QCOMPARE(preview(rig), QStringList());

        rig.click(rig.item(QStringLiteral("presetUndo")));
        QTRY_COMPARE(rig.window()->bgmNames()->names().at(3), QStringLiteral("Horn"));
        QTRY_VERIFY(!presets->isBusy());
        const QVariantMap device = rig.window()->soundCard()->getAllPara();
        QCOMPARE(device.value("reverbVolume").toInt(), 12);
        QCOMPARE(device.value("volumeMonitor").toInt(), 3);
        QCOMPARE(device.value("btnDodge").toInt(), 1);
        QCOMPARE(presets->current(), QString());
        QVERIFY(!presets->canUndo());
    }

    // Files that are no preset of the vx02 are refused whole, naming the file and the bad key,
    // and nothing reaches the device.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("imported");
        QTest::addColumn<QString>("message");
        const QByteArray vx01 = R"({"devType":"vx01","parameters":{"volumeMic":3}})";
        const QByteArray badKey = R"({"devType":"vx02","parameters":{"volumeBGM":2,"volumeMic":3}})";
        QTest::newRow("damaged, applied") << badKey << false << ": unknown key \"volumeMic\" for a vx02";
        QTest::newRow("damaged, imported") << badKey << true << ": unknown key \"volumeMic\" for a vx02";
        QTest::newRow("other model, imported") << vx01 << true << " is for a vx01, the device is a vx02";
    }

    void refusals()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, imported);
        QFETCH(QString, message);
        SceneRig rig(QStringLiteral("vx02"));
        PresetController *presets = rig.window()->presets();
        const QString path = imported ? m_config.filePath("Broken.json") : PresetStore().pathOf("Broken");
        QVERIFY(writeTestFile(path, content));
        presets->setFileChooser([&path](bool save, const QString &) { return save ? QString() : path; });
        openPresets(rig);
        rig.takeSetters();
        rig.click(rig.item(imported ? QStringLiteral("presetImport") : QStringLiteral("presetRow0")));
        if (!imported)
            rig.click(rig.item(QStringLiteral("presetApply")));
        QTRY_VERIFY(rig.text(QStringLiteral("presetMessage")).endsWith(path + message));
        QCOMPARE(presets->names(), imported ? QStringList() : QStringList{"Broken"});
        QCOMPARE(rig.takeSetters(), QStringList());
        QVERIFY(!presets->canUndo());
    }

    // The popup with a preview, and the prompt with a refused name, in both languages at 1 and 2:
    // nothing cut short, covered or outside; screenshots.
    void popupFits_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("scale");
        for (const double scale : {1.0, 2.0}) {
            for (const QString &language : {QStringLiteral("简体中文"), kEnglish})
                QTest::addRow("%s %.1f", qPrintable(language), scale) << language << scale;
        }
    }

    void popupFits()
    {
        QFETCH(QString, language);
        QFETCH(double, scale);
        MessageCapture capture;
        SceneRig rig(QStringLiteral("vx02"));
        rig.setLanguage(language);
        rig.setScale(scale);
        save(rig, QStringLiteral("Singing with reverb"));
        save(rig, QStringLiteral("Talk"));
        QVERIFY(rig.setOnDevice(QStringLiteral("soundMode=2,modelDetail=4,denoiseLevel=0,volumeBGM=16")));
        openPresets(rig);
        rig.click(rig.item(QStringLiteral("presetRow1")));
        QCOMPARE(preview(rig).size(), 3);
        auto *popup = qobject_cast<QQuickItem *>(
            rig.find(QStringLiteral("presetsPopup"))->property("contentItem").value<QObject *>());
        const QString suffix = QStringLiteral("-%1-%2").arg(language == kEnglish ? "en" : "zh").arg(scale, 0, 'f', 1);
        const auto fits = [&](QQuickItem *layer, const QString &name) {
            QVERIFY(!rig.saveScreenshot(name + suffix).isEmpty());
            const QRectF bounds = layer->mapRectToScene(QRectF(QPointF(0, 0), layer->size()));
            const QStringList problems = SceneRig::layoutProblems(layer, bounds, 3 * scale);
            QVERIFY2(problems.isEmpty(), qPrintable(name + QLatin1Char('\n') + problems.join('\n')));
            if (language == kEnglish)
                QCOMPARE(SceneRig::untranslated(layer), QStringList());
        };
        fits(popup->parentItem(), QStringLiteral("presets"));
        fits(rig.item(QStringLiteral("title")), QStringLiteral("presets-title"));
        rig.click(rig.item(QStringLiteral("presetSaveAs")));
        rig.type(QStringLiteral(".hidden"));
        rig.key(Qt::Key_Return);
        fits(popup->parentItem(), QStringLiteral("presets-prompt"));
        QVERIFY2(SceneRig::sceneWarnings(capture).isEmpty(), qPrintable(SceneRig::sceneWarnings(capture).join('\n')));
    }

    // The tray's submenu applies the preset chosen there; Undo puts back what it replaced.
    void trayAppliesTheChosenPreset()
    {
        SceneRig rig(QStringLiteral("vx02"));
        TrayIcon tray(rig.window());
        PresetController *presets = rig.window()->presets();
        QVERIFY(rig.setOnDevice(QStringLiteral("volumeMonitor=12")));
        save(rig, QStringLiteral("Loud"));
        QVERIFY(rig.setOnDevice(QStringLiteral("volumeMonitor=2")));
        save(rig, QStringLiteral("Quiet"));
        QVERIFY(rig.setOnDevice(QStringLiteral("volumeMonitor=7")));
        QMenu *menu = tray.menu()->actions().at(1)->menu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 2);
        menu->actions().at(1)->trigger();
        QTRY_COMPARE(presets->current(), QStringLiteral("Quiet"));
        QCOMPARE(rig.window()->soundCard()->getAllPara().value("volumeMonitor").toInt(), 2);
        QTRY_VERIFY(menu->actions().at(1)->isChecked() && !menu->actions().at(0)->isChecked());
        presets->undoPreset();
        QTRY_COMPARE(rig.window()->soundCard()->getAllPara().value("volumeMonitor").toInt(), 7);
    }
};

SCENE_TEST_MAIN(TestPresets)
#include "tst_presets.moc"
