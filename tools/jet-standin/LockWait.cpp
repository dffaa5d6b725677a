// The lock wait of the Jet stand-in.
#include "LockWait.h"

#include <cstdlib>

namespace jetstandin {
namespace {

int EnvironmentNumber(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return (*end == '\0' && value >= 0 && value <= 100000) ? static_cast<int>(value) : fallback;
}

} // namespace

const LockWait& LockWait::Process()
{
    static const LockWait wait = [] {
        LockWait settings;
        settings.Retries = EnvironmentNumber("KIBIC_JET_LOCK_RETRY", settings.Retries);
        settings.Delay = std::chrono::milliseconds(EnvironmentNumber("KIBIC_JET_LOCK_DELAY_MS", 100));
        return settings;
    }();
    return wait;
}

} // namespace jetstandin
