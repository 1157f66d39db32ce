#pragma once

#include <QString>

class QSharedMemory;

// Keeps one instance of the program per user and desktop session. The first instance creates a
// 4-byte shared segment under the key and later stores its main window's handle there; a second
// start finds the segment, asks the first instance to come forward and ends. The segment's key
// file, the lock that guards the decision and the activation socket are the session's own
// files (SessionFiles). Every wait is bounded: a second start ends within about two seconds
// whatever the first instance does.
class SingleInstance
{
public:
    // True when another instance owns the segment (it has been asked to come forward, if it
    // could be reached); false when this process created the segment and is the first.
    // A segment left behind by an instance that was killed is reclaimed.
    static bool otherInstanceRunning(QSharedMemory &segment, const QString &key);

    // Publishes the main window's handle for later starts.
    static void storeWindowHandle(QSharedMemory &segment, quint32 handle);

    static constexpr int kLockTimeoutMs = 1000;
    static constexpr int kActivationTimeoutMs = 1000;
};
