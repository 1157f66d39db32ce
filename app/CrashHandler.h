#pragma once

// Writes <per-user data folder>/<application name>.dmp when the process crashes (a fatal
// signal), then lets the system's ordinary handling follow. The file holds the signal, the
// fault address (or, for a signal sent by a process, that process's id), the crashing thread's
// id and a backtrace; a later crash replaces it. A stack overflow is reported on the main
// thread only, which alone has the handler's spare stack.
class CrashHandler
{
public:
    // Call after the application's organisation and name are set: the file's path is taken
    // from them now, because nothing in a signal handler may allocate.
    static void install();

    // The path the handler writes to (empty before install()).
    static const char *dumpPath();
};
