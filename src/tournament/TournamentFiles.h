// The files of one tournament: TournamentBase plus an extension, whatever the letter case on disk.
#pragma once

#include <QString>

namespace kibic {

// The file base + extension (extension with its dot, e.g. ".KNT"). ZyRT's files often come from Windows,
// where names ignore case: when that exact name does not exist but a file in the same folder has the same
// name with the extension in other letter case, that file is returned. Otherwise base + extension as
// given, which is the name a new file gets.
[[nodiscard]] QString TournamentFile(const QString& base, const QString& extension);

// base with everything from its last "." removed (only a dot in the file name counts, not in a folder).
[[nodiscard]] QString WithoutExtension(const QString& path);

} // namespace kibic
