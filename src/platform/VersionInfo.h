// The program's own version numbers, compiled in from the project version.
#pragma once

#include <QtGlobal>
#include <optional>

namespace kibic {

struct VersionNumbers
{
    quint16 Major = 0;
    quint16 Minor = 0;
    quint16 Release = 0;
    quint16 Build = 0;
};

// The version of the running program, or nullopt when the program carries none.
[[nodiscard]] std::optional<VersionNumbers> ProgramVersion();

} // namespace kibic
