#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>

// Writes a log line when the machine is about to sleep, wakes up, or the session or the system
// ends. All of it comes from logind on the system bus (PrepareForSleep, PrepareForShutdown),
// and the end of a desktop session also from the session manager. To get the sleep line
// written before the machine sleeps, a "delay" inhibitor lock is held while awake and given up
// right after the line. The device is neither closed nor reopened; sleep and wake are also
// announced to whoever keeps the device's settings.
class PowerEventWatcher : public QObject
{
    Q_OBJECT
public:
    explicit PowerEventWatcher(QObject *parent = nullptr);

    // True when logind's signals are subscribed.
    bool watchesSleep() const;
    // True while the sleep delay lock is held.
    bool holdsSleepDelay() const;

signals:
    void aboutToSleep();
    void wokeUp();

public slots:
    void onPrepareForSleep(bool sleeping);
    void onPrepareForShutdown(bool shuttingDown);
    void onEndOfSession();

signals:
    // The sleep delay lock was taken (true) or given up (false).
    void sleepDelayChanged(bool held);

private:
    void takeSleepDelay();
    void releaseSleepDelay();

    bool m_watchesSleep = false;
    bool m_sessionEndLogged = false;
    QDBusUnixFileDescriptor m_sleepDelay;
};
