// Version numbers from the build (CMake's project version).
#include "platform/VersionInfo.h"

namespace kibic {

std::optional<VersionNumbers> ProgramVersion()
{
#if defined(KIBIC_VERSION_MAJOR) && defined(KIBIC_VERSION_BUILD)
    return VersionNumbers{KIBIC_VERSION_MAJOR, KIBIC_VERSION_MINOR, KIBIC_VERSION_RELEASE + 0, KIBIC_VERSION_BUILD + 0};
#else
    return std::nullopt;
#endif
}

} // namespace kibic
