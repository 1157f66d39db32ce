#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that end a desktop program into its ordinary quit: SIGTERM (logout and
// shutdown: systemd stops the session's processes), SIGHUP (logind sends it right after SIGTERM;
// a closed terminal) and SIGINT (Ctrl+C). The handler only writes the signal's number into a
// pipe; the event loop reads it and asks to quit, so everything tied to quitting runs as for the
// tray's Quit: remembered settings written, the recording panel's work finished.
// The first signal decides; later ones while the program quits are logged and ignored, so that
// the SIGHUP that follows SIGTERM does not cut the quitting short. Crash signals stay with the
// crash handler. One instance at a time.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    // Gives the signals their earlier handling back.
    ~QuitSignals() override;

    // False when the pipe could not be made: the signals then end the program as before.
    bool isInstalled() const;
    // The status of a program that a signal ended, as a shell reports it: 128 + its number.
    static int exitCodeFor(int signal);

signals:
    // Once, for the first signal: quit with `exitCode` (exitCodeFor the signal).
    void quitRequested(int exitCode);

private:
    void onReadable();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};
