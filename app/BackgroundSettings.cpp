#include "app/BackgroundSettings.h"

#include "app/AutostartEntry.h"

#include <QFile>

namespace {
const QString kRunInBackgroundKey = QStringLiteral("RunInBackground");
const QString kAutostartKey = QStringLiteral("Autostart");
} // namespace

BackgroundSettings::BackgroundSettings(QObject *parent)
    : QObject(parent)
    , m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brindle"), QStringLiteral("vorlet"))
{
    // Reached by the scene through a property of the main window.
    qRegisterMetaType<BackgroundSettings *>();
}

bool BackgroundSettings::runInBackground() const
{
    m_settings.sync();
    return m_settings.value(kRunInBackgroundKey, false).toBool();
}

void BackgroundSettings::setRunInBackground(bool on)
{
    if (on == runInBackground())
        return;
    m_settings.setValue(kRunInBackgroundKey, on);
    m_settings.sync();
    qInfo("run in the background: %s", on ? "on" : "off");
    emit runInBackgroundChanged(on);
}

bool BackgroundSettings::autostart() const
{
    m_settings.sync();
    return m_settings.value(kAutostartKey, false).toBool() && QFile::exists(AutostartEntry::path());
}

bool BackgroundSettings::switchAutostart(bool on, QString *error)
{
    const bool done = on ? AutostartEntry::write(AutostartEntry::panelProgram(), error) : AutostartEntry::remove(error);
    if (!done)
        return false;
    m_settings.setValue(kAutostartKey, on);
    m_settings.sync();
    qInfo("start at login: %s (%s)", on ? "on" : "off", qPrintable(AutostartEntry::path()));
    return true;
}

void BackgroundSettings::setAutostart(bool on)
{
    QString error;
    if (on != autostart() && !switchAutostart(on, &error))
        qWarning("start at login: %s", qPrintable(error));
    emit autostartChanged(autostart());
}
