// The main view and the settings dialog on the real main window, driven by mouse and keyboard
// against the emulated devices.
#include "app/MainWidget.h"
#include "record/RecordWidget.h"
#include "soundcard/SoundCardBase.h"
#include "soundcard/SettingsRestorer.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/TappedFirmware.h"

#include <QDesktopServices>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWidget>
#include <QtTest>

namespace {

const QString kChinese = QStringLiteral("简体中文");
const QString kEnglish = QStringLiteral("English");
const QString kPictures = QStringLiteral("qrc:/image/blackSkin/");
const QString kPages = QStringLiteral("qrc:/Qml/pageMain/");
const QString kVersionLine = QStringLiteral("1.0.0.11") + QString(61, QLatin1Char(' '));

// Warnings of our own QML documents: a TypeError on a null SoundCard, a missing file, a
// broken binding.
QStringList sceneWarnings(const MessageCapture &capture)
{
    QStringList found;
    for (const auto &message : capture.messages()) {
        if (message.first != QtDebugMsg && message.second.contains(QLatin1String("qrc:/")))
            found.append(message.second);
    }
    return found;
}

// The visible texts below `item` that are cut short (elided), the page on screen left out.
QStringList cutTexts(QQuickItem *item, QQuickItem *skip)
{
    QStringList cut;
    if (!item || item == skip || !item->isVisible())
        return cut;
    if (item->property("truncated").toBool())
        cut << item->property("text").toString();
    for (QQuickItem *child : item->childItems())
        cut << cutTexts(child, skip);
    return cut;
}

QString pictureSuffix(const QString &language)
{
    return language == QLatin1String("English") ? language : QString();
}

} // namespace

