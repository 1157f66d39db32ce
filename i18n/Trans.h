#pragma once

#include <QMap>
#include <QObject>
#include <QSharedPointer>
#include <QStringList>

class QQmlEngine;
class QTranslator;

// The program's languages. Every translation file compiled into ":/i18n" is one language,
// named by the file's own translation of "TargetLanguage". At start the language of the system
// locale is installed (English when none matches); the scene restores the user's stored choice
// and switches with reTrans, after which the engine re-evaluates every qsTr text.
class Trans : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList languageList READ languageList NOTIFY languageListChanged)
    Q_PROPERTY(QString currentLanguage READ currentLanguage NOTIFY currentLanguageChanged)
public:
    // `systemLocale` is the locale name whose first two letters pick the start-up language.
    Trans(QQmlEngine *engine, QObject *parent, const QString &systemLocale = defaultLocaleName());

    QStringList languageList() const;
    QString currentLanguage() const;

    // Switches to `lang` now; an empty name or the current one changes nothing.
    Q_INVOKABLE void reTrans(QString lang);

    static QString defaultLocaleName();

signals:
    void languageListChanged();
    void currentLanguageChanged(QString currentLanguage);

public slots:
    // The stored choice, empty when none was stored.
    QString getLanguage();
    // Stores the choice for the next start; the language in use does not change.
    void setLanguage(QString language);

private:
    QMap<QString, QSharedPointer<QTranslator>> m_translators;
    QTranslator *m_currentTranslator = nullptr;
    QStringList m_languageList;
    QQmlEngine *m_engine;
    QString m_currentLanguage;
};
