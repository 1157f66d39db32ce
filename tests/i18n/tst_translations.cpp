#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// Collects the texts that the program's sources mark for translation, merged into a copy of the
// English file by lupdate, and fails on every one without a finished English translation.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void everySourceTextHasItsEnglish()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
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

        QFile file(merged);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        QStringList missing;
        int messages = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const bool unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
                if (unfinished || xml.readElementText().isEmpty())
                    missing << context + QLatin1String(": ") + source;
            }
        }
        QVERIFY(!xml.hasError());
        QVERIFY(messages > 0);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("no English in i18n/i18n_en.ts for:\n  ")
                            + missing.join(QStringLiteral("\n  "))));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
