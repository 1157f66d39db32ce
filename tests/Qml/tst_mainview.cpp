// The main view and the settings dialog on the real main window against the emulated devices.
#include "app/AutostartEntry.h"
#include "app/BackgroundSettings.h"
#include "app/MainWidget.h"
#include "record/RecordWidget.h"
#include "soundcard/SettingsRestorer.h"
#include "soundcard/SoundCardBase.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"

#include <QDesktopServices>
#include <QQuickItem>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kChinese = QStringLiteral("简体中文");
const QString kEnglish = QStringLiteral("English");
const QString kPictures = QStringLiteral("qrc:/image/blackSkin/");
const QString kPages = QStringLiteral("qrc:/Qml/pageMain/");
const QString kVersionLine = QStringLiteral("1.0.0.11") + QString(61, QLatin1Char(' '));

// The length of the run of pixels of `colour` (each channel within 8) through `centre`.
int runThrough(const QImage &image, QPoint centre, Qt::Orientation direction, QColor colour)
{
    const auto matches = [&](QPoint p) {
        if (!image.rect().contains(p))
            return false;
        const QColor c = image.pixelColor(p);
        return qAbs(c.red() - colour.red()) <= 8 && qAbs(c.green() - colour.green()) <= 8
            && qAbs(c.blue() - colour.blue()) <= 8;
    };
    const QPoint step = direction == Qt::Horizontal ? QPoint(1, 0) : QPoint(0, 1);
    int length = 0;
    for (QPoint p = centre; matches(p); p += step)
        ++length;
    for (QPoint p = centre - step; length > 0 && matches(p); p -= step)
        ++length;
    return length;
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

    static QString picture(SceneRig &rig)
    {
        return rig.find(QStringLiteral("devicePicture"))->property("source").toString();
    }

    // Picks a language in the general page's combo box, with the arrow keys.
    static void chooseLanguage(SceneRig &rig, const QString &language)
    {
        openSettings(rig, "generalTab");
        QQuickItem *box = rig.item(QStringLiteral("languageBox"));
        box->forceActiveFocus();
        const int index = box->property("model").toStringList().indexOf(language);
        for (int i = 0; i < 4 && box->property("currentIndex").toInt() != index; ++i)
            rig.key(box->property("currentIndex").toInt() < index ? Qt::Key_Down : Qt::Key_Up);
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
        // So are the other settings: the tests running beside this one switch them too.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    }

    // Each switch of the general page changes its setting, and shows it. Switching "Restore last
    // settings" on offers to run in the background too: only a running program restores.
    void generalPageSwitches_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setting"); // as the scene reads it
        QTest::addColumn<QString>("answer");  // the offer's button, "" where none is offered
        const QString restore = QStringLiteral("MainLogic.settingsRestorer.enabled");
        const QString background = QStringLiteral("MainLogic.background.");
        QTest::newRow("restore, offer taken") << "restoreSwitch" << restore << "offerAccept";
        QTest::newRow("restore, offer declined") << "restoreSwitch" << restore << "offerDecline";
        QTest::newRow("background") << "backgroundSwitch" << background + "runInBackground" << QString();
        QTest::newRow("autostart") << "autostartSwitch" << background + "autostart" << QString();
    }

    void generalPageSwitches()
    {
        QFETCH(QString, name);
        QFETCH(QString, setting);
        QFETCH(QString, answer);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brindle"), QStringLiteral("vorlet"))
            .clear();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vorlet"), QStringLiteral("vx02"))
            .remove(QStringLiteral("Language"));
        SceneRig rig(QStringLiteral("vx02"));
        openSettings(rig, "generalTab");
        // With no language stored the box shows the one in use.
        QVERIFY(rig.evaluate(QStringLiteral("Tran.getLanguage()")).toString().isEmpty());
        QCOMPARE(rig.item(QStringLiteral("languageBox"))->property("currentText").toString(),
                 rig.evaluate(QStringLiteral("Tran.currentLanguage")).toString());
        QQuickItem *knob = rig.item(name)->findChild<QQuickItem *>(QStringLiteral("toggle"));
        QVERIFY(knob);
        QObject *offer = rig.find(QStringLiteral("backgroundOffer"));
        rig.click(knob);
        QTRY_COMPARE(rig.evaluate(setting), QVariant(true));
        QVERIFY(knob->property("checked").toBool());
        QCOMPARE(offer->property("opened").toBool(), !answer.isEmpty());
        if (!answer.isEmpty()) {
            rig.click(rig.item(answer));
            QTRY_VERIFY(!offer->property("visible").toBool());
            QCOMPARE(rig.window()->background()->runInBackground(), answer == QLatin1String("offerAccept"));
        }
        QCOMPARE(QFile::exists(AutostartEntry::path()), name == QLatin1String("autostartSwitch"));
        rig.click(knob);
        QTRY_COMPARE(rig.evaluate(setting), QVariant(false));
        QVERIFY(!knob->property("checked").toBool());
        QVERIFY(!QFile::exists(AutostartEntry::path()));
        QVERIFY(rig.takeSetters().isEmpty());
    }

    // Each page of each model and each settings tab, in both languages and at three scales: the
    // document and picture of each page, the layout; the settings dialog scaled and centred.
    void everyPageFits_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("scale");
        for (const double scale : {1.0, 1.5, 2.0}) {
            for (const QString model : {"vx02", "vx01"}) {
                for (const QString &language : {kChinese, kEnglish})
                    QTest::addRow("%.1f %s %s", scale, qPrintable(model), qPrintable(language))
                        << model << language << scale;
            }
        }
    }

    void everyPageFits()
    {
        QFETCH(QString, model);
        QFETCH(QString, language);
        QFETCH(double, scale);
        MessageCapture capture;
        SceneRig rig(model);
        rig.setLanguage(language);
        rig.setScale(scale);
        // The pages show the device's settings from the first poll on.
        QVERIFY(rig.waitInStep());

        const QStringList navs{"navHardware", "navVolume", "navEffect"};
        const QStringList pages{"PageHardwareSet_", "PageVolumeSet_", "PageSoundChoice_"};
        const QStringList pictures{"Hardware.png", "Volume.png", "Effect.png"};
        const QString suffix = QStringLiteral("-%1-%2").arg(language == kEnglish ? "en" : "zh").arg(scale, 0, 'f', 1);
        // Nothing below `layer` cut short, painted over another or outside it; a screenshot.
        const auto fits = [&](QQuickItem *layer, const QString &name) {
            QVERIFY(!rig.saveScreenshot(name + suffix).isEmpty());
            const QRectF bounds = layer->mapRectToScene(QRectF(QPointF(0, 0), layer->size()));
            const QStringList problems = SceneRig::layoutProblems(layer, bounds, 3 * scale);
            QVERIFY2(problems.isEmpty(), qPrintable(name + QLatin1Char('\n') + problems.join('\n')));
        };
        const QRectF window(QPointF(0, 0), rig.root()->size());
        for (int i = 0; i < navs.size(); ++i) {
            rig.click(rig.item(navs[i]));
            QCOMPARE(rig.pageSource(), kPages + pages[i] + model + QStringLiteral(".qml"));
            QCOMPARE(picture(rig), kPictures + model + (language == kEnglish ? kEnglish : QString()) + pictures[i]);
            QTRY_COMPARE(rig.find(QStringLiteral("devicePicture"))->property("status").toInt(), 1);
            fits(rig.root(), model + QLatin1Char('-') + pictures[i].chopped(4).toLower());
            if (language == kEnglish)
                QCOMPARE(SceneRig::untranslated(rig.page()), QStringList());
        }

        QObject *dialog = rig.find(QStringLiteral("dialogSeting"));
        // About last: its firmware query leaves the next poll an answer of its own.
        for (const char *tab : {"generalTab", "helpTab", "aboutTab"}) {
            openSettings(rig, tab);
            auto *popup = qobject_cast<QQuickItem *>(dialog->property("contentItem").value<QObject *>())->parentItem();
            QCOMPARE(popup->size(), QSizeF(430 * scale, 288 * scale));
            QCOMPARE(popup->mapToItem(rig.root(), QPointF(0, 0)),
                     QPointF((window.width() - 430 * scale) / 2, (window.height() - 288 * scale) / 2));
            fits(popup, QStringLiteral("settings-%1-%2").arg(QLatin1String(tab).chopped(3), model));
            if (qstrcmp(tab, "generalTab") == 0) {
                // The offer of "Restore last settings", over the dialog.
                rig.window()->settingsRestorer()->setEnabled(false);
                rig.window()->background()->setRunInBackground(false);
                rig.click(rig.item(QStringLiteral("restoreSwitch"))->findChild<QQuickItem *>(QStringLiteral("toggle")));
                QObject *offer = rig.find(QStringLiteral("backgroundOffer"));
                QTRY_VERIFY(offer->property("opened").toBool());
                auto *box = qobject_cast<QQuickItem *>(offer->property("contentItem").value<QObject *>())->parentItem();
                QCOMPARE(box->size(), QSizeF(300 * scale, 124 * scale));
                QCOMPARE(rig.item(QStringLiteral("offerText"))->property("font").value<QFont>().pixelSize(),
                         qRound(14 * scale));
                fits(box, QStringLiteral("settings-offer-") + model);
                rig.click(rig.item(QStringLiteral("offerDecline")));
                QTRY_VERIFY(!offer->property("visible").toBool());
                rig.window()->settingsRestorer()->setEnabled(false);
            }
            // A click beside it closes it (also where the window cannot take the keyboard).
            rig.click(rig.root(), QPointF(2, window.height() - 2));
            QTRY_VERIFY(!dialog->property("visible").toBool());
        }
        QVERIFY2(SceneRig::sceneWarnings(capture).isEmpty(), qPrintable(SceneRig::sceneWarnings(capture).join('\n')));
    }

    // Every part grows by the scale, measured on the pixels drawn: the navigation highlight (32
    // high), a switch's knob (12) and track (24), a slider's handle (16); the window and panel.
    void partsGrowWithTheScale_data()
    {
        QTest::addColumn<double>("scale");
        for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0})
            QTest::addRow("%.2f", scale) << scale;
    }

    void partsGrowWithTheScale()
    {
        QFETCH(double, scale);
        SceneRig rig(QStringLiteral("vx02"));
        rig.setScale(scale);
        // On a screen that Qt scales itself the grab has device pixels: the design grows by both.
        const qreal ratio = rig.view()->devicePixelRatioF();
        const double pixels = scale * ratio;
        const auto centre = [ratio](QQuickItem *item) {
            return (item->mapToScene(QPointF(item->width() / 2, item->height() / 2)) * ratio).toPoint();
        };
        // Edges drawn with antialiasing may be left out, one pixel each.
        const auto near = [pixels](int measured, double design) {
            QVERIFY2(qAbs(measured - design * pixels) <= 2.5, qPrintable(QString::number(measured)));
        };

        QQuickItem *nav = rig.item(QStringLiteral("navHardware"));
        const QImage shot = rig.grab();
        const QPoint navLeft((nav->mapToScene(QPointF(4 * scale, 0)) * ratio).toPoint().x(), centre(nav).y());
        near(runThrough(shot, navLeft, Qt::Vertical, QColor("#5E17CC")), 32);

        QQuickItem *knob = rig.item(QStringLiteral("putInside"))->findChild<QQuickItem *>(QStringLiteral("toggle"));
        auto *indicator = knob->property("indicator").value<QQuickItem *>();
        const QPoint knobCentre = centre(indicator) - QPoint(int(6 * pixels), 0);
        near(runThrough(shot, knobCentre, Qt::Vertical, QColor("#E5E5E5")), 12);
        near(runThrough(shot, knobCentre, Qt::Horizontal, QColor("#E5E5E5"))
                 + runThrough(shot, centre(indicator) + QPoint(int(3 * pixels), 0), Qt::Horizontal, QColor("#383A3E")),
             24);

        rig.click(rig.item(QStringLiteral("navVolume")));
        QQuickItem *slider = rig.item(QStringLiteral("volumeRow0"))->findChild<QQuickItem *>(QStringLiteral("slider"));
        const QImage volumes = rig.grab();
        near(runThrough(volumes, centre(slider->property("handle").value<QQuickItem *>()), Qt::Horizontal,
                        QColor("#E5E5E5")),
             16);
        // The number beside it is white on grey with grey-scale antialiasing: no coloured fringe.
        QQuickItem *field = rig.item(QStringLiteral("volumeRow0"))->findChild<QQuickItem *>(QStringLiteral("field"));
        const QRect box = QRectF(field->mapToScene(QPointF(0, 0)) * ratio, field->size() * ratio).toRect();
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor c = volumes.pixelColor(x, y);
                QVERIFY2(qMax(qAbs(c.red() - c.green()), qAbs(c.green() - c.blue())) <= 6, qPrintable(c.name()));
            }
        }

        QCOMPARE(rig.window()->size(), QSize(int(802 * scale), int(482 * scale)));
        QCOMPARE(rig.window()->recordWidget()->geometry(),
                 QRect(1, int(482 * scale), int(802 * scale), int(150 * scale)));
        for (const char *button : {"btnRecord", "btnPauseGo", "btnSave"})
            QCOMPARE(rig.window()->recordWidget()->findChild<QToolButton *>(QLatin1String(button))->iconSize(),
                     QSize(int(40 * scale), int(40 * scale)));
    }

    // A language picked in the general page's list retranslates the page on screen and the
    // picture, and is stored; the Chinese pictures have no infix.
    void languageSwitchSwapsTextsAndPicture()
    {
        SceneRig rig(QStringLiteral("vx01"));
        chooseLanguage(rig, kChinese);
        rig.click(rig.item(QStringLiteral("navEffect")));
        chooseLanguage(rig, kEnglish);
        QCOMPARE(rig.text(QStringLiteral("navEffect")), QStringLiteral("SOUND EFFECT"));
        QCOMPARE(rig.evaluate(QStringLiteral("Tran.getLanguage()")).toString(), kEnglish);
        chooseLanguage(rig, kChinese);
        QCOMPARE(picture(rig), kPictures + QStringLiteral("vx01Effect.png"));
        QCOMPARE(rig.evaluate(QStringLiteral("Tran.getLanguage()")).toString(), kChinese);
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageSoundChoice_vx01.qml"));
    }

    // Before any device: the version line, red status, the vx02's pages. Connect while the volume
    // page shows, unplug, replug: the page stays. A silent device is shown as such.
    void connectUnplugReplug()
    {
        MessageCapture capture;
        SceneRig rig;
        rig.setLanguage(kChinese);
        const auto serialShown = [&rig](const QString &serial, const char *colour) {
            QCOMPARE(rig.text(QStringLiteral("snText")), QStringLiteral(" | SN: ") + serial);
            QCOMPARE(rig.find(QStringLiteral("snText"))->property("color").value<QColor>(), QColor(colour));
            QCOMPARE(rig.items(QStringLiteral("devStateConnect")).size(), serial.isEmpty() ? 0 : 1);
            QCOMPARE(rig.items(QStringLiteral("devStateNoConnect")).size(), serial.isEmpty() ? 1 : 0);
        };
        QCOMPARE(rig.text(QStringLiteral("titleText")), kVersionLine);
        QVERIFY(rig.pageSource().isEmpty());
        QCOMPARE(rig.text(QStringLiteral("devStateNoConnect")), QStringLiteral("设备未连接"));
        serialShown(QString(), "red");
        QCOMPARE(picture(rig), kPictures + QStringLiteral("vx02Hardware.png"));
        rig.click(rig.item(QStringLiteral("navVolume")));
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageVolumeSet_vx02.qml"));
        QVERIFY(rig.find(QStringLiteral("navVolume"))->property("checked").toBool());
        QCOMPARE(picture(rig), kPictures + QStringLiteral("vx02Volume.png"));

        QVERIFY(rig.plug(QStringLiteral("vx01")));
        const QString serial = rig.window()->soundCard()->getSNCode();
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageVolumeSet_vx01.qml"));
        // The picture shows the page whose button is checked, of the model on screen.
        QCOMPARE(picture(rig), kPictures + QStringLiteral("vx01Volume.png"));
        QCOMPARE(rig.text(QStringLiteral("titleText")), QStringLiteral("Vorlet Cantor 10 MK2 Control 1.0.0.11"));
        serialShown(serial, "green");
        QPointer<QQuickItem> page = rig.page();
        QVERIFY(page);

        QVERIFY(rig.unplug(QStringLiteral("vx01")));
        serialShown(QString(), "red");
        QCOMPARE(rig.text(QStringLiteral("titleText")), QStringLiteral("Vorlet Cantor 10 MK2 Control 1.0.0.11"));
        QCOMPARE(rig.page(), page.data());
        // Its pages stay on screen, so a language change keeps its picture.
        rig.setLanguage(kEnglish);
        QCOMPARE(picture(rig), kPictures + QStringLiteral("vx01EnglishVolume.png"));
        rig.setLanguage(kChinese);

        QVERIFY(rig.plug(QStringLiteral("vx01")));
        QCOMPARE(rig.page(), page.data());
        serialShown(serial, "green");
        // Taking the device over again sends nothing back to it.
        QCOMPARE(rig.takeSetters(), QStringList());

        rig.setLanguage(kEnglish);
        QCOMPARE(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device connected"));
        QVERIFY(rig.setFailure(EmulatedFailure::Silent));
        QTRY_COMPARE_WITH_TIMEOUT(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device not responding"),
                                  5000);
        QCOMPARE(rig.find(QStringLiteral("devStateConnect"))->property("color").value<QColor>(), QColor("red"));
        QVERIFY(!rig.saveScreenshot(QStringLiteral("vx01-not-responding")).isEmpty());
        QVERIFY(rig.setFailure(EmulatedFailure::None));
        QTRY_COMPARE_WITH_TIMEOUT(rig.text(QStringLiteral("devStateConnect")), QStringLiteral("Device connected"),
                                  5000);
        QVERIFY2(SceneRig::sceneWarnings(capture).isEmpty(), qPrintable(SceneRig::sceneWarnings(capture).join('\n')));
    }

    // The settings popup: tabs, pages, connection while help shows; the keyboard.
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
        QCOMPARE(rig.text(QStringLiteral("firmwareText")), QStringLiteral("固件版本号:"));
        rig.click(rig.item(QStringLiteral("helpTab")));
        QCOMPARE(dialogPage(rig), QStringLiteral("qrc:/Qml/settingDialog/helpPage.qml"));

        QVERIFY(rig.plug(QStringLiteral("vx02")));
        QCOMPARE(dialogPage(rig), QStringLiteral("qrc:/Qml/settingDialog/generalPage.qml"));
        QVERIFY(rig.find(QStringLiteral("generalTab"))->property("checked").toBool());
        QVERIFY(!rig.find(QStringLiteral("helpTab"))->property("checked").toBool());
        QCOMPARE(rig.text(QStringLiteral("modelText")), QStringLiteral("Vorlet Stage 20 MK2"));

        // The version the device gives, asked for when the page opens.
        rig.click(rig.item(QStringLiteral("aboutTab")));
        QTRY_COMPARE(rig.text(QStringLiteral("firmwareText")), QStringLiteral("固件版本号:V1.4.1c"));
        QVERIFY(dialog->property("opened").toBool());
        rig.key(Qt::Key_Escape);
        QTRY_VERIFY(!dialog->property("visible").toBool());

        // From the keyboard alone: Tab reaches the page buttons, the gear and the tabs, Space
        // picks them, Escape closes the settings again.
        QVERIFY(rig.tabTo(rig.item(QStringLiteral("navEffect"))));
        rig.key(Qt::Key_Space);
        QCOMPARE(rig.pageSource(), kPages + QStringLiteral("PageSoundChoice_vx02.qml"));
        QVERIFY(rig.tabTo(rig.item(QStringLiteral("settingButton"))));
        rig.key(Qt::Key_Space);
        QTRY_VERIFY(dialog->property("opened").toBool());
        QVERIFY(rig.tabTo(rig.item(QStringLiteral("helpTab"))));
        rig.key(Qt::Key_Space);
        QCOMPARE(dialogPage(rig), QStringLiteral("qrc:/Qml/settingDialog/helpPage.qml"));
        rig.key(Qt::Key_Escape);
        QTRY_VERIFY(!dialog->property("visible").toBool());

        QVERIFY(rig.unplug(QStringLiteral("vx02")) && rig.plug(QStringLiteral("vx01")));
        openSettings(rig, "aboutTab");
        QTRY_COMPARE(rig.text(QStringLiteral("firmwareText")), QStringLiteral("固件版本号:2.13"));
    }

    // The about and help pages' links open their addresses by mouse and keyboard, also where
    // English shows blanks for them.
    void linksOpenTheBrowser()
    {
        const QString site = QStringLiteral("https://www.vorlet.example");
        const QString video = QStringLiteral("https://video.example/vorlet");
        const QString blog = QStringLiteral("https://microblog.example/vorlet");
        const struct
        {
            QString language;
            const char *tab, *link;
            QString url, shown;
        } links[] = {
            {kChinese, "aboutTab", "videoLink", video, QStringLiteral("哔哩哔哩：") + video},
            {kEnglish, "aboutTab", "webSiteLink", site, QStringLiteral("Official Website: ") + site},
            {kEnglish, "aboutTab", "videoLink", video, QStringLiteral(" ")},
            {kEnglish, "aboutTab", "microblogLink", blog, QStringLiteral(" ")},
            {kEnglish, "helpTab", "faqLink", site + "/faq", QStringLiteral("More FAQs >>")},
            {kEnglish, "helpTab", "helpButton0", site + "/help", QStringLiteral("Help Center")},
            {kEnglish, "helpTab", "helpButton1", site + "/manual", QStringLiteral("Manual")},
            {kEnglish, "helpTab", "helpButton2", site + "/feedback", QStringLiteral("Feedback")},
        };
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        SceneRig rig;
        for (const auto &link : links) {
            rig.setLanguage(link.language);
            openSettings(rig, link.tab);
            QQuickItem *line = rig.item(QLatin1String(link.link));
            QVERIFY2(line && line->property("text").toString() == link.shown, link.link);
            catcher.opened.clear();
            rig.click(line, QPointF(2, line->height() / 2));
            line->forceActiveFocus();
            rig.key(Qt::Key_Space);
            QVERIFY2(catcher.opened == (QList<QUrl>{QUrl(link.url), QUrl(link.url)}), link.link);
            rig.key(Qt::Key_Escape);
            QTRY_VERIFY(!rig.find(QStringLiteral("dialogSeting"))->property("visible").toBool());
        }
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    // The title bar's buttons and the recording toggle act on the window.
    void windowButtons()
    {
        SceneRig rig(QStringLiteral("vx02"));
        MainWidget *window = rig.window();
        QQuickItem *toggle = rig.item(QStringLiteral("recordToggle"));
        // The whole picture takes the click: its chevron (three quarters across) and its dot.
        const QQuickItem *picture = toggle->property("background").value<QQuickItem *>()->childItems().first();
        rig.click(toggle, QPointF(picture->width() * 0.75, picture->height() / 2));
        QVERIFY(toggle->property("checked").toBool());
        QVERIFY(toggle->property("btnImgUrl").toString().endsWith(QLatin1String("Recording_collapse.png")));
        QVERIFY(window->recordWidget()->isVisible());
        rig.click(toggle, QPointF(picture->width() * 0.25, picture->height() / 2));
        QVERIFY(!toggle->property("checked").toBool());
        QVERIFY(toggle->property("btnImgUrl").toString().endsWith(QLatin1String("Recording_expand.png")));
        QVERIFY(!window->recordWidget()->isVisible());

        // Held down, a title button keeps showing its icon.
        QQuickItem *gear = rig.item(QStringLiteral("settingButton"));
        QTest::mousePress(rig.view(), Qt::LeftButton, Qt::NoModifier, rig.toView(gear));
        QVERIFY(gear->property("btnImgUrl").toString().endsWith(QLatin1String("icon_setting_click.png")));
        QTest::mouseRelease(rig.view(), Qt::LeftButton, Qt::NoModifier, rig.toView(gear));
        rig.key(Qt::Key_Escape);
        rig.click(rig.item(QStringLiteral("minimizeButton")));
        QTRY_VERIFY(window->windowState() & Qt::WindowMinimized);
        window->showNormal();
        rig.click(rig.item(QStringLiteral("closeButton")));
        QTRY_VERIFY(!window->isVisible());
    }
};

SCENE_TEST_MAIN(TestMainView)
#include "tst_mainview.moc"
