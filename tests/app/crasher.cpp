// Crashes on purpose in the way its argument names, after installing the crash handler the
// way the program does. Used by the crash-file test (tst_logwriter) only.
#include "app/CrashHandler.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdlib>
#include <cstring>

// Recurses until the stack is gone; the frame's buffer keeps the compiler from looping instead,
// and the depth it cannot know ends the recursion in its eyes only.
volatile int g_deepestAllowed = -1;

int overflow(int depth)
{
    if (depth == g_deepestAllowed)
        return 0;
    volatile char frame[1024];
    frame[0] = char(depth);
    return overflow(depth + 1) + frame[0];
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brindle"));
    QCoreApplication::setApplicationName(QStringLiteral("vorlet"));
    CrashHandler::install();

    const char *how = argc > 1 ? argv[1] : "segv";
    if (std::strcmp(how, "segv") == 0) {
        // Read through a volatile so the compiler cannot see the address.
        volatile std::uintptr_t address = 0x10;
        *reinterpret_cast<volatile int *>(address) = 1;
    } else if (std::strcmp(how, "abort") == 0) {
        std::abort();
    } else if (std::strcmp(how, "fpe") == 0) {
        std::raise(SIGFPE);
    } else if (std::strcmp(how, "bus") == 0) {
        std::raise(SIGBUS);
    } else if (std::strcmp(how, "ill") == 0) {
        std::raise(SIGILL);
    } else if (std::strcmp(how, "overflow") == 0) {
        return overflow(0);
    }
    return 0;
}
