// The program file's own version numbers and the texts built from them (start-up window, about box).
#pragma once

#include "platform/VersionInfo.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace kibic {

// The word of the start-up window's version line.
inline constexpr QStringView VersionWord = u"wersja";

// Reads the four numbers of the program file's fixed version information: major, minor, release and
// build. False when the program carries no version information; the four numbers are then 0.
[[nodiscard]] bool ReadVersionNumbers(quint16& major, quint16& minor, quint16& release, quint16& build);

// The full path of the running program file.
[[nodiscard]] QString ExecutableName();

// A program file's name without its folder and its extension ("C:\BM\kibic.exe" gives "kibic").
[[nodiscard]] QString ProgramName(const QString& executablePath);

// The start-up window's version line: "kibic, wersja 1.0.7" (major.minor.build; the release number is
// not shown), or the name alone when the program carries no version information.
[[nodiscard]] QString SplashVersionLine(const QString& programName, const std::optional<VersionNumbers>& version);

// The two texts of the about box: the name and "wersja major.minor" on two lines, and the build line.
struct AboutLabels
{
    QString Label1;
    QString Label3;
};

[[nodiscard]] AboutLabels AboutLabelTexts(const QString& programName, const std::optional<VersionNumbers>& version);

// The version of the running program as ReadVersionNumbers gives it, nullopt without one.
[[nodiscard]] std::optional<VersionNumbers> RunningProgramVersion();

} // namespace kibic
