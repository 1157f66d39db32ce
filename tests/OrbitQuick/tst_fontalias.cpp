// The scene's font family "Microsoft YaHei" must draw Chinese with the Simplified Chinese face of
// Noto Sans CJK: not boxes, not the Japanese glyph forms of the same collection.
#include "app/FontAlias.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTextLayout>

class TestFontAlias : public QObject
{
    Q_OBJECT
public:
    // Runs before the application object exists, as in main().
    static void initMain() { FontAlias::install(); }

private slots:
    void chineseUsesSimplifiedFace()
    {
        // 直 and 骨 differ between the Chinese and Japanese faces of the collection.
        const QString text = QStringLiteral("设备未连接直骨");
        QFont font(QStringLiteral("Microsoft YaHei"));
        font.setPixelSize(12);
        QTextLayout layout(text, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun &run : layout.glyphRuns()) {
            QCOMPARE(run.rawFont().familyName(), QStringLiteral("Noto Sans CJK SC"));
            for (quint32 index : run.glyphIndexes())
                QVERIFY2(index != 0, "a character has no glyph and shows as a box");
            glyphs += run.glyphIndexes().size();
        }
        QCOMPARE(glyphs, text.size());
    }

    void missingConfigurationIsReported()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("font alias not loaded: cannot read .*nowhere.conf"));
        QVERIFY(!FontAlias::install(QStringLiteral(":/fonts/nowhere.conf")));
    }
};

QTEST_MAIN(TestFontAlias)

#include "tst_fontalias.moc"
