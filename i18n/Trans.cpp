#include "i18n/Trans.h"

#include "i18n/LanguageStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QQmlEngine>
#include <QTranslator>

namespace {
const char *const kTranslationDir = ":/i18n";
const char *const kFilePrefix = "i18n_";
const char *const kFallbackLanguage = "English";
} // namespace

Trans::Trans(QQmlEngine *engine, QObject *parent, const QString &systemLocale)
    : QObject(parent)
    , m_engine(engine)
{
    // Puts the message into every translation file; its translation names the language.
    (void)tr("TargetLanguage");

    const QDir dir(QString::fromLatin1(kTranslationDir));
    const QStringList files = dir.entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    const QString localeCode = systemLocale.left(2);
    bool localeMatched = false;
    for (const QString &file : files) {
        const QString path = dir.filePath(file);
        QTranslator probe;
        probe.load(path);
        const QString name = probe.translate("Trans", "TargetLanguage");
        m_languageList.append(name);

        QSharedPointer<QTranslator> translator(new QTranslator);
        translator->load(path);
        m_translators.insert(name, translator);

        const int at = path.indexOf(QLatin1String(kFilePrefix));
        if (at >= 0 && path.mid(at + int(qstrlen(kFilePrefix)), 2) == localeCode) {
            m_currentTranslator = translator.data();
            QCoreApplication::installTranslator(m_currentTranslator);
            m_currentLanguage = name;
            localeMatched = true;
        }
    }
    if (!localeMatched)
        reTrans(QString::fromLatin1(kFallbackLanguage));
    emit languageListChanged();
}

QStringList Trans::languageList() const
{
    return m_languageList;
}

QString Trans::currentLanguage() const
{
    return m_currentLanguage;
}

void Trans::reTrans(QString lang)
{
    if (lang == m_currentLanguage || lang.isEmpty())
        return;
    m_currentLanguage = lang;
    if (m_currentTranslator)
        QCoreApplication::removeTranslator(m_currentTranslator);
    // An unknown name enters the map without a translator: the source texts show.
    m_currentTranslator = m_translators[lang].data();
    if (m_currentTranslator)
        QCoreApplication::installTranslator(m_currentTranslator);
    if (m_engine)
        m_engine->retranslate();
    emit currentLanguageChanged(m_currentLanguage);
}

QString Trans::defaultLocaleName()
{
    return QLocale::system().name();
}

QString Trans::getLanguage()
{
    return LanguageStore::load();
}

void Trans::setLanguage(QString language)
{
    LanguageStore::save(language);
}
