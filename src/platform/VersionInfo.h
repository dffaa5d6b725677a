// The program's own version numbers: the version resource of the program file on Windows, the
// project's version compiled in elsewhere.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kibic {

struct VersionNumbers
{
    quint16 Major = 0;
    quint16 Minor = 0;
    quint16 Release = 0;
    quint16 Build = 0;

    friend bool operator==(const VersionNumbers&, const VersionNumbers&) = default;
};

// The version of the running program, or nullopt when the program carries none.
[[nodiscard]] std::optional<VersionNumbers> ProgramVersion();

// The fixed file version of a program file as Windows shows it in the file's properties: nullopt when
// the file has no version information, and always nullopt off Windows.
[[nodiscard]] std::optional<VersionNumbers> FileVersion(const QString& path);

// The full path of the running program file, known even before the application object exists.
[[nodiscard]] QString RunningProgramFile();

} // namespace kibic
