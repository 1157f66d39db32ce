#include "soundcard/BgmNames.h"

#include <QSettings>

namespace {

// The keys are fixed: the names are where every version of the panel kept them.
QString keyOf(int index)
{
    return QStringLiteral("cusKey%1").arg(index);
}

// The program's own settings, whichever program (the panel or vorletctl) asks.
QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brindle"),
                     QStringLiteral("vorlet"));
}

} // namespace

BgmNames::BgmNames(QObject *parent)
    : QObject(parent)
{
    // Reached by the scene through a property of the main window.
    qRegisterMetaType<BgmNames *>();
    reload();
}

void BgmNames::reload()
{
    QSettings stored(settings());
    QStringList names;
    // Plain defaults: a translated one would change with the language and hide the user's name.
    for (int i = 0; i < kCount; ++i)
        names << stored.value(keyOf(i), QString::number(i + 1)).toString();
    if (names == m_names)
        return;
    m_names = names;
    emit namesChanged();
}

void BgmNames::rename(int index, const QString &name)
{
    if (index < 0 || index >= kCount || name.trimmed().isEmpty() || name == m_names.at(index))
        return;
    m_names[index] = name;
    store();
    emit namesChanged();
}

bool BgmNames::setNames(const QStringList &names)
{
    if (names.size() != kCount)
        return false;
    if (names == m_names)
        return true;
    m_names = names;
    emit namesChanged();
    return store();
}

bool BgmNames::store()
{
    QSettings stored(settings());
    for (int i = 0; i < kCount; ++i)
        stored.setValue(keyOf(i), m_names.at(i));
    stored.sync();
    if (stored.status() == QSettings::NoError)
        return true;
    qWarning("the names of the sound-effect buttons could not be written to %s", qPrintable(stored.fileName()));
    return false;
}
