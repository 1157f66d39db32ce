#pragma once

#include <QObject>
#include <QSettings>

// The program's life without its window, kept with its other settings (both off by default):
// run in the background (closing the window hides it; detection, restoring and the D-Bus
// interface go on) and start at login (the desktop's autostart entry, which starts the panel
// hidden). The panel and vorletctl both switch them; every read takes what is stored now.
class BackgroundSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool runInBackground READ runInBackground WRITE setRunInBackground NOTIFY runInBackgroundChanged)
    Q_PROPERTY(bool autostart READ autostart WRITE setAutostart NOTIFY autostartChanged)
public:
    explicit BackgroundSettings(QObject *parent = nullptr);

    // Where the options are kept: the program's settings file and the autostart entry.
    QStringList files() const;

    bool runInBackground() const;
    // On while the choice is stored and the entry is there (the desktop may remove it).
    bool autostart() const;
    // Writes or removes the autostart entry, then keeps the choice; false with the reason in
    // *error, and the choice as it was.
    bool switchAutostart(bool on, QString *error);

signals:
    void runInBackgroundChanged(bool on);
    void autostartChanged(bool on);

public slots:
    void setRunInBackground(bool on);
    // A failure is logged; the switch that asked shows the state again.
    void setAutostart(bool on);
    // Reads both options again after their files changed (vorletctl, a second program or the
    // desktop may switch them): told only where they differ from what was shown.
    void reload();

private:
    mutable QSettings m_settings;
    // The options as last told.
    bool m_runInBackground;
    bool m_autostart;
};
