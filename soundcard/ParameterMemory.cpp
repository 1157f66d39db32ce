#include "soundcard/ParameterMemory.h"

namespace {
const QString kRestoreKey = QStringLiteral("RestoreLastSettings");
const QString kGroup = QStringLiteral("LastSettings/");
} // namespace

// The program's own settings, whichever program (the panel or vorletctl) asks.
ParameterMemory::ParameterMemory()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brindle"), QStringLiteral("vorlet"))
{
}

bool ParameterMemory::restoreEnabled() const
{
    m_settings.sync();
    return m_settings.value(kRestoreKey, false).toBool();
}

void ParameterMemory::setRestoreEnabled(bool on)
{
    m_settings.setValue(kRestoreKey, on);
    m_settings.sync();
}

bool ParameterMemory::remember(const QString &serial, const QByteArray &profile)
{
    m_settings.setValue(keyOf(serial), QString::fromUtf8(profile));
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

QByteArray ParameterMemory::recall(const QString &serial) const
{
    m_settings.sync();
    return m_settings.value(keyOf(serial)).toString().toUtf8();
}

// A serial number is a key of its own, never a path of groups.
QString ParameterMemory::keyOf(const QString &serial)
{
    QString key = serial;
    key.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return kGroup + key;
}
