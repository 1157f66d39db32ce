#pragma once

class SettingsRestorer;

// Writes the remembered settings that wait for their second when the process ends through
// exit() from inside the event loop, where main() never gets its turn: Qt's X11 platform does
// that when the connection to the display breaks (the X server went away with the session).
// Armed while an instance exists; one at a time.
class ExitFlush
{
public:
    explicit ExitFlush(SettingsRestorer *restorer);
    ~ExitFlush();

    ExitFlush(const ExitFlush &) = delete;
    ExitFlush &operator=(const ExitFlush &) = delete;

private:
    static void onExit();
};
