#include "i18n/Trans.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kChinese = QStringLiteral("简体中文");
const QString kEnglish = QStringLiteral("English");

// What the installed translators make of a text of the scene.
QString shown()
{
    return QCoreApplication::translate("PanelesRight", "设备未连接");
}
} // namespace

class TestTrans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The stored choice lives in this test's own settings folder.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void init() { QFile::remove(m_config.filePath(QStringLiteral("Vorlet/vx02.conf"))); }

    void startLanguageFollowsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("Chinese system") << "zh_CN" << kChinese << "设备未连接";
        QTest::newRow("Taiwanese locale, same language code") << "zh_TW" << kChinese << "设备未连接";
        QTest::newRow("English system") << "en_GB" << kEnglish << "No device found";
        QTest::newRow("German system falls back to English") << "de_DE" << kEnglish << "No device found";
    }

    void startLanguageFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QFETCH(QString, text);
        Trans trans(nullptr, nullptr, locale);
        QCOMPARE(trans.languageList(), QStringList({kEnglish, kChinese}));
        QCOMPARE(trans.currentLanguage(), language);
        QCOMPARE(shown(), text);
        QCOMPARE(trans.getLanguage(), QString());
        // Switching to the current language, or to none, does nothing.
        QSignalSpy changed(&trans, &Trans::currentLanguageChanged);
        trans.reTrans(language);
        trans.reTrans(QString());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(trans.currentLanguage(), language);
    }

    // The next start shows the locale's language first, then the scene restores the stored one
    // and its texts follow. An unknown language shows the source texts.
    void storedLanguageAtTheNextStart_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("English on a Chinese system") << "zh_CN" << kEnglish << "No device found";
        QTest::newRow("unknown language") << "en_US"
                                          << "Klingon"
                                          << "设备未连接";
    }
    void storedLanguageAtTheNextStart()
    {
        QFETCH(QString, locale);
        QFETCH(QString, stored);
        QFETCH(QString, text);
        {
            Trans first(nullptr, nullptr, locale);
            first.setLanguage(stored);
            // Storing alone changes nothing on screen.
            QVERIFY(first.currentLanguage() != stored);
            QVERIFY(shown() != text);
            QVERIFY(QFile::exists(m_config.filePath(QStringLiteral("Vorlet/vx02.conf"))));
        }
        QQmlEngine engine;
        Trans next(&engine, nullptr, locale);
        QQmlComponent component(&engine);
        component.setData(
            "import QtQuick 2.15\nItem { property string label: qsTranslate(\"PanelesRight\", \"设备未连接\") }",
            QUrl());
        std::unique_ptr<QObject> item(component.create());
        QVERIFY2(item, qPrintable(component.errorString()));
        QVERIFY(item->property("label").toString() != text);
        QSignalSpy changed(&next, &Trans::currentLanguageChanged);
        next.reTrans(next.getLanguage());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toString(), stored);
        QCOMPARE(item->property("label").toString(), text);
    }

    // The texts the program's sources mark for translation, merged into a copy of the English
    // file by lupdate: every one has a finished English translation.
    void everySourceTextHasItsEnglish()
    {
        QTemporaryDir scratch;
        const QDir root(QStringLiteral(SOURCE_ROOT));
        const QString merged = scratch.filePath(QStringLiteral("i18n_en.ts"));
        QVERIFY(QFile::copy(root.filePath(QStringLiteral("i18n/i18n_en.ts")), merged));
        QFile::setPermissions(merged, QFile::ReadOwner | QFile::WriteOwner);

        QStringList arguments;
        for (const char *dir : {"app", "device", "soundcard", "i18n", "record", "Qml", "OrbitQuick", "cli"}) {
            if (root.exists(QString::fromLatin1(dir)))
                arguments << root.filePath(QString::fromLatin1(dir));
        }
        arguments << QStringLiteral("-extensions") << QStringLiteral("cpp,h,ui,qml,js")
                  << QStringLiteral("-no-obsolete") << QStringLiteral("-ts") << merged;
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUPDATE_BINARY), arguments);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        // lrelease counts the texts without a finished English translation.
        QProcess lrelease;
        lrelease.setProcessChannelMode(QProcess::MergedChannels);
        lrelease.start(QStringLiteral(LRELEASE_BINARY), {merged, QStringLiteral("-qm"), scratch.filePath("en.qm")});
        QVERIFY(lrelease.waitForFinished(60000));
        const QString summary = QString::fromLocal8Bit(lrelease.readAll());
        const QRegularExpression complete(
            QStringLiteral("Generated [1-9]\\d* translation\\(s\\) \\(\\d+ finished and 0 "));
        QVERIFY2(complete.match(summary).hasMatch() && !summary.contains(QLatin1String("untranslated")),
                 qPrintable("texts without English (lupdate marks them unfinished in i18n/i18n_en.ts):\n" + summary));
        QFile file(merged);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(!file.readAll().contains("<translation></translation>"), "an empty English translation");
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestTrans)
#include "tst_trans.moc"
