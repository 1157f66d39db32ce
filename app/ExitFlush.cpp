#include "app/ExitFlush.h"

#include "soundcard/SettingsRestorer.h"

#include <cstdlib>
#include <utility>

namespace {
SettingsRestorer *g_restorer = nullptr;
} // namespace

ExitFlush::ExitFlush(SettingsRestorer *restorer)
{
    g_restorer = restorer;
    // Handlers run in the reverse order of their registration, Qt's global objects' destructors
    // among them: registered after the settings were first used, this runs while they exist.
    static const bool registered = std::atexit(&ExitFlush::onExit) == 0;
    Q_UNUSED(registered);
}

ExitFlush::~ExitFlush()
{
    g_restorer = nullptr;
}

void ExitFlush::onExit()
{
    if (SettingsRestorer *restorer = std::exchange(g_restorer, nullptr))
        restorer->flush();
}
