#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>

// Writes a log line when the machine is about to sleep, wakes up, or the session or the system
// ends. All of it comes from logind on the system bus (PrepareForSleep, PrepareForShutdown),
// and the end of a desktop session also from the session manager. Sleep, wake and the end are
// also announced to whoever keeps the device's settings, who writes them then. To get that done
// before the machine sleeps or powers off, a "delay" inhibitor lock on both is held and given
// up right after the announcement (taken again on wake, or when a shutdown is called off). The
// device is neither closed nor reopened.
class PowerEventWatcher : public QObject
{
    Q_OBJECT
public:
    explicit PowerEventWatcher(QObject *parent = nullptr);

    // True when logind's signals are subscribed.
    bool watchesSleep() const;
    // True while the delay lock is held.
    bool holdsDelayLock() const;

signals:
    void aboutToSleep();
    void wokeUp();
    // The session or the system ends (told by either source, maybe both): write what must not
    // be lost now.
    void sessionEnding();

public slots:
    void onPrepareForSleep(bool sleeping);
    void onPrepareForShutdown(bool shuttingDown);
    void onEndOfSession();

signals:
    // The delay lock was taken (true) or given up (false).
    void delayLockChanged(bool held);

private:
    void takeDelayLock();
    void releaseDelayLock();

    bool m_watchesSleep = false;
    bool m_sessionEndLogged = false;
    QDBusUnixFileDescriptor m_delayLock;
};
