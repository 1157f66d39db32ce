#include "i18n/Trans.h"

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSettings>
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
        QTest::newRow("C locale") << "C" << kEnglish << "No device found";
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

    void storedEnglishOnAChineseSystem()
    {
        Trans first(nullptr, nullptr, QStringLiteral("zh_CN"));
        first.setLanguage(kEnglish);
        // Storing alone changes nothing on screen.
        QCOMPARE(first.currentLanguage(), kChinese);
        QCOMPARE(shown(), QStringLiteral("设备未连接"));
        QVERIFY(QFile::exists(m_config.filePath(QStringLiteral("Vorlet/vx02.conf"))));

        // The next start: the locale's language first, then the scene restores the stored one.
        Trans next(nullptr, nullptr, QStringLiteral("zh_CN"));
        QSignalSpy changed(&next, &Trans::currentLanguageChanged);
        next.reTrans(next.getLanguage());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toString(), kEnglish);
        QCOMPARE(shown(), QStringLiteral("No device found"));
    }

    void unknownLanguageShowsTheSourceTexts()
    {
        Trans trans(nullptr, nullptr, QStringLiteral("en_US"));
        QCOMPARE(shown(), QStringLiteral("No device found"));
        trans.setLanguage(QStringLiteral("Klingon"));
        QSignalSpy changed(&trans, &Trans::currentLanguageChanged);
        trans.reTrans(trans.getLanguage());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(trans.currentLanguage(), QStringLiteral("Klingon"));
        QCOMPARE(shown(), QStringLiteral("设备未连接"));
    }

    void switchingRetranslatesTheScene()
    {
        QQmlEngine engine;
        Trans trans(&engine, nullptr, QStringLiteral("zh_CN"));
        QQmlComponent component(&engine);
        component.setData(
            "import QtQuick 2.15\nItem { property string label: qsTranslate(\"PanelesRight\", \"设备未连接\") }",
            QUrl());
        std::unique_ptr<QObject> item(component.create());
        QVERIFY2(item, qPrintable(component.errorString()));
        QCOMPARE(item->property("label").toString(), QStringLiteral("设备未连接"));
        trans.reTrans(kEnglish);
        QCOMPARE(item->property("label").toString(), QStringLiteral("No device found"));
        trans.reTrans(kChinese);
        QCOMPARE(item->property("label").toString(), QStringLiteral("设备未连接"));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestTrans)
#include "tst_trans.moc"
