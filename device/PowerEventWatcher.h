#pragma once

#include <QObject>

// Writes a log line when the machine is about to sleep, wakes up, or the session ends. Sleep and
// wake come from logind on the system bus; the end of the session from the session manager.
// The device is neither closed nor reopened; sleep and wake are also announced to whoever keeps
// the device's settings.
class PowerEventWatcher : public QObject
{
    Q_OBJECT
public:
    explicit PowerEventWatcher(QObject *parent = nullptr);

    // True when logind's sleep signal is subscribed.
    bool watchesSleep() const;

signals:
    void aboutToSleep();
    void wokeUp();

public slots:
    void onPrepareForSleep(bool sleeping);
    void onEndOfSession();

private:
    bool m_watchesSleep = false;
};
