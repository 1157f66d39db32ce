// The images the scene and the recording window load by name: each one is compiled in under
// the name the code builds, at the pixel size the layout was drawn for, and is not blank.
#include <QImage>
#include <QMap>
#include <QSize>
#include <QStringList>
#include <QtTest>

namespace {

QString imagePath(const QString &name)
{
    return QStringLiteral(":/image/blackSkin/%1.png").arg(name);
}

// The navigation icons, at the size each was drawn.
const QMap<QString, QSize> kNavigation{{"硬件设置", {32, 23}}, {"音量设置", {28, 31}}, {"音效选择", {30, 28}}};

// Index of the first row in which the two images differ, or -1.
int firstDifferingRow(const QImage &a, const QImage &b)
{
    const int rows = qMin(a.height(), b.height());
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return y;
        }
    }
    return -1;
}

} // namespace

class TstArtwork : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");

        const auto row = [](const QString &name, QSize size) { QTest::newRow(qPrintable(name)) << name << size; };
        row(QStringLiteral("logo"), QSize(30, 32));
        for (const char *icon : {"setting", "minimize", "close"}) {
            for (const char *state : {"default", "click"})
                row(QStringLiteral("icon_%1_%2").arg(QLatin1String(icon), QLatin1String(state)), QSize(32, 32));
        }
        for (auto icon = kNavigation.cbegin(); icon != kNavigation.cend(); ++icon) {
            for (const QString &state : {QStringLiteral("默认"), QStringLiteral("点击")})
                row(QStringLiteral("icon_%1_%2").arg(icon.key(), state), icon.value());
        }
        // The left panel glues device type, language and page into the picture's name.
        for (const char *devType : {"vx01", "vx02"}) {
            for (const char *language : {"", "English"}) {
                for (const char *page : {"Hardware", "Volume", "Effect"}) {
                    const QString name = QLatin1String(devType) + QLatin1String(language) + QLatin1String(page);
                    row(name, name == QLatin1String("vx02Effect") ? QSize(420, 422) : QSize(420, 420));
                }
            }
        }
        row(QStringLiteral("Recording_expand"), QSize(42, 24));
        row(QStringLiteral("Recording_collapse"), QSize(42, 24));
        row(QStringLiteral("Button_Mute_On"), QSize(24, 24));
        row(QStringLiteral("mute_off"), QSize(24, 24));
        for (const char *button :
             {"Button_Play_On", "Button_Pause_Off", "Button_Stop_On", "Button_Recording_Off", "Button_Save"})
            row(QLatin1String(button), QSize(40, 40));
        row(QStringLiteral("vorlet"), QSize(64, 64));
    }

    void sizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);

        const QImage image(imagePath(name));
        QVERIFY2(!image.isNull(), qPrintable(imagePath(name) + QLatin1String(" is not in the resources")));
        QCOMPARE(image.size(), size);

        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        }
        QVERIFY2(opaque * 20 > image.width() * image.height() / 10, "image is (nearly) blank");
    }

    // Pairs that must differ: the states of a control, the pages of a device, the devices; and
    // the two language sets, which show the same device and differ only in the caption below it.
    void pairsDiffer_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("sameAbove"); // rows that must be the same
        const auto pair = [](const QString &first, const QString &second, int sameAbove = 0) {
            QTest::newRow(qPrintable(first + " / " + second)) << first << second << sameAbove;
        };
        for (const char *icon : {"setting", "minimize", "close"})
            pair(QStringLiteral("icon_%1_default").arg(QLatin1String(icon)),
                 QStringLiteral("icon_%1_click").arg(QLatin1String(icon)));
        for (const QString &icon : kNavigation.keys())
            pair(QStringLiteral("icon_%1_默认").arg(icon), QStringLiteral("icon_%1_点击").arg(icon));
        pair("Recording_expand", "Recording_collapse");
        pair("mute_off", "Button_Mute_On");
        pair("Button_Recording_Off", "Button_Stop_On");
        pair("Button_Play_On", "Button_Pause_Off");
        pair("vx01Hardware", "vx02Hardware");
        for (const QString devType : {"vx01", "vx02"}) {
            pair(devType + "EnglishHardware", devType + "EnglishVolume");
            pair(devType + "EnglishVolume", devType + "EnglishEffect");
            for (const QString page : {"Hardware", "Volume", "Effect"})
                pair(devType + page, devType + "English" + page, 341);
        }
    }

    void pairsDiffer()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, sameAbove);
        const QImage a = QImage(imagePath(first)).convertToFormat(QImage::Format_ARGB32);
        const QImage b = QImage(imagePath(second)).convertToFormat(QImage::Format_ARGB32);
        if (sameAbove == 0)
            QCOMPARE(a.size(), b.size());
        const int row = firstDifferingRow(a, b);
        QVERIFY2(row >= 0, "both show the same image");
        QVERIFY2(row >= sameAbove, qPrintable(QStringLiteral("the pictures already differ in row %1").arg(row)));
    }
};

QTEST_GUILESS_MAIN(TstArtwork)
#include "tst_artwork.moc"
