#include "app/AppearanceSettings.h"

namespace {
const QString kHighContrastKey = QStringLiteral("HighContrast");
} // namespace

AppearanceSettings::AppearanceSettings(QObject *parent)
    : QObject(parent)
    , m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brindle"), QStringLiteral("vorlet"))
    , m_highContrast(highContrast())
{
    // Reached by the scene through a property of the main window.
    qRegisterMetaType<AppearanceSettings *>();
}

bool AppearanceSettings::highContrast() const
{
    m_settings.sync();
    return m_settings.value(kHighContrastKey, false).toBool();
}

void AppearanceSettings::setHighContrast(bool on)
{
    if (on != highContrast()) {
        m_settings.setValue(kHighContrastKey, on);
        m_settings.sync();
    }
    reload();
}

void AppearanceSettings::reload()
{
    const bool on = highContrast();
    if (on == m_highContrast)
        return;
    m_highContrast = on;
    qInfo("high contrast: %s", on ? "on" : "off");
    emit highContrastChanged(on);
}