// Receives the addresses the scene opens in the system's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class TestMainView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    // The entries of an open combo box's list, by text.
    static QQuickItem *listEntry(SceneRig &rig, const QString &text)
    {
        QList<QQuickItem *> pending{rig.view()->quickWindow()->contentItem()};
        while (!pending.isEmpty()) {
            QQuickItem *item = pending.takeFirst();
            if (item->inherits("QQuickItemDelegate") && item->isVisible()) {
                auto *label = item->property("contentItem").value<QQuickItem *>();
                if (label && label->property("text").toString() == text)
                    return item;
            }
            pending.append(item->childItems());
        }
        return nullptr;
    }

    // Opens the settings popup with the title bar's gear and picks a tab.
    static void openSettings(SceneRig &rig, const char *tab)
    {
        rig.click(rig.item(QStringLiteral("settingButton")));
        QTRY_VERIFY(rig.find(QStringLiteral("dialogSeting"))->property("opened").toBool());
        if (tab)
            rig.click(rig.item(QLatin1String(tab)));
    }

    static QString dialogPage(SceneRig &rig)
    {
        return rig.find(QStringLiteral("settingLoader"))->property("source").toUrl().toString();
    }

    // Picks a language in the general page's combo box, with the mouse.
    static void chooseLanguage(SceneRig &rig, const QString &language)
    {
        openSettings(rig, "generalTab");
        QQuickItem *box = rig.item(QStringLiteral("languageBox"));
        QVERIFY(box);
        rig.click(box);
        QQuickItem *entry = nullptr;
        QTRY_VERIFY((entry = listEntry(rig, language)) != nullptr);
        rig.click(entry);
        rig.key(Qt::Key_Escape);
        QTRY_VERIFY(!rig.find(QStringLiteral("dialogSeting"))->property("visible").toBool());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The language choice is stored per user; keep it away from the real one.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void restoreLastSettingsIsSwitchedInTheGeneralPage()
    {
        SceneRig rig(QStringLiteral("vx02"));
        QVERIFY(!rig.window()->settingsRestorer()->isEnabled());
        openSettings(rig, "generalTab");
        QQuickItem *toggle = nullptr;
        QTRY_VERIFY((toggle = rig.item(QStringLiteral("restoreSwitch"))) != nullptr);
        QQuickItem *knob = toggle->findChild<QQuickItem *>(QStringLiteral("toggle"));
        QVERIFY(knob);
        rig.click(knob);
        QTRY_VERIFY(rig.window()->settingsRestorer()->isEnabled());
        rig.click(knob);
        QTRY_VERIFY(!rig.window()->settingsRestorer()->isEnabled());
        QVERIFY(rig.takeSetters().isEmpty());
    }

    // A device that stops answering is shown as such until it answers again.
    void silentDeviceIsShownNotResponding()
    {
        SceneRig rig(QStringLiteral("vx02"));
        rig.setLanguage(kEnglish);
        QCOMPARE(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device connected"));
        QVERIFY(rig.setFailure(EmulatedFailure::Silent));
        QTRY_COMPARE_WITH_TIMEOUT(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device not responding"), 5000);
        QCOMPARE(rig.find(QStringLiteral("devStateConnect"))->property("color").value<QColor>(), QColor("red"));
        QVERIFY(!rig.saveScreenshot(QStringLiteral("vx02-not-responding")).isEmpty());
        QVERIFY(rig.setFailure(EmulatedFailure::None));
        QTRY_COMPARE_WITH_TIMEOUT(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device connected"), 5000);
    }

    // Before any device: the version line, the vx02 pictures and pages, red status.
    void withoutDeviceTheVx02PagesShow()
    {
        MessageCapture capture;
        SceneRig rig;
        rig.setLanguage(kChinese);
        QCOMPARE(rig.text(QStringLiteral("titleText")), kVersionLine);
        QVERIFY(rig.pageSource().isEmpty());
        QCOMPARE(rig.items(QStringLiteral("devStateNoConnect")).size(), 1);
        QVERIFY(rig.items(QStringLiteral("devStateConnect")).isEmpty());
        QCOMPARE(rig.text(QStringLiteral("devStateNoConnect")), QStringLiteral("设备未连接"));
        QCOMPARE(rig.text(QStringLiteral("snText")), QStringLiteral(" | SN: "));
        QCOMPARE(rig.find(QStringLiteral("snText"))->property("color").value<QColor>(), QColor("red"));
        QCOMPARE(rig.find(QStringLiteral("devicePicture"))->property("source").toString(),
                 kPictures + QStringLiteral("vx02Hardware.png"));

        const QList<QPair<QString, QString>> pages{{"navVolume", "PageVolumeSet_vx02"},
                                                   {"navEffect", "PageSoundChoice_vx02"},
                                                   {"navHardware", "PageHardwareSet_vx02"}};
        const QStringList pictures{"vx02Volume.png", "vx02Effect.png", "vx02Hardware.png"};
        for (int i = 0; i < pages.size(); ++i) {
            rig.click(rig.item(pages[i].first));
            QCOMPARE(rig.pageSource(), kPages + pages[i].second + QStringLiteral(".qml"));
            QCOMPARE(rig.find(QStringLiteral("devicePicture"))->property("source").toString(),
                     kPictures + pictures[i]);
            QVERIFY(rig.find(pages[i].first)->property("checked").toBool());
        }
        QVERIFY2(sceneWarnings(capture).isEmpty(), qPrintable(sceneWarnings(capture).join('\n')));
    }

    // Each page of each model in both languages: the document, the picture, a sample of texts,
    // and a screenshot for the record.
    void pagesInBothLanguages_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("navTexts");
        QTest::addColumn<QString>("status");
        const QStringList chinese{"硬件设置", "音量设置 ", "音效选择"};
        const QStringList english{"HARDWARE", "VOLUME ", "SOUND EFFECT"};
        for (const QString model : {"vx02", "vx01"}) {
            QTest::addRow("%s Chinese", qPrintable(model)) << model << kChinese << chinese << "设备已连接";
            QTest::addRow("%s English", qPrintable(model)) << model << kEnglish << english << "Device connected";
        }
    }

    void pagesInBothLanguages()
    {
        QFETCH(QString, model);
        QFETCH(QString, language);
        QFETCH(QStringList, navTexts);
        QFETCH(QString, status);
        MessageCapture capture;
        SceneRig rig(model);
        rig.setLanguage(language);
        // The pages show the device's settings from the first poll on.
        rig.waitPolls(1);

        QCOMPARE(rig.text(QStringLiteral("devStateConnect")), status);
        const QStringList navs{"navHardware", "navVolume", "navEffect"};
        const QStringList pages{"PageHardwareSet_", "PageVolumeSet_", "PageSoundChoice_"};
        const QStringList pictures{"Hardware.png", "Volume.png", "Effect.png"};
        const QStringList shots{"hardware", "volume", "effect"};
        for (int i = 0; i < navs.size(); ++i) {
            QCOMPARE(rig.text(navs[i]), navTexts[i]);
            rig.click(rig.item(navs[i]));
            QCOMPARE(rig.pageSource(), kPages + pages[i] + model + QStringLiteral(".qml"));
            QVERIFY(rig.page());
            QObject *picture = rig.find(QStringLiteral("devicePicture"));
            QCOMPARE(picture->property("source").toString(),
                     kPictures + model + pictureSuffix(language) + pictures[i]);
            // The picture exists: loaded, at the size it is drawn.
            QTRY_COMPARE(picture->property("status").toInt(), 1);
            QCOMPARE(cutTexts(rig.view()->quickWindow()->contentItem(), rig.page()), QStringList());
            QVERIFY(!rig.saveScreenshot(QStringLiteral("%1-%2-%3").arg(model, shots[i],
                language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh"))).isEmpty());
        }
        QVERIFY2(sceneWarnings(capture).isEmpty(), qPrintable(sceneWarnings(capture).join('\n')));
    }

    // The picture follows the language for the checked page; the Chinese set has no infix.
    void languageSwitchSwapsTextsAndPicture()
    {
        SceneRig rig(QStringLiteral("vx01"));
        chooseLanguage(rig, kChinese);
        rig.click(rig.item(QStringLiteral("navEffect")));
        chooseLanguage(rig, kEnglish);
        QCOMPARE(rig.find(QStringLiteral("devicePicture"))->property("source").toString(),
                 kPictures + QStringLiteral("vx01EnglishEffect.png"));
        QCOMPARE(rig.text(QStringLiteral("navEffect")), QStringLiteral("SOUND EFFECT"));
        QCOMPARE(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device connected"));
        QCOMPARE(rig.evaluate(QStringLiteral("Tran.getLanguage()")).toString(), kEnglish);

        chooseLanguage(rig, kChinese);
        QCOMPARE(rig.find(QStringLiteral("devicePicture"))->property("source").toString(),
                 kPictures + QStringLiteral("vx01Effect.png"));
        QCOMPARE(rig.text(QStringLiteral("navEffect")), QStringLiteral("音效选择"));
        QCOMPARE(rig.evaluate(QStringLiteral("Tran.getLanguage()")).toString(), kChinese);
        // The page stays where it was.
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageSoundChoice_vx01.qml"));
    }

    // Connect while the volume page shows, unplug, operate the page, replug.
    void connectUnplugReplug()
    {
        MessageCapture capture;
        SceneRig rig;
        rig.setLanguage(kChinese);
        rig.click(rig.item(QStringLiteral("navVolume")));
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageVolumeSet_vx02.qml"));

        QVERIFY(rig.plug(QStringLiteral("vx01")));
        const QString serial = rig.window()->soundCard()->getSNCode();
        QVERIFY(!serial.isEmpty());
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageVolumeSet_vx01.qml"));
        QCOMPARE(rig.find(QStringLiteral("devicePicture"))->property("source").toString(),
                 kPictures + QStringLiteral("vx01Hardware.png"));
        QVERIFY(rig.find(QStringLiteral("navVolume"))->property("checked").toBool());
        QCOMPARE(rig.text(QStringLiteral("titleText")), QStringLiteral("Vorlet Cantor 10 MK2 Control 1.0.0.11"));
        QVERIFY(!rig.find(QStringLiteral("titleText"))->property("truncated").toBool());
        QCOMPARE(rig.text(QStringLiteral("snText")), QStringLiteral(" | SN: ") + serial);
        QVERIFY(!rig.find(QStringLiteral("snText"))->property("truncated").toBool());
        QCOMPARE(rig.find(QStringLiteral("snText"))->property("color").value<QColor>(), QColor("green"));
        QCOMPARE(rig.items(QStringLiteral("devStateConnect")).size(), 1);
        QVERIFY(rig.items(QStringLiteral("devStateNoConnect")).isEmpty());
        QPointer<QQuickItem> page = rig.page();
        QVERIFY(page);

        QVERIFY(rig.unplug(QStringLiteral("vx01")));
        QCOMPARE(rig.text(QStringLiteral("snText")), QStringLiteral(" | SN: "));
        QCOMPARE(rig.find(QStringLiteral("snText"))->property("color").value<QColor>(), QColor("red"));
        QCOMPARE(rig.items(QStringLiteral("devStateNoConnect")).size(), 1);
        QCOMPARE(rig.text(QStringLiteral("titleText")), QStringLiteral("Vorlet Cantor 10 MK2 Control 1.0.0.11"));
        QCOMPARE(rig.page(), page.data());
        QCOMPARE(rig.find(QStringLiteral("devicePicture"))->property("source").toString(),
                 kPictures + QStringLiteral("vx01Hardware.png"));

        // Every button of the page and the page's own keys still work without a device: the
        // guards hold, nothing complains.
        QList<QQuickItem *> pending{page.data()};
        int pressed = 0;
        while (!pending.isEmpty()) {
            QQuickItem *item = pending.takeFirst();
            if (item->inherits("QQuickAbstractButton") && item->isVisible() && item->isEnabled()) {
                rig.click(item);
                ++pressed;
            }
            pending.append(item->childItems());
        }
        QVERIFY(pressed >= 5);
        QTest::qWait(300);

        QVERIFY(rig.plug(QStringLiteral("vx01")));
        QCOMPARE(rig.page(), page.data());
        QCOMPARE(rig.text(QStringLiteral("snText")), QStringLiteral(" | SN: ") + serial);
        QCOMPARE(rig.items(QStringLiteral("devStateConnect")).size(), 1);
        // Taking the device over again sends nothing back to it.
        QCOMPARE(rig.takeSetters(), QStringList());
        QVERIFY2(sceneWarnings(capture).isEmpty(), qPrintable(sceneWarnings(capture).join('\n')));
    }

    // The settings popup: tabs, pages, connection while help shows, links.
    void settingsDialog()
    {
        SceneRig rig;
        rig.setLanguage(kChinese);
        openSettings(rig, nullptr);
        QObject *dialog = rig.find(QStringLiteral("dialogSeting"));
        // Opened before any tab or device: the tabs and an empty right part.
        QVERIFY(dialogPage(rig).isEmpty());
        QVERIFY(rig.find(QStringLiteral("generalTab"))->property("checked").toBool());

        rig.click(rig.item(QStringLiteral("generalTab")));
        QCOMPARE(rig.text(QStringLiteral("modelText")), QStringLiteral("Vorlet Cantor 10"));
        rig.click(rig.item(QStringLiteral("aboutTab")));
        QCOMPARE(rig.text(QStringLiteral("versionText")), QStringLiteral("版本号:1.0.0.11"));
        QCOMPARE(rig.text(QStringLiteral("firmwareText")), QStringLiteral("固件版本号:"));
        rig.click(rig.item(QStringLiteral("helpTab")));
        QCOMPARE(dialogPage(rig), QStringLiteral("qrc:/Qml/settingDialog/helpPage.qml"));

        QVERIFY(rig.plug(QStringLiteral("vx02")));
        QCOMPARE(dialogPage(rig), QStringLiteral("qrc:/Qml/settingDialog/generalPage.qml"));
        QVERIFY(rig.find(QStringLiteral("generalTab"))->property("checked").toBool());
        QVERIFY(!rig.find(QStringLiteral("helpTab"))->property("checked").toBool());
        QCOMPARE(rig.text(QStringLiteral("modelText")), QStringLiteral("Vorlet Stage 20 MK2"));

        rig.click(rig.item(QStringLiteral("aboutTab")));
        QCOMPARE(cutTexts(rig.view()->quickWindow()->contentItem(), rig.page()), QStringList());
        const QString firmware = rig.window()->soundCard()->getFirmwareVer();
        QVERIFY(!firmware.isEmpty());
        QCOMPARE(rig.text(QStringLiteral("firmwareText")), QStringLiteral("固件版本号:") + firmware);
        QVERIFY(dialog->property("opened").toBool());
        rig.key(Qt::Key_Escape);
        QTRY_VERIFY(!dialog->property("visible").toBool());
    }

    // The about page's links open their addresses, also while English shows blanks for them.
    void aboutLinksOpenTheBrowser_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("shown");
        for (const QString &language : {kChinese, kEnglish}) {
            const bool english = language == kEnglish;
            QTest::addRow("%s web site", qPrintable(language)) << language << "webSiteLink"
                << "https://www.vorlet.example"
                << (english ? "Official Website: https://www.vorlet.example" : "官方网站：https://www.vorlet.example");
            QTest::addRow("%s video", qPrintable(language)) << language << "videoLink"
                << "https://video.example/vorlet"
                << (english ? " " : "哔哩哔哩：https://video.example/vorlet");
            QTest::addRow("%s microblog", qPrintable(language)) << language << "microblogLink"
                << "https://microblog.example/vorlet"
                << (english ? " " : "官方微博: https://microblog.example/vorlet");
        }
    }

    void aboutLinksOpenTheBrowser()
    {
        QFETCH(QString, language);
        QFETCH(QString, link);
        QFETCH(QString, url);
        QFETCH(QString, shown);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        SceneRig rig;
        rig.setLanguage(language);
        openSettings(rig, "aboutTab");
        QQuickItem *line = rig.item(link);
        QVERIFY(line);
        QCOMPARE(line->property("text").toString(), shown);
        QCOMPARE(cutTexts(rig.view()->quickWindow()->contentItem(), nullptr), QStringList());
        rig.click(line, QPointF(2, line->height() / 2));
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(url)});
        // The keyboard reaches it too.
        line->forceActiveFocus();
        rig.key(Qt::Key_Return);
        QCOMPARE(catcher.opened.size(), 2);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    // The popup's size and place follow the scaling rate (1.5 gives 645 × 432).
    void settingsDialogSizeFollowsTheScale()
    {
        SceneRig rig(QStringLiteral("vx02"));
        const double scale = rig.evaluate(QStringLiteral("MainLogic.getScalingRate()")).toDouble();
        const QByteArray expected = qgetenv("VORLET_EXPECT_SCALE");
        if (!expected.isEmpty())
            QCOMPARE(scale, expected.toDouble());
        openSettings(rig, "helpTab");
        QQuickItem *popupItem = qobject_cast<QQuickItem *>(
            rig.find(QStringLiteral("dialogSeting"))->property("contentItem").value<QObject *>())->parentItem();
        QCOMPARE(popupItem->width(), qreal(430 * scale));
        QCOMPARE(popupItem->height(), qreal(288 * scale));
        const QPointF topLeft = popupItem->mapToItem(rig.root(), QPointF(0, 0));
        QCOMPARE(topLeft.x(), (rig.root()->width() - 430 * scale) / 2);
        QCOMPARE(topLeft.y(), (rig.root()->height() - 288 * scale) / 2);
        rig.saveScreenshot(QStringLiteral("settings-help-scale-%1").arg(scale));
    }

    // The title bar's buttons and the recording toggle act on the window.
    void windowButtons()
    {
        SceneRig rig(QStringLiteral("vx02"));
        MainWidget *window = rig.window();
        const double scale = rig.evaluate(QStringLiteral("MainLogic.getScalingRate()")).toDouble();
        const int folded = int(482 * scale);
        QCOMPARE(window->height(), folded);

        QQuickItem *toggle = rig.item(QStringLiteral("recordToggle"));
        rig.click(toggle);
        QVERIFY(toggle->property("checked").toBool());
        QVERIFY(toggle->property("btnImgUrl").toString().endsWith(QLatin1String("Recording_collapse.png")));
        QVERIFY(window->recordWidget()->isVisible());
        QCOMPARE(window->height(), folded + int(150 * scale));
        rig.click(toggle);
        QVERIFY(!toggle->property("checked").toBool());
        QVERIFY(toggle->property("btnImgUrl").toString().endsWith(QLatin1String("Recording_expand.png")));
        QVERIFY(!window->recordWidget()->isVisible());
        QCOMPARE(window->height(), folded);

        rig.click(rig.item(QStringLiteral("minimizeButton")));
        QTRY_VERIFY(window->windowState() & Qt::WindowMinimized);
        window->showNormal();
        rig.click(rig.item(QStringLiteral("closeButton")));
        QTRY_VERIFY(!window->isVisible());
    }

    // From the keyboard alone: Tab reaches the page buttons and the gear, Space picks them,
    // Escape closes the settings again.
    void keyboardNavigation()
    {
        SceneRig rig(QStringLiteral("vx02"));
        const auto tabTo = [&rig](QQuickItem *target) {
            for (int i = 0; i < 40 && rig.focusItem() != target; ++i)
                rig.key(Qt::Key_Tab);
            return rig.focusItem() == target;
        };
        QVERIFY(tabTo(rig.item(QStringLiteral("navEffect"))));
        rig.key(Qt::Key_Space);
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageSoundChoice_vx02.qml"));

        QVERIFY(tabTo(rig.item(QStringLiteral("settingButton"))));
        rig.key(Qt::Key_Space);
        QObject *dialog = rig.find(QStringLiteral("dialogSeting"));
        QTRY_VERIFY(dialog->property("opened").toBool());
        QVERIFY(tabTo(rig.item(QStringLiteral("aboutTab"))));
        rig.key(Qt::Key_Space);
        QCOMPARE(dialogPage(rig), QStringLiteral("qrc:/Qml/settingDialog/aboutPage.qml"));
        rig.key(Qt::Key_Escape);
        QTRY_VERIFY(!dialog->property("visible").toBool());
    }
};

SCENE_TEST_MAIN(TestMainView)
#include "tst_mainview.moc"
