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
    , m_runInBackground(runInBackground())
    , m_autostart(autostart())
{
    // Reached by the scene through a property of the main window.
    qRegisterMetaType<BackgroundSettings *>();
}

QStringList BackgroundSettings::files() const
{
    return {m_settings.fileName(), AutostartEntry::path()};
}

bool BackgroundSettings::runInBackground() const
{
    m_settings.sync();
    return m_settings.value(kRunInBackgroundKey, false).toBool();
}

void BackgroundSettings::setRunInBackground(bool on)
{
    if (on != runInBackground()) {
        m_settings.setValue(kRunInBackgroundKey, on);
        m_settings.sync();
    }
    reload();
}

bool BackgroundSettings::autostart() const
{
    m_settings.sync();
    return m_settings.value(kAutostartKey, false).toBool() && QFile::exists(AutostartEntry::path());
}

bool BackgroundSettings::switchAutostart(bool on, QString *error)
{
    if (on) {
        const QString program = AutostartEntry::panelProgram(error);
        if (program.isEmpty() || !AutostartEntry::write(program, error))
            return false;
    } else if (!AutostartEntry::remove(error)) {
        return false;
    }
    m_settings.setValue(kAutostartKey, on);
    m_settings.sync();
    return true;
}

void BackgroundSettings::setAutostart(bool on)
{
    QString error;
    if (on != autostart() && !switchAutostart(on, &error))
        qWarning("start at login: %s", qPrintable(error));
    const bool shown = m_autostart;
    reload();
    // Told even when nothing changed: the switch that asked shows the stored state again.
    if (m_autostart == shown)
        emit autostartChanged(shown);
}

void BackgroundSettings::reload()
{
    const bool run = runInBackground();
    if (run != m_runInBackground) {
        m_runInBackground = run;
        qInfo("run in the background: %s", run ? "on" : "off");
        emit runInBackgroundChanged(run);
    }
    const bool start = autostart();
    if (start != m_autostart) {
        m_autostart = start;
        qInfo("start at login: %s (%s)", start ? "on" : "off", qPrintable(AutostartEntry::path()));
        emit autostartChanged(start);
    }
}
